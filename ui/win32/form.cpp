#include "ui/win32/form.h"

#include <string>

#include "core/exceptions.h"
#include "ui/win32/app.h"

namespace cc::win {

Form::Form() {
  styles_[kStyleWindow] = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  SetVisible(false);
}

Form::~Form() { DestroyHandle(); }

void Form::SetClientSize(int width, int height) {
  RECT r = {0, 0, width, height};
  AdjustWindowRectEx(&r, styles_[kStyleWindow], FALSE, styles_[kStyleExWindow]);
  const Bounds& b = GetBounds();
  if (!Created()) {
    // The children are placed against the client area the window will have.
    StoreBounds({b.x, b.y, r.right - r.left, r.bottom - r.top});
    return;
  }
  SetBounds(b.x, b.y, r.right - r.left, r.bottom - r.top);
}

void Form::CenterToScreen() {
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const Bounds& b = GetBounds();
  int x = work.left + (work.right - work.left - b.width) / 2;
  int y = work.top + (work.bottom - work.top - b.height) / 2;
  SetLocation(x < work.left ? work.left : x, y < work.top ? work.top : y);
}

void Form::SetCloseBoxEnabled(bool enabled) {
  ModifyStyle(kStyleBack, kFormCloseDisabled, enabled ? 0 : kFormCloseDisabled);
  ApplyCloseBox();
}

void Form::ApplyCloseBox() {
  if (!Created()) return;
  HMENU menu = GetSystemMenu(hwnd_, FALSE);
  if (menu == nullptr) return;
  UINT state = CloseBoxEnabled() ? MF_ENABLED : (MF_DISABLED | MF_GRAYED);
  EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | state);
}

void Form::SetMinimizeBox(bool on) { ModifyStyle(kStyleWindow, WS_MINIMIZEBOX, on ? WS_MINIMIZEBOX : 0); }

bool Form::Close() {
  if (!Created()) return true;
  CancelEventArgs args;
  Closing.Fire(this, args);
  if (args.cancel) return false;
  DestroyHandle();
  return true;
}

void Form::ShowForm() {
  if (!Created()) CreateControl();
  Show();
}

void Form::OnCreated() {
  ApplyCloseBox();
  if (!loaded_) {
    loaded_ = true;
    EventArgs args;
    Load.Fire(this, args);
  }
}

bool Form::PressButton(Control* button) {
  if (button == nullptr || !button->Created() || !button->Visible() ||
      !IsWindowEnabled(button->Handle())) {
    return false;
  }
  // As the dialog manager does: the parent hears of a click.
  SendMessageW(GetParent(button->Handle()), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
               reinterpret_cast<LPARAM>(button->Handle()));
  return true;
}

bool Form::PreTranslateKey(MSG* msg, int modifiers) {
  if (msg->message != WM_KEYDOWN || (modifiers & (kModifierCtrl | kModifierAlt))) {
    return msg->message == WM_KEYDOWN || msg->message == WM_CHAR ? IsDialogMessageW(hwnd_, msg) != FALSE : false;
  }
  if (msg->wParam == VK_RETURN) {
    // A multi-line edit box keeps its Enter.
    HWND focus = GetFocus();
    bool wantsEnter = focus != nullptr && (SendMessageW(focus, WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(msg)) & DLGC_WANTALLKEYS);
    if (!wantsEnter && PressButton(enterButton_)) return true;
  } else if (msg->wParam == VK_ESCAPE) {
    if (PressButton(escapeButton_)) return true;
  }
  return IsDialogMessageW(hwnd_, msg) != FALSE;
}

LRESULT Form::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      Close();
      return 0;
    case WM_SYSCOMMAND:
      // A disabled close box also refuses Alt+F4.
      if ((wParam & 0xFFF0) == SC_CLOSE && !CloseBoxEnabled()) return 0;
      break;
    case WM_DESTROY: {
      EventArgs args;
      Closed.Fire(this, args);
      break;
    }
    default:
      break;
  }
  return Container::WndProc(message, wParam, lParam);
}

int Form::ShowDialog(Control* owner) {
  HWND ownerWindow = owner != nullptr ? owner->Handle() : nullptr;
  try {
    if (!Created()) {
      if (ownerWindow != nullptr) {
        // The owner of a top-level window is given at creation.
        styles_[kStyleWindow] |= WS_POPUP;
      }
      if (!CreateControl()) throw UserException(kShowDialogError);
      if (ownerWindow != nullptr) SetWindowLongPtrW(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(ownerWindow));
    }
    dialogResult_ = 0;
    if (ownerWindow != nullptr) EnableWindow(ownerWindow, FALSE);
    Show();
    SetForegroundWindow(hwnd_);
    MSG msg;
    while (Created()) {
      BOOL got = GetMessageW(&msg, nullptr, 0, 0);
      if (got == 0) {
        PostQuitMessage(static_cast<int>(msg.wParam));  // the main loop ends too
        break;
      }
      if (got < 0) break;
      App::DispatchOne(&msg);
    }
    if (ownerWindow != nullptr) {
      EnableWindow(ownerWindow, TRUE);
      SetForegroundWindow(ownerWindow);
    }
    return dialogResult_;
  } catch (const std::exception& e) {
    if (ownerWindow != nullptr) EnableWindow(ownerWindow, TRUE);
    std::string line = "[Form::ShowDialog]Exception Error:";
    line += e.what();
    OutputDebugStringA(line.c_str());
    return -1;
  }
}

Dialog::Dialog() {
  styles_[kStyleWindow] = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  styles_[kStyleExWindow] = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
}

}  // namespace cc::win
