#include "ui/win32/ie_control.h"

#include <exdisp.h>
#include <exdispid.h>
#include <ole2.h>
#include <oleidl.h>

#include <string>

namespace cc::win {

// The browser's host: client site, in-place site and frame, and the sink
// of its events, in one object owned by the control (reference counted for
// the browser's sake; the control drops its reference when it closes the
// browser).
class BrowserSite final : public IOleClientSite,
                          public IOleInPlaceSite,
                          public IOleInPlaceFrame,
                          public IDispatch {
 public:
  explicit BrowserSite(IEControl* owner) : owner_(owner) {}
  virtual ~BrowserSite() = default;
  void Detach() { owner_ = nullptr; }

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IOleClientSite) {
      *out = static_cast<IOleClientSite*>(this);
    } else if (iid == IID_IOleInPlaceSite || iid == IID_IOleWindow) {
      *out = static_cast<IOleInPlaceSite*>(this);
    } else if (iid == IID_IOleInPlaceFrame || iid == IID_IOleInPlaceUIWindow) {
      *out = static_cast<IOleInPlaceFrame*>(this);
    } else if (iid == IID_IDispatch || iid == DIID_DWebBrowserEvents2) {
      *out = static_cast<IDispatch*>(this);
    } else {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
  STDMETHODIMP_(ULONG) Release() override {
    ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  // IOleClientSite
  STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  STDMETHODIMP GetContainer(IOleContainer** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow (shared by the in-place site and the frame)
  STDMETHODIMP GetWindow(HWND* window) override {
    *window = owner_ != nullptr ? owner_->Handle() : nullptr;
    return *window != nullptr ? S_OK : E_FAIL;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IOleInPlaceSite
  STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnUIActivate() override { return S_OK; }
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                LPRECT clip, LPOLEINPLACEFRAMEINFO info) override {
    *frame = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    *document = nullptr;
    HWND window = owner_ != nullptr ? owner_->Handle() : nullptr;
    GetClientRect(window, position);
    *clip = *position;
    info->fMDIApp = FALSE;
    info->hwndFrame = window != nullptr ? GetAncestor(window, GA_ROOT) : nullptr;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
  }
  STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
  STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
  STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
  STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
  STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

  // IOleInPlaceUIWindow / IOleInPlaceFrame: no menus, tool bars or borders.
  STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
  STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
  STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return S_OK; }
  STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  STDMETHODIMP RemoveMenus(HMENU) override { return S_OK; }
  STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
  STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
  STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

  // IDispatch: the browser's events
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override {
    if (owner_ == nullptr) return S_OK;
    switch (id) {
      case DISPID_DOCUMENTCOMPLETE:
        // Arguments arrive last first: (URL, pDisp).
        if (params != nullptr && params->cArgs >= 2) owner_->OnDocumentComplete(UrlOf(params->rgvarg[0]));
        break;
      case DISPID_NAVIGATEERROR:
        owner_->OnNavigateError();
        break;
      case DISPID_NEWWINDOW2:
      case DISPID_NEWWINDOW3:
        // A page may not open windows of its own over the setup.
        if (params != nullptr && params->cArgs >= 2) {
          VARIANT& cancel = params->rgvarg[params->cArgs - 2];
          if (cancel.vt == (VT_BYREF | VT_BOOL)) *cancel.pboolVal = VARIANT_TRUE;
        }
        break;
      default:
        break;
    }
    return S_OK;
  }

 private:
  static Str UrlOf(const VARIANT& value) {
    const VARIANT* v = &value;
    if (v->vt == (VT_BYREF | VT_VARIANT) && v->pvarVal != nullptr) v = v->pvarVal;
    if (v->vt != VT_BSTR || v->bstrVal == nullptr) return Str(u"");
    return Str(reinterpret_cast<const char16_t*>(v->bstrVal));
  }

  IEControl* owner_;
  ULONG references_ = 1;
};

namespace {

constexpr int kFallbackMargin = 4;

bool IsBlankPage(const Str& url) { return url.IsEmpty() || url.StartsWith(u"about:", true); }

}  // namespace

// Wine's browser engine is a separate download; without it, making the
// browser would ask to install it in a modal window. The page shows the
// fallback instead.
bool IEControl::BrowserEngineMissing() const {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  if (ntdll == nullptr || GetProcAddress(ntdll, "wine_get_version") == nullptr) return false;
  wchar_t folder[MAX_PATH];
  UINT length = GetSystemWindowsDirectoryW(folder, MAX_PATH);
  if (length == 0 || length > MAX_PATH - 20) return true;
  std::wstring engine(folder);
  DWORD system = GetFileAttributesW((engine + L"\\system32\\gecko").c_str());
  DWORD wow = GetFileAttributesW((engine + L"\\syswow64\\gecko").c_str());
  return system == INVALID_FILE_ATTRIBUTES && wow == INVALID_FILE_ATTRIBUTES;
}

IEControl::IEControl() {
  auto label = std::make_unique<Label>();
  label->SetName(Str(u"labNoBrowser"));
  label->SetText(Str(kNoBrowserText));
  label->ModifyStyle(kStylePaint, 0, kPaintTransparent);
  label->SetAnchor(kAnchorTop | kAnchorLeft | kAnchorRight);
  labNoBrowser_ = Add(std::move(label));
  auto link = std::make_unique<LabelLink>();
  link->SetName(Str(u"linkUrl"));
  link->SetText(Str(u""));
  link->ModifyStyle(kStylePaint, 0, kPaintTransparent);
  link->SetAnchor(kAnchorTop | kAnchorLeft | kAnchorRight);
  linkUrl_ = Add(std::move(link));
  linkUrl_->Click.Add(this, &IEControl::OnAddressClick);
  ShowFallback(true);
}

IEControl::~IEControl() {
  linkUrl_->Click.Remove(this);
  DestroyBrowser();
}

void IEControl::OnCreated() {
  RECT r;
  GetClientRect(hwnd_, &r);
  labNoBrowser_->SetBounds(kFallbackMargin, kFallbackMargin, r.right - 2 * kFallbackMargin, 34);
  linkUrl_->SetBounds(kFallbackMargin, kFallbackMargin + 38, r.right - 2 * kFallbackMargin, 17);
  if (!BrowserEngineMissing()) CreateBrowser();
  // A new browser starts on the blank page, or on an address given before
  // the window existed.
  Navigate(url_);
}

bool IEControl::CreateBrowser() {
  HRESULT init = OleInitialize(nullptr);
  oleInitialized_ = SUCCEEDED(init);
  if (!oleInitialized_) return false;
  if (FAILED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                              reinterpret_cast<void**>(&object_)))) {
    object_ = nullptr;
    return false;
  }
  site_ = new BrowserSite(this);
  object_->SetClientSite(site_);
  OleSetContainedObject(object_, TRUE);
  RECT r;
  GetClientRect(hwnd_, &r);
  if (FAILED(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_, 0, hwnd_, &r)) ||
      FAILED(object_->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser_)))) {
    browser_ = nullptr;
    DestroyBrowser();
    return false;
  }
  browser_->put_Silent(silent_ ? VARIANT_TRUE : VARIANT_FALSE);
  IConnectionPointContainer* container = nullptr;
  if (SUCCEEDED(browser_->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container)))) {
    IConnectionPoint* point = nullptr;
    if (SUCCEEDED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, &point))) {
      point->Advise(static_cast<IDispatch*>(site_), &adviseCookie_);
      point->Release();
    }
    container->Release();
  }
  PlaceBrowser();
  ShowFallback(true);
  return true;
}

void IEControl::DestroyBrowser() {
  if (browser_ != nullptr && adviseCookie_ != 0) {
    IConnectionPointContainer* container = nullptr;
    if (SUCCEEDED(browser_->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container)))) {
      IConnectionPoint* point = nullptr;
      if (SUCCEEDED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, &point))) {
        point->Unadvise(adviseCookie_);
        point->Release();
      }
      container->Release();
    }
    adviseCookie_ = 0;
  }
  if (browser_ != nullptr) {
    browser_->Release();
    browser_ = nullptr;
  }
  if (object_ != nullptr) {
    object_->Close(OLECLOSE_NOSAVE);
    object_->SetClientSite(nullptr);
    object_->Release();
    object_ = nullptr;
  }
  if (site_ != nullptr) {
    site_->Detach();
    site_->Release();
    site_ = nullptr;
  }
  if (oleInitialized_) {
    OleUninitialize();
    oleInitialized_ = false;
  }
}

// The browser's own window fills the control.
void IEControl::PlaceBrowser() {
  if (object_ == nullptr) return;
  IOleInPlaceObject* inPlace = nullptr;
  if (FAILED(object_->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace)))) return;
  RECT r;
  GetClientRect(hwnd_, &r);
  inPlace->SetObjectRects(&r, &r);
  inPlace->Release();
}

void IEControl::ShowFallback(bool show) {
  labNoBrowser_->SetVisible(show && !IsBlankPage(url_));
  linkUrl_->SetVisible(show && !IsBlankPage(url_));
  if (object_ == nullptr || !Created()) return;
  IOleInPlaceObject* inPlace = nullptr;
  if (FAILED(object_->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace)))) return;
  HWND window = nullptr;
  if (SUCCEEDED(inPlace->GetWindow(&window)) && window != nullptr) {
    ShowWindow(window, show ? SW_HIDE : SW_SHOW);
  }
  inPlace->Release();
}

bool IEControl::ShowingFallback() const { return labNoBrowser_->Visible(); }

bool IEControl::Navigate(const Str& url) {
  url_ = url.IsNull() ? Str(u"") : url;
  failed_ = false;
  linkUrl_->SetText(url_);
  ShowFallback(true);
  if (browser_ == nullptr) return false;
  BSTR address = SysAllocString(IsBlankPage(url_) ? L"about:blank" : Wide(url_));
  HRESULT result = browser_->Navigate(address, nullptr, nullptr, nullptr, nullptr);
  SysFreeString(address);
  if (FAILED(result)) failed_ = true;
  return SUCCEEDED(result);
}

void IEControl::SetSilent(bool silent) {
  silent_ = silent;
  if (browser_ != nullptr) browser_->put_Silent(silent ? VARIANT_TRUE : VARIANT_FALSE);
}

void IEControl::OnDocumentComplete(const Str& url) {
  // The blank page the control starts on is not the page asked for; a
  // failed navigation's error page is not either.
  if (failed_ || (IsBlankPage(url) && !IsBlankPage(url_))) return;
  ShowFallback(false);
}

void IEControl::OnNavigateError() {
  failed_ = true;
  ShowFallback(true);
}

void IEControl::OnAddressClick(Control*, EventArgs&) {
  OpenLink(url_, appFolder_ ? appFolder_() : Str(u""), opener_, log_);
}

LRESULT IEControl::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SIZE) {
    LRESULT result = Control::WndProc(message, wParam, lParam);
    PlaceBrowser();
    return result;
  }
  if (message == WM_DESTROY) DestroyBrowser();
  return Control::WndProc(message, wParam, lParam);
}

}  // namespace cc::win
