// Small owners for COM: the apartment of the current thread and interface
// pointers. Only for platform/win32.
#pragma once

#include <objbase.h>

// COM for the current thread for as long as the object lives. A thread that
// has COM already keeps it as it was.
class ComScope {
 public:
  ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT result_;
};

// Releases a COM interface when it goes out of scope.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() {
    if (ptr_) ptr_->Release();
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  T* get() const { return ptr_; }
  T* operator->() const { return ptr_; }
  T** out() { return &ptr_; }
  void** out_void() { return reinterpret_cast<void**>(&ptr_); }

 private:
  T* ptr_ = nullptr;
};

// A BSTR freed when it goes out of scope.
class ComBstr {
 public:
  explicit ComBstr(const wchar_t* text = nullptr) : text_(text ? SysAllocString(text) : nullptr) {}
  ~ComBstr() { SysFreeString(text_); }
  ComBstr(const ComBstr&) = delete;
  ComBstr& operator=(const ComBstr&) = delete;
  BSTR get() const { return text_; }
  BSTR* out() { return &text_; }

 private:
  BSTR text_;
};
