#include "wizard/win32/location_page.h"

#include "platform/platform.h"
#include "platform/system_helpers.h"
#include "wizard/page_ids.h"

namespace wizard {

using cc::Str;
using namespace cc::win;

namespace {
constexpr int kTopLeftRight = kAnchorTop | kAnchorLeft | kAnchorRight;       // 13
constexpr int kTopRight = kAnchorTop | kAnchorRight;                         // 9
constexpr int kBottomLeftRight = kAnchorBottom | kAnchorLeft | kAnchorRight;  // 14
constexpr int kBottomLeft = kAnchorBottom | kAnchorLeft;                     // 6
}  // namespace

LocationPage::LocationPage(WizardContext& context, const Str& keyBase)
    : FunctionPage(kLocationPage, context, keyBase) {
  BuildControls();
}

void LocationPage::BuildControls() {
  labInfo_->SetBounds(3, 1, 595, 40);
  labLocation_ = AddControl<Label>(u"labLocation", 5, 55, 590, 17, kTopLeftRight);
  textLocation_ = AddControl<TextBox>(u"textLocation", 5, 73, 510, 17, kTopLeftRight);
  selLocation_ = AddControl<PathButton>(u"selLocation", 515, 72, 80, 19, kTopRight);
  selLocation_->SetFolderMode(Str(u"select folder:"), textLocation_);
  labEveryone_ = AddControl<Label>(u"labEveryone", 5, 500, 590, 17, kBottomLeftRight);
  radYes_ = AddControl<RadioButton>(u"radYes", 5, 518, 100, 17, kBottomLeft);
  radNo_ = AddControl<RadioButton>(u"radNo", 5, 536, 100, 17, kBottomLeft);
  radYes_->SetText(Str(u""));
  radNo_->SetText(Str(u""));
  radNo_->SetChecked(true);
  labSpace_ = AddControl<Label>(u"labSpace", 5, 558, 590, 31, kBottomLeftRight);
  selLocation_->Browsed.Add(this, &LocationPage::OnBrowsed);
  textLocation_->TextChanged.Add(this, &LocationPage::OnPathTyped);
}

Str LocationPage::Suffix() const { return ApplicationSuffix(Config(), LangCode()); }

bool LocationPage::LoadPage(int mode) {
  if (mode != kLoadCreated && mode != kLoadLanguageChanged && !LanguageChanged()) return true;
  bool ask = HasFlag(kLocationAskAllUsers);
  labEveryone_->SetVisible(ask);
  radYes_->SetVisible(ask);
  radNo_->SetVisible(ask);
  bool yes = HasFlag(kLocationAllUsersDefault);
  radYes_->SetChecked(yes);
  radNo_->SetChecked(!yes);
  // A folder the user typed survives a language switch; an untouched
  // proposal follows the language.
  text_.Edit(textLocation_->Text());
  text_.Load(ProposedFolder(Config(), Suffix()));
  textLocation_->SetText(text_.Text());
  labSpace_->SetVisible(HasFlag(kLocationShowSpace));
  spaceRoot_ = Str();
  return true;
}

void LocationPage::OnEnter(int) {
  spaceRoot_ = Str();
  UpdateSpace();
}

void LocationPage::UpdateSpace() {
  if (!labSpace_->Visible()) return;
  Str templ = GetLangText(KeyOf(u".labSpace"));
  if (!SpaceTemplateHasPlaceholders(templ)) return;
  Str root = SpaceRoot(textLocation_->Text());
  if (root.Equals(spaceRoot_)) return;
  spaceRoot_ = root;
  Str total, free;
  int64_t freeBytes = 0;
  if (GetDiskSpace(*Context().platform.system, root, true, &total, &free)) freeBytes = free.ToInt64();
  Str required = Config().Get(u"Ret.Location.Required");
  int64_t requiredBytes = required.IsNull() ? 0 : required.ToInt64();
  labSpace_->SetText(SpaceText(templ, requiredBytes, freeBytes));
}

void LocationPage::OnPathTyped(Control*, EventArgs&) { UpdateSpace(); }

void LocationPage::OnBrowsed(Control*, EventArgs&) {
  Str text = TextAfterBrowse(textLocation_->Text(), selLocation_->Path(), Suffix());
  textLocation_->SetText(text);
  UpdateSpace();
}

void LocationPage::ShowLocationError(LocationError error) {
  const char16_t* key = error == LocationError::kEmpty    ? u".editLocErrEpt"
                        : error == LocationError::kFormat ? u".editLocErrFmt"
                                                          : u".editLocErrCht";
  ShowMessage(PageText(key), GetLangText(Str(u".s.c.Var.ITitle")));
}

bool LocationPage::LeavePage(int direction) {
  if (direction != 1) return true;
  CheckedLocation checked = CheckLocation(textLocation_->Text(), Suffix());
  if (checked.error != LocationError::kNone) {
    ShowLocationError(checked.error);
    textLocation_->Focus();
    return false;
  }
  StoreLocation(Config(), Flags(), checked.path, radYes_->Checked());
  return true;
}

}  // namespace wizard
