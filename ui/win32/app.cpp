#include "ui/win32/app.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "core/exceptions.h"
#include "ui/win32/control.h"
#include "ui/win32/form.h"

namespace cc::win {
namespace {

App* g_app = nullptr;
constexpr wchar_t kSharedName[] = L"ccProj";
constexpr DWORD kSharedSize = 48;

int Modifiers() {
  int bits = 0;
  if (GetKeyState(VK_CONTROL) & 0x8000) bits |= kModifierCtrl;
  if (GetKeyState(VK_SHIFT) & 0x8000) bits |= kModifierShift;
  if (GetKeyState(VK_MENU) & 0x8000) bits |= kModifierAlt;
  return bits;
}

bool IsKeyMessage(UINT message) {
  return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN ||
         message == WM_SYSKEYUP || message == WM_CHAR;
}

}  // namespace

App::App() {
  if (g_app != nullptr) throw UserException(kAppTwiceError);
  tls_ = TlsAlloc();
  if (tls_ == TLS_OUT_OF_INDEXES) throw UserException(kAppTlsError);
  g_app = this;
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS | ICC_TREEVIEW_CLASSES |
                                              ICC_STANDARD_CLASSES | ICC_LINK_CLASS};
  InitCommonControlsEx(&icc);
}

App::~App() {
  try {
    if (!Control::DestroyAllWindows()) OutputDebugStringW(reinterpret_cast<const wchar_t*>(kAppDestroyError));
  } catch (const std::exception& e) {
    std::string line = "[App::~App]Exception Error:";
    line += e.what();
    OutputDebugStringA(line.c_str());
  }
  if (sharedView_ != nullptr) UnmapViewOfFile(sharedView_);
  if (shared_ != nullptr) CloseHandle(shared_);
  if (tls_ != TLS_OUT_OF_INDEXES) TlsFree(tls_);
  g_app = nullptr;
}

App* App::Current() { return g_app; }

HINSTANCE App::Module() { return GetModuleHandleW(nullptr); }

void App::PublishMainWindow(HWND window) {
  if (shared_ == nullptr) {
    shared_ = OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, kSharedName);
    if (shared_ == nullptr) {
      shared_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kSharedSize,
                                   kSharedName);
    }
    if (shared_ == nullptr) throw UserException(kAppShareMemoryError);
    sharedView_ = MapViewOfFile(shared_, FILE_MAP_ALL_ACCESS, 0, 0, kSharedSize);
    if (sharedView_ == nullptr) throw UserException(kAppShareMemoryError);
  }
  *static_cast<DWORD*>(sharedView_) = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(window));
}

DWORD App::SharedMainWindow() {
  HANDLE mapping = OpenFileMappingW(FILE_MAP_READ, FALSE, kSharedName);
  if (mapping == nullptr) return 0;
  DWORD value = 0;
  if (void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, sizeof(DWORD))) {
    value = *static_cast<DWORD*>(view);
    UnmapViewOfFile(view);
  }
  CloseHandle(mapping);
  return value;
}

int App::Run(Form* form) {
  if (running_) throw UserException(kAppRunningError);
  running_ = true;
  endRequested_ = false;
  int code = 0;
  try {
    form->CreateControl();
    PublishMainWindow(form->Handle());
    form->Show();
    MSG msg;
    while (!endRequested_ && form->Handle() != nullptr) {
      BOOL got = GetMessageW(&msg, nullptr, 0, 0);
      if (got == 0) {
        code = static_cast<int>(msg.wParam);
        break;
      }
      if (got < 0) break;
      DispatchOne(&msg);
    }
  } catch (...) {
    running_ = false;
    throw;
  }
  running_ = false;
  return code;
}

bool App::PumpPendingMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    DispatchOne(&msg);
  }
  return true;
}

void App::EndLoop() {
  endRequested_ = true;
  PostQuitMessage(0);
}

bool App::PreTranslate(MSG* msg) {
  if (!IsKeyMessage(msg->message)) return false;
  int modifiers = Modifiers();
  // The focused control first, then its ancestors up to the form: the
  // form's handler presses the Enter and Escape buttons.
  for (HWND w = msg->hwnd; w != nullptr; w = GetParent(w)) {
    if (Control* c = Control::FromHandle(w)) {
      if (c->PreTranslateKey(msg, modifiers)) return true;
    }
    if (!(GetWindowLongW(w, GWL_STYLE) & WS_CHILD)) break;
  }
  return false;
}

void App::DispatchOne(MSG* msg) {
  if (PreTranslate(msg)) return;
  TranslateMessage(msg);
  DispatchMessageW(msg);
}

}  // namespace cc::win
