// The main form's ownership and start-up work, without its window: the
// configuration store (which also holds every result), the uninstall store of
// an earlier installation, the payload archive with its resource bytes, the
// shared-memory block "ccProj" and the setup log. The window toolkit's form
// builds on this; the interim program runs it alone.
#pragma once

#include <cstdint>
#include <memory>

#include "core/key_arr.h"
#include "core/str.h"
#include "runtime/payload_loader.h"
#include "runtime/setup_log.h"

class Platform;
class SharedMemory;

// Shown on the error page when the temporary folder cannot be written.
extern const char16_t kNoRightsMessage[];

class InsForm {
 public:
  explicit InsForm(Platform& platform);
  // Tears down as Teardown does.
  ~InsForm();
  InsForm(const InsForm&) = delete;
  InsForm& operator=(const InsForm&) = delete;

  // The main initialisation: opens the payload and parses its configuration
  // (a missing payload leaves the configuration empty), opens the setup log
  // when "s.c.Var.OutLog" asks for it and writes the Windows version and the
  // directory macros to it, chooses the language ("s.c.IniLang", logged as
  // "CurLang:%s") and computes the initial results.
  void Initialize();

  // What the form does when it loads, apart from its controls: evaluates the
  // run conditions and then checks that the temporary folder can be written
  // (the rights check). Returns true when the setup may go on; false with
  // "Ret.ErrorInfo" set (a language key reference for a run condition, the
  // message kNoRightsMessage for the rights check), for the error page.
  bool CheckBeforeFirstPage();

  // Creates the 48-byte shared-memory block "ccProj" (once) and stores
  // `windowHandle` in its first 32-bit word. False when the block cannot be
  // made.
  bool PublishMainWindow(uint32_t windowHandle);

  // The language page's selection changed to list entry `index`: stores it
  // in "Ret.Lang.Ind" and, when that entry's code differs from the current
  // one, makes it the current language. Returns true when the language
  // changed (the caller then applies its texts again); false for a negative
  // index or the same code.
  bool SwitchLanguage(int index);

  // In this order: the uninstall store is deleted, the payload archive is
  // closed and its resource released, the configuration store is deleted,
  // and the setup log is closed. Safe to call twice; afterwards Config()
  // must not be used.
  void Teardown();

  cc::KeyArr& Config() { return *config_; }
  // The record of an earlier installation; null until the install driver
  // reads one.
  cc::KeyArr* UninstallStore() { return uninstall_.get(); }
  void SetUninstallStore(std::unique_ptr<cc::KeyArr> store) { uninstall_ = std::move(store); }
  LoadedPayload& Payload() { return payload_; }
  // What opening the payload reported: whether the resource was present,
  // and the status (kPayloadOk when the configuration was parsed).
  bool PayloadResourceFound() const { return payload_found_; }
  uint32_t PayloadStatus() const { return payload_status_; }
  // "en-US"; null when no language could be chosen.
  const cc::Str& CurrentLang() const { return current_lang_; }
  int CurrentPageIndex() const { return current_page_; }
  int PreviousPageIndex() const { return previous_page_; }
  // This setup's log: open from Initialize on when the project asks for
  // one, closed by Teardown.
  SetupLog& Log() { return log_; }

 private:
  void WriteStartupLog();
  void ChooseStartupLanguage();
  bool CheckTempFolderRights();

  Platform& platform_;
  std::unique_ptr<cc::KeyArr> config_;
  std::unique_ptr<cc::KeyArr> uninstall_;
  LoadedPayload payload_;
  bool payload_found_ = false;
  uint32_t payload_status_ = kPayloadNotFound;
  std::unique_ptr<SharedMemory> shared_block_;
  cc::Str current_lang_;
  int current_page_ = -1;
  int previous_page_ = -1;
  bool torn_down_ = false;
  SetupLog log_;
};
