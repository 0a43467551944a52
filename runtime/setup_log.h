// The setup log: one text file beside the program (its full path + ".log"),
// UTF-16 little-endian without a byte-order mark, one "\r\n"-terminated line
// per event, flushed after every line so that nothing is lost when the
// program ends abruptly. It is written only when the project asks for it
// ("s.c.Var.OutLog"); every write while it is not open is ignored.
#pragma once

#include <memory>
#include <type_traits>

#include "core/str.h"

class File;
class FileSystem;
class OsErrorSource;
class Platform;
class ProcessServices;

// One log file. The process-wide log below is one of these; tests may make
// their own.
class SetupLog {
 public:
  SetupLog();
  ~SetupLog();
  SetupLog(const SetupLog&) = delete;
  SetupLog& operator=(const SetupLog&) = delete;

  // Creates the file at `path`, or empties an earlier one (an earlier,
  // longer log would otherwise keep its tail). Only the first call does
  // anything: a log that was opened once, even if closed since, stays as it
  // is. Returns whether the log is open afterwards; a file that cannot be
  // opened leaves the log closed, without an error. `process` (may be null)
  // provides the wait on closing.
  bool Open(FileSystem& files, ProcessServices* process, const cc::Str& path);
  // Writes `text` and "\r\n" and flushes. Does nothing unless open.
  void Write(const cc::Str& text);
  // Marks the log closed first (later writes are ignored), waits 100 ms and
  // then closes the file. Does nothing unless open.
  void Close();
  bool IsOpen() const { return state_ == State::kOpen; }
  // Closes without the wait and returns to the never-opened state.
  void Reset();

 private:
  enum class State { kNeverOpened, kOpen, kClosed };
  State state_ = State::kNeverOpened;
  std::unique_ptr<File> file_;
  ProcessServices* process_ = nullptr;
};

// The process-wide log.
SetupLog& ProcessSetupLog();

// Opens the process-wide log at the program's path + ".log". Returns whether
// it is open afterwards. Needs platform.system and platform.files.
bool OpenSetupLog(Platform& platform);

// Writes `text` as one line, without interpreting "%" in it.
void LogText(const cc::Str& text);

// Writes why the last failed call of `source` failed, as the system says it
// ("OS error: <text> (error <code>): <object>"), then forgets it so that a
// later failure cannot repeat it. Writes nothing when no failure is
// recorded.
void LogOsError(OsErrorSource& source);

// Closes the process-wide log (see SetupLog::Close).
void CloseSetupLog();

// For tests that run several start-ups in one process: closes the
// process-wide log without the wait and makes it never-opened again.
void ResetSetupLogForTesting();

// Writes one line formatted printf-style (cc::Str::Format conversions; a
// cc::Str argument is passed as its text for "%s"). A line that formats to
// nothing writes nothing.
template <typename... Args>
void LogLine(const char16_t* format, const Args&... args);

// ---------------------------------------------------------------------------

namespace setup_log_detail {
template <typename T>
auto FormatArgument(const T& value) {
  if constexpr (std::is_same_v<T, cc::Str>) {
    return value.GetBuffer();
  } else {
    return value;
  }
}
void WriteFormatted(const cc::Str& line);
}  // namespace setup_log_detail

template <typename... Args>
void LogLine(const char16_t* format, const Args&... args) {
  if (!ProcessSetupLog().IsOpen()) return;
  setup_log_detail::WriteFormatted(cc::Str::Formatted(format, setup_log_detail::FormatArgument(args)...));
}
