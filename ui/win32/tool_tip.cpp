#include "ui/win32/tool_tip.h"

namespace cc::win {

ToolTip::ToolTip() { styles_[kStyleWindow] = WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX; }

HWND ToolTip::CreateWindowFor(HWND parent) {
  // A tip is a top-level popup owned by its parent's form.
  HWND owner = parent != nullptr ? GetAncestor(parent, GA_ROOT) : nullptr;
  return CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, styles_[kStyleWindow], CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

bool ToolTip::SetToolTip(Control* control, const Str& text) {
  if (!Created() || control == nullptr || !control->Created()) return false;
  TOOLINFOW info = {};
  info.cbSize = sizeof info;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = GetParent(control->Handle());
  info.uId = reinterpret_cast<UINT_PTR>(control->Handle());
  info.lpszText = const_cast<wchar_t*>(Wide(text));
  SendMessageW(hwnd_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  return SendMessageW(hwnd_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
}

ImageList::ImageList(int width, int height)
    : list_(ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 4, 4)) {}

ImageList::~ImageList() {
  if (list_ != nullptr) ImageList_Destroy(list_);
}

int ImageList::AddIcon(HICON icon) { return list_ != nullptr ? ImageList_AddIcon(list_, icon) : -1; }

int ImageList::AddBitmap(HBITMAP bitmap, COLORREF mask) {
  return list_ != nullptr ? ImageList_AddMasked(list_, bitmap, mask) : -1;
}

HICON ImageList::GetIcon(int index) const {
  return list_ != nullptr ? ImageList_GetIcon(list_, index, ILD_NORMAL) : nullptr;
}

int ImageList::Count() const { return list_ != nullptr ? ImageList_GetImageCount(list_) : 0; }

}  // namespace cc::win
