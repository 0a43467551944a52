#include "install/status.h"

#include "platform/progress.h"
#include "runtime/setup_log.h"

void ShowStatus(Progress& progress, const cc::Str& text) {
  progress.SetStatus(text);
  progress.PumpMessages();
}

void ShowDetail(Progress& progress, const cc::Str& text) {
  progress.SetDetail(text);
  progress.PumpMessages();
}

void ShowStatusLine(Progress& progress, SetupLog& log, const cc::Str& line) {
  progress.AddStatusLine(line);
  cc::Str logged = line;
  if (logged.EndsWith(u"\r\n")) logged = logged.Substring(0, logged.GetLength() - 2);
  log.Write(logged);
  progress.PumpMessages();
}
