#include "wizard/choice_log.h"

#include "runtime/setup_log.h"

namespace wizard {

void LogChoiceResults(SetupLog& log, const cc::KeyArr& config, std::initializer_list<const char16_t*> prefixes) {
  if (!log.IsOpen()) return;
  for (int i = 0; i < config.Count(); ++i) {
    cc::Str key = config.KeyAt(i);
    bool wanted = false;
    for (const char16_t* prefix : prefixes) wanted = wanted || key.StartsWith(cc::Str(prefix), true);
    if (!wanted) continue;
    cc::Str value = config.ValueAt(i);
    if (value.IndexOf(u'\n') >= 0 || value.IndexOf(u'\r') >= 0) continue;
    log.Write(key + cc::Str(u"=") + value);
  }
}

}  // namespace wizard
