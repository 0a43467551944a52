#include "uninstall/uninstall_run.h"

#include <algorithm>

#include "install/install_session.h"
#include "install/page_text.h"
#include "platform/file_helpers.h"
#include "platform/platform.h"
#include "platform/process.h"
#include "platform/progress.h"

UninstallRun::UninstallRun(InstallSession& session, const cc::KeyArr& record, int askShared)
    : session(session),
      platform(session.platform),
      progress(*session.platform.progress),
      log(session.log),
      record(record),
      ask_shared(askShared != 0) {}

void UninstallRun::BeginItem() {
  ++begun;
  progress.SetBar(static_cast<int>(begun * 100 / total));
}

void UninstallRun::Show(const cc::Str& status, const cc::Str& detail) {
  progress.SetStatus(status);
  progress.SetDetail(detail);
  progress.PumpMessages();
}

void UninstallRun::Pump() { progress.PumpMessages(); }

void UninstallRun::Wait(int ms) { platform.process->Sleep(ms); }

void UninstallRun::DeleteListedFile(const cc::Str& path) {
  if (IsFullPath(path)) DeleteFileForced(*platform.files, path);
}

cc::Str UninstallRun::Text(const char16_t* format, int index) const {
  cc::Str value = record.Get(cc::Str::Formatted(format, index));
  return value.IsNull() ? cc::Str(u"") : value;
}

int UninstallRun::Number(const char16_t* format, int index, int fallback) const {
  return record.GetInt(cc::Str::Formatted(format, index), fallback);
}

int UninstallRun::Fail(int result, const cc::Str& path) {
  session.store.Set(u"Ret.ErrorInfo", ErrorText(session.store, u".s.c.Var.RemoveFileError", path));
  return result;
}

int RecordCount(const cc::KeyArr& record, const char16_t* countKey) {
  return std::clamp(record.GetInt(countKey, 0), 0, record.Count());
}

bool IsPlainFileName(const cc::Str& name) {
  if (name.IsEmpty() || name == cc::Str(u".") || name == cc::Str(u"..")) return false;
  for (char16_t c : name.View()) {
    if (c == u'\\' || c == u'/' || c == u':' || c == u'*' || c == u'?' || c < 0x20) return false;
  }
  return true;
}
