#include "wizard/close_decision.h"

#include "runtime/lang_text.h"
#include "wizard/page_ids.h"

namespace wizard {

namespace {

CloseOutcome AskExit(const cc::KeyArr& config, const cc::Str& lang, const cc::Str& title,
                     const AskYesNo& ask) {
  cc::Str text = GetLangTextOr(config, lang, u".s.i.Var.ExitInsing",
                               u"Setup is not complete. Exit Setup?");
  CloseOutcome outcome;
  outcome.closes = ask(title, text);
  return outcome;
}

CloseOutcome CloseInstalling(cc::KeyArr& config, const cc::Str& lang, const cc::Str& title,
                             const AskYesNo& ask) {
  CloseOutcome outcome;
  if (config.GetBool(u"Ret.CancelEnd", false)) return AskExit(config, lang, title, ask);
  if (config.GetBool(u"Ret.Canceled", false)) {
    outcome.closes = true;
    return outcome;
  }
  // A second request while the driver is still stopping is refused quietly.
  if (config.GetBool(u"Ret.Canceling", false)) return outcome;
  cc::Str text = GetLangTextOr(config, lang, u".s.i.Var.CancelInsing", u"Cancel installing?");
  if (ask(title, text)) {
    config.SetBool(u"Ret.Canceling", true);
    outcome.cancelRequested = true;
  }
  return outcome;
}

}  // namespace

CloseOutcome DecideClose(cc::KeyArr& config, const CloseState& state, const AskYesNo& ask) {
  CloseOutcome outcome;
  if (state.errorState || state.currentPage < 0) {
    outcome.closes = true;
    return outcome;
  }
  // The installation is over on the finish page: closing it is finishing,
  // not abandoning an incomplete setup.
  if (state.currentPage == kFinishPage) {
    outcome.closes = true;
    outcome.finishes = true;
    return outcome;
  }
  cc::Str lang = CurrentLanguage(config);
  cc::Str title = GetLangTextOr(config, lang, u".s.c.Var.QTitle", u"Question");
  if (state.currentPage == kInsingPage) return CloseInstalling(config, lang, title, ask);
  return AskExit(config, lang, title, ask);
}

}  // namespace wizard
