#include "wizard/confirm_summary.h"

#include "runtime/lang_text.h"

namespace wizard {

namespace {

const char16_t kIndent[] = u"    ";
const char16_t kBreak[] = u"\r\n";

cc::Str Result(const cc::KeyArr& config, const char16_t* key) {
  cc::Str value = config.Get(key);
  return value.IsNull() ? cc::Str(u"") : value;
}

void Caption(cc::Str& text, const cc::KeyArr& config, const cc::Str& lang, const char16_t* key,
             const char16_t* fallback) {
  text.Append(GetLangTextOr(config, lang, key, fallback));
  text.Append(kBreak);
}

cc::Str MenuLine(const cc::KeyArr& config) {
  if (config.GetBool(u"Ret.Menu.Skip", false)) return u"    Skip.";
  cc::Str folder = Result(config, u"Ret.Menu.Path");
  if (folder.IsEmpty()) folder = Result(config, u"Ret.Menu.InitPath");
  if (folder.IsEmpty()) folder = u"<None>";
  return cc::Str(kIndent) + folder;
}

}  // namespace

cc::Str ConfirmSummary(const cc::KeyArr& config, const cc::Str& lang) {
  cc::Str text(u"");
  Caption(text, config, lang, u".s.i.Var.S_DESLOC", u"Destination location:");
  text.Append(kIndent).Append(Result(config, u"Ret.Location.Path")).Append(u"\r\n\r\n");

  cc::Str type = Result(config, u"Ret.Content.Text");
  if (!type.IsEmpty()) {
    Caption(text, config, lang, u".s.i.Var.S_SETTY", u"Setup type:");
    text.Append(kIndent).Append(type).Append(u"\r\n\r\n");
  }
  cc::Str components = Result(config, u"Ret.Customize.Text");
  if (!components.IsEmpty()) {
    Caption(text, config, lang, u".s.i.Var.S_SELCOMP", u"Selected components:");
    text.Append(components).Append(kBreak);
  }
  Caption(text, config, lang, u".s.i.Var.S_STARTMENUDIR", u"Start Menu folder:");
  text.Append(MenuLine(config)).Append(u"\r\n\r\n");

  Caption(text, config, lang, u".s.i.Var.S_ADDTASK", u"Additional tasks:");
  text.Append(Result(config, u"Ret.Shortcut.ShText"));
  text.Append(Result(config, u"Ret.Shortcut.AsText"));
  text.Append(Result(config, u"Ret.Shortcut.SeText"));
  text.Append(kBreak);
  return text;
}

bool ConfirmRebuildsOn(int mode) { return mode == 0 || mode == 1 || mode == -2; }

}  // namespace wizard
