// IEControl: hosts the platform's web-browser control in a toolkit window
// ("ccIE") through a client site, an in-place site and frame, and an event
// sink. Until the browser reports the page as loaded, and whenever it
// cannot be made or the page fails, the control shows a text and the
// address as a link instead, so a missing browser engine never leaves an
// empty or hanging page. Windows flavour only.
#pragma once

#include "core/str.h"
#include "ui/win32/common_controls.h"
#include "ui/win32/link_opener.h"

struct IOleObject;
struct IWebBrowser2;

namespace cc::win {

// The text shown above the address while the page itself is not shown.
inline constexpr const char16_t kNoBrowserText[] =
    u"This page cannot be shown here. You can open it in your web browser:";

class BrowserSite;

class IEControl : public Control {
 public:
  IEControl();
  ~IEControl() override;
  const char16_t* ClassName() const override { return u"IEControl"; }

  // Opens `url` (the fallback shows it as a link until the page is
  // loaded). An empty address shows an empty page. Returns false when no
  // browser is there to open it (the fallback stays).
  bool Navigate(const Str& url);
  // Suppresses the browser's script-error and other dialogs.
  void SetSilent(bool silent);
  // True when a browser control is hosted.
  bool HasBrowser() const { return browser_ != nullptr; }
  // True while the fallback text and link are shown instead of the page.
  bool ShowingFallback() const;

  // The installed application's folder for the fallback link's policy, and
  // where its outcome is logged.
  void SetAppFolder(std::function<Str()> folder) { appFolder_ = std::move(folder); }
  void SetLogger(LinkLogger log) { log_ = std::move(log); }
  // Replaces how an allowed address is opened (the shell's "open" verb).
  void SetOpener(LinkOpener opener) { opener_ = std::move(opener); }

  // Called by the event sink.
  void OnDocumentComplete(const Str& url);
  void OnNavigateError();

 protected:
  const wchar_t* WindowClass() const override { return L"ccIE"; }
  void OnCreated() override;
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // True where making the browser would not show a page (under Wine
  // without its browser engine, whose absence brings up an installer).
  virtual bool BrowserEngineMissing() const;

 private:
  bool CreateBrowser();
  void DestroyBrowser();
  void PlaceBrowser();
  void ShowFallback(bool show);
  void OnAddressClick(Control* sender, EventArgs& args);

  Label* labNoBrowser_ = nullptr;
  LabelLink* linkUrl_ = nullptr;
  BrowserSite* site_ = nullptr;
  ::IOleObject* object_ = nullptr;
  ::IWebBrowser2* browser_ = nullptr;
  unsigned long adviseCookie_ = 0;
  bool oleInitialized_ = false;
  bool silent_ = true;
  bool failed_ = false;
  Str url_;
  std::function<Str()> appFolder_;
  LinkLogger log_;
  LinkOpener opener_;
};

}  // namespace cc::win
