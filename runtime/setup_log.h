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

// One setup's log. The session that runs a setup owns it (runtime/ins_form.h)
// and hands it to the code that writes to it, so two sessions in one
// process never write into each other's file. A log that is never opened
// takes every write and keeps nothing.
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
  // Opens the log at the program's path + ".log" (see Open). Returns whether
  // it is open afterwards; false also when the program's path is unknown.
  bool OpenBesideProgram(Platform& platform);
  // Writes `text` and "\r\n" and flushes, without interpreting "%" in it.
  // Does nothing unless open.
  void Write(const cc::Str& text);
  // Writes one line formatted printf-style (cc::Str::Format conversions; a
  // cc::Str argument is passed as its text for "%s"). A line that formats to
  // nothing writes nothing; nothing is formatted unless the log is open.
  template <typename... Args>
  void Line(const char16_t* format, const Args&... args);
  // Writes why the last failed call of `source` failed, as the system says
  // it ("OS error: <text> (error <code>): <object>"), then forgets it so
  // that a later failure cannot repeat it. Writes nothing when no failure is
  // recorded (the failure is forgotten all the same).
  void WriteOsError(OsErrorSource& source);
  // Marks the log closed first (later writes are ignored), waits 100 ms and
  // then closes the file. Does nothing unless open.
  void Close();
  bool IsOpen() const { return state_ == State::kOpen; }

 private:
  enum class State { kNeverOpened, kOpen, kClosed };
  void WriteFormatted(const cc::Str& line);

  State state_ = State::kNeverOpened;
  std::unique_ptr<File> file_;
  ProcessServices* process_ = nullptr;
};

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
}  // namespace setup_log_detail

template <typename... Args>
void SetupLog::Line(const char16_t* format, const Args&... args) {
  if (!IsOpen()) return;
  WriteFormatted(cc::Str::Formatted(format, setup_log_detail::FormatArgument(args)...));
}
