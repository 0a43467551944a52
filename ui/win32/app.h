// cc::win::App: the one application object of a process. It owns the
// message loop, publishes the main window in the shared block "ccProj" and
// destroys the windows that are left when it goes. Windows flavour only.
#pragma once

#include <windows.h>

#include "core/object.h"

namespace cc::win {

class Form;

inline constexpr const char16_t kAppTwiceError[] =
    u"App::App, ERROR! An instance of App (or a class derrived from App) is already running";
inline constexpr const char16_t kAppTlsError[] = u"App::App, Failed to allocate TLS Index";
inline constexpr const char16_t kAppShareMemoryError[] =
    u"App::GetShareMemory(), ERROR for CreateFileMapping";
inline constexpr const char16_t kAppRunningError[] = u"[App::Run(Form* form)]Window is running.";
inline constexpr const char16_t kAppDestroyError[] =
    u"[App::~App]ERROR! while DestroyWindow all windows.";
inline constexpr const char16_t kAppDestroyExceptionFormat[] = u"[App::~App]Exception Error:%s";

class App : public Object {
 public:
  // Throws cc::UserException with kAppTwiceError when another App lives,
  // kAppTlsError when no thread-local slot is left.
  App();
  // Destroys every toolkit window still open.
  ~App() override;
  App(const App&) = delete;
  App& operator=(const App&) = delete;
  const char16_t* ClassName() const override { return u"App"; }

  // The living application object, or nullptr.
  static App* Current();
  static HINSTANCE Module();

  // Creates and shows `form`, stores its handle in "ccProj" and pumps
  // messages until the form has closed or EndLoop was called. Returns the
  // quit message's code (0 when the form closed). Throws cc::UserException
  // with kAppRunningError when a loop is already running, and with
  // kAppShareMemoryError when the shared block cannot be made.
  int Run(Form* form);

  // Handles every message already queued and returns; a quit message met
  // here is posted again so that the main loop still ends. Returns false
  // when it met one.
  bool PumpPendingMessages();

  // Asks the running loop to end (posts a quit message).
  void EndLoop();
  bool LoopRunning() const { return running_; }
  bool EndRequested() const { return endRequested_; }

  // Offers a key message to the focused control, the active form and then
  // each ancestor's control; true when one of them consumed it.
  static bool PreTranslate(MSG* msg);

  // One message of the loop: pre-translation, else translate and dispatch.
  static void DispatchOne(MSG* msg);

  // The first word of "ccProj" (the main window handle), 0 when unset.
  static DWORD SharedMainWindow();

 private:
  void PublishMainWindow(HWND window);

  DWORD tls_ = TLS_OUT_OF_INDEXES;
  HANDLE shared_ = nullptr;
  void* sharedView_ = nullptr;
  bool running_ = false;
  bool endRequested_ = false;
};

}  // namespace cc::win
