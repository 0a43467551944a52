// For the uninstall engine's tests: an install world (fake platform,
// configuration with English texts) with the uninstall's own texts, and
// records built through the real record file form.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/key_arr.h"
#include "install/install_test_support.h"
#include "install/uninstall_record.h"

namespace uninstall_test {

using install_test::InstallWorld;

// The texts DoUninstall and the shared-file question look up.
inline void AddUninstallTexts(cc::KeyArr& store) {
  const std::pair<const char16_t*, const char16_t*> texts[] = {
      {u"en-US.s.c.Var.RemoveFileRetry", u"Cannot remove the file:"},
      {u"en-US.s.c.Var.RemoveFileError", u"The file was not removed:"},
      {u"en-US.s.c.Var.RemovesysInfo", u"Remove the shared file?"},
      {u"en-US.s.c.Var.O_Remove", u"Remove"},
      {u"en-US.s.c.Var.O_RemoveAll", u"Remove all"},
  };
  for (const auto& [key, value] : texts) store.Set(key, value);
}

// Record lines as the install writes them ("File?=", value).
using Lines = std::vector<std::pair<const char16_t*, cc::Str>>;

// The record text of `lines` after "[Log]", "AppDir=" and "AppName=".
inline std::string RecordUtf8(const Lines& lines, const cc::Str& appFolder = install_test::kAppFolder,
                              const cc::Str& appName = u"Demo App") {
  RecordText text;
  text.Start(appFolder, appName);
  for (const auto& [key, value] : lines) text.AddLine(key, value);
  return text.Utf8();
}

// The record of `lines` as DoUninstall gets it: written in the file form
// and read back.
inline cc::KeyArr RecordOf(const Lines& lines) {
  cc::KeyArr record(false, true);
  EXPECT_TRUE(DecodeRecordFile(EncodeRecordFile(RecordUtf8(lines)), &record));
  return record;
}

}  // namespace uninstall_test
