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
constexpr int kBrowseButtonWidth = 80;
constexpr int kRadioWidth = 100;
constexpr int kPushButtonMargins = 16;
constexpr int kRadioMarkAndMargin = 24;

// The width of `control`'s caption in its font, without the mnemonic marks;
// 0 before its window exists.
int CaptionWidth(Control* control) {
  HWND window = control->Handle();
  if (window == nullptr) return 0;
  Str caption = control->Text();
  caption.Replace(Str(u"&&"), Str(u"\x01"));
  caption.Replace(Str(u"&"), Str(u""));
  caption.Replace(Str(u"\x01"), Str(u"&"));
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(window, WM_GETFONT, 0, 0)));
  SIZE size = {};
  GetTextExtentPoint32W(dc, Wide(caption), caption.GetLength(), &size);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return size.cx;
}

// A radio button as wide as its caption needs, never narrower than made.
void FitRadio(RadioButton* radio) {
  int needed = CaptionWidth(radio) + kRadioMarkAndMargin;
  const Bounds bounds = radio->GetBounds();
  int width = needed > kRadioWidth ? needed : kRadioWidth;
  if (width != bounds.width) radio->SetBounds(bounds.x, bounds.y, width, bounds.height);
}

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
  FitCaptions();
  labSpace_->SetVisible(HasFlag(kLocationShowSpace));
  spaceRoot_ = Str();
  return true;
}

void LocationPage::OnEnter(int) {
  FitCaptions();
  spaceRoot_ = Str();
  UpdateSpace();
}

void LocationPage::FitBrowseButton() {
  // A longer caption than the button was made for (another language) widens
  // it to the left, at the cost of the text box, instead of being cut.
  int needed = CaptionWidth(selLocation_) + kPushButtonMargins;
  const Bounds button = selLocation_->GetBounds();
  const Bounds text = textLocation_->GetBounds();
  int width = needed > kBrowseButtonWidth ? needed : kBrowseButtonWidth;
  int right = button.x + button.width;
  if (width == button.width || right - width - text.x < width) return;
  selLocation_->SetBounds(right - width, button.y, width, button.height);
  textLocation_->SetBounds(text.x, text.y, right - width - text.x, text.height);
}

void LocationPage::FitCaptions() {
  FitBrowseButton();
  FitRadio(radYes_);
  FitRadio(radNo_);
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
