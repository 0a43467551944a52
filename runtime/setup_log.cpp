#include "runtime/setup_log.h"

#include <string>

#include "core/code_page.h"
#include "platform/file_system.h"
#include "platform/os_error.h"
#include "platform/platform.h"
#include "platform/process.h"
#include "platform/system_helpers.h"

namespace {

// Gives a last line written just before the end time to reach the file
// before it is closed.
constexpr int kCloseWaitMs = 100;

}  // namespace

SetupLog::SetupLog() = default;
SetupLog::~SetupLog() = default;

bool SetupLog::Open(FileSystem& files, ProcessServices* process, const cc::Str& path) {
  if (state_ != State::kNeverOpened) return IsOpen();
  if (path.IsEmpty()) return false;
  file_ = files.Open(path, OpenMode::kCreate);
  if (!file_) return false;
  process_ = process;
  state_ = State::kOpen;
  return true;
}

void SetupLog::Write(const cc::Str& text) {
  if (state_ != State::kOpen) return;
  std::string bytes = cc::TextToUtf16Bytes(text.View(), false);
  bytes += cc::TextToUtf16Bytes(u"\r\n", false);
  file_->Write(bytes.data(), static_cast<int>(bytes.size()));
  file_->Flush();
}

void SetupLog::Close() {
  if (state_ != State::kOpen) return;
  state_ = State::kClosed;
  if (process_) process_->Sleep(kCloseWaitMs);
  file_->Close();
  file_.reset();
}

bool SetupLog::OpenBesideProgram(Platform& platform) {
  cc::Str program = GetModulePath(*platform.system, false);
  if (program.IsEmpty()) return false;
  return Open(*platform.files, platform.process, program + cc::Str(u".log"));
}

void SetupLog::WriteOsError(OsErrorSource& source) {
  const cc::Str reason = DescribeOsError(source.LastError());
  if (!reason.IsEmpty()) Write(cc::Str(u"OS error: ") + reason);
  source.ClearLastError();
}

void SetupLog::WriteFormatted(const cc::Str& line) {
  if (!line.IsEmpty()) Write(line);
}
