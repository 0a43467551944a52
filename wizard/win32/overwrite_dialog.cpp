#include "wizard/win32/overwrite_dialog.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "wizard/path_lines.h"

namespace wizard {

using cc::Str;

namespace {

constexpr char16_t kParagraph[] = u"\r\n\r\n";
// Room around a button's label, and the least distance of the row from
// the window's left edge.
constexpr int kButtonTextPadding = 14;
constexpr int kDialogMinimumMargin = 10;

// Width and left edge (from the right) of the six buttons at 620 pixels.
constexpr int kOverwriteWidths[kOverwriteButtonCount] = {95, 95, 75, 85, 95, 85};
constexpr int kOverwriteFromRight[kOverwriteButtonCount] = {570, 470, 370, 290, 200, 100};

// The explanation before the path when the message is explanation, blank
// line, path; else the whole message.
Str Explanation(const OverwriteQuestion& question) {
  Str tail = Str(kParagraph) + question.target;
  if (!question.target.IsEmpty() && question.message.EndsWith(tail)) {
    return question.message.Substring(0, question.message.GetLength() - tail.GetLength());
  }
  return Str();
}

}  // namespace

OverwriteDlg::OverwriteDlg(const OverwriteQuestion& question, int clientWidth)
    : question_(question), width_(clientWidth) {
  SetName(Str(u"OverwriteDlg"));
  SetText(question.caption.IsNull() ? Str(u"") : question.caption);
  SetClientSize(clientWidth, kDialogButtonTop + kDialogBottomMargin);
  auto label = std::make_unique<cc::win::Label>();
  label->SetName(Str(u"labMsg"));
  // Paths may hold "&", which must not turn into an underlined letter.
  label->ModifyStyle(cc::win::kStyleWindow, 0, SS_NOPREFIX);
  label->SetBounds(kDialogLabelLeft, kDialogLabelTop, clientWidth - kDialogLabelLeft - 20, kDialogLabelHeight);
  label->SetText(question.message.IsNull() ? Str(u"") : question.message);
  labMsg_ = Add(std::move(label));
  for (int i = 0; i < kOverwriteButtonCount; ++i) {
    auto button = std::make_unique<cc::win::Button>();
    button->SetName(Str::Formatted(u"%d", i + 1));
    button->SetText(question.buttons[i].IsNull() ? Str(u"") : question.buttons[i]);
    button->SetVisible(!question.buttons[i].IsNull());
    button->Click.Add(this, &OverwriteDlg::OnButtonClick);
    buttons_[i] = Add(std::move(button));
  }
  ButtonPlace places[kOverwriteButtonCount];
  for (int i = 0; i < kOverwriteButtonCount; ++i) places[i] = {kOverwriteWidths[i], kOverwriteFromRight[i]};
  PlaceButtons(places);
  SetEscapeButton(buttons_[kOverwriteCancel]);
  SetCloseBoxEnabled(false);
  Closing.Add(this, &OverwriteDlg::OnClosingDialog);
}

void OverwriteDlg::PlaceButtons(const ButtonPlace (&places)[kOverwriteButtonCount]) {
  for (int i = 0; i < kOverwriteButtonCount; ++i) {
    buttons_[i]->SetBounds(width_ - places[i].fromRight, kDialogButtonTop, places[i].width, kDialogButtonHeight);
  }
}

void OverwriteDlg::OnCreated() {
  Dialog::OnCreated();
  FitButtons();
  FitMessage();
}

// Labels wider than their buttons (longer translations) widen the buttons
// from the right end of the row leftwards; a row that would then leave the
// window on the left widens the window.
void OverwriteDlg::FitButtons() {
  std::vector<int> shown;
  for (int i = 0; i < kOverwriteButtonCount; ++i) {
    if (buttons_[i]->Visible() && buttons_[i]->Created()) shown.push_back(i);
  }
  if (shown.empty()) return;
  HWND first = buttons_[shown.front()]->Handle();
  HDC dc = GetDC(first);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(first, WM_GETFONT, 0, 0)));
  std::vector<cc::win::Bounds> placed;
  for (int i : shown) placed.push_back(buttons_[i]->GetBounds());
  std::vector<int> lefts(shown.size()), widths(shown.size());
  int right = placed.back().x + placed.back().width;
  for (size_t k = shown.size(); k-- > 0;) {
    Str text = buttons_[shown[k]]->Text();
    RECT r = {0, 0, 0, 0};
    DrawTextW(dc, cc::win::Wide(text), -1, &r, DT_CALCRECT | DT_SINGLELINE);
    widths[k] = std::max<int>(placed[k].width, r.right + kButtonTextPadding);
    if (k + 1 < shown.size()) {
      int gap = placed[k + 1].x - (placed[k].x + placed[k].width);
      right = lefts[k + 1] - gap;
    }
    lefts[k] = right - widths[k];
  }
  SelectObject(dc, old);
  ReleaseDC(first, dc);
  int shift = std::max(0, kDialogMinimumMargin - lefts.front());
  for (size_t k = 0; k < shown.size(); ++k) {
    buttons_[shown[k]]->SetBounds(lefts[k] + shift, kDialogButtonTop, widths[k], kDialogButtonHeight);
  }
  if (shift == 0) return;
  width_ += shift;
  SetClientSize(width_, kDialogButtonTop + kDialogBottomMargin);
  labMsg_->SetBounds(kDialogLabelLeft, kDialogLabelTop, width_ - kDialogLabelLeft - 20, kDialogLabelHeight);
  CenterOver(owner_);
}

// The keyboard starts on the first button, as in a message box.
LRESULT OverwriteDlg::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = Dialog::WndProc(message, wParam, lParam);
  if (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE) {
    HWND focus = GetFocus();
    if (focus == nullptr || (focus != hwnd_ && !IsChild(hwnd_, focus)) || focus == hwnd_) {
      for (cc::win::Button* button : buttons_) {
        if (button->Visible() && button->Created()) {
          button->Focus();
          break;
        }
      }
    }
  }
  return result;
}

// Explanation, blank line, and the path in the lines that are left.
void OverwriteDlg::FitMessage() {
  Str explanation = Explanation(question_);
  if (explanation.IsNull() || !labMsg_->Created()) return;
  HWND label = labMsg_->Handle();
  RECT client;
  GetClientRect(label, &client);
  int width = client.right - 2;
  HDC dc = GetDC(label);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
  TEXTMETRICW metrics;
  GetTextMetricsW(dc, &metrics);
  int lineHeight = std::max<int>(1, metrics.tmHeight);
  RECT used = {0, 0, width, 0};
  DrawTextW(dc, cc::win::Wide(explanation), -1, &used, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  int lines = (client.bottom - used.bottom - lineHeight) / lineHeight;
  MeasureText measure = [dc](std::u16string_view text) {
    SIZE size = {};
    GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(text.data()), static_cast<int>(text.size()), &size);
    return static_cast<int>(size.cx);
  };
  Str path = JoinLines(FitPathLines(question_.target, width, std::max(1, lines), measure));
  SelectObject(dc, old);
  ReleaseDC(label, dc);
  labMsg_->SetText(explanation + Str(kParagraph) + path);
}

void OverwriteDlg::CenterOver(cc::win::Control* owner) {
  const cc::win::Bounds& b = GetBounds();
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  RECT over = work;
  if (owner != nullptr && owner->Created()) GetWindowRect(owner->Handle(), &over);
  int x = over.left + (over.right - over.left - b.width) / 2;
  int y = over.top + (over.bottom - over.top - b.height) / 2;
  x = std::max<int>(work.left, std::min<int>(x, work.right - b.width));
  y = std::max<int>(work.top, std::min<int>(y, work.bottom - b.height));
  SetLocation(x, y);
}

int OverwriteDlg::Ask(cc::win::Control* owner) {
  owner_ = owner;
  answered_ = false;
  answer_ = kOverwriteCancel;
  CenterOver(owner);
  if (ShowDialog(owner) < 0) return kOverwriteCancel;
  return answered_ ? answer_ : kOverwriteCancel;
}

void OverwriteDlg::OnButtonClick(cc::win::Control* sender, cc::win::EventArgs&) {
  for (int i = 0; i < kOverwriteButtonCount; ++i) {
    if (buttons_[i] != sender) continue;
    answer_ = std::min(i, static_cast<int>(kOverwriteCancel));
    answered_ = true;
    SetDialogResult(answer_);
    Close();
    return;
  }
}

// Closing without a button (the owner going away, a quit) is a cancel.
void OverwriteDlg::OnClosingDialog(cc::win::Control*, cc::win::CancelEventArgs&) {
  if (!answered_) answer_ = kOverwriteCancel;
}

}  // namespace wizard
