#include "ui/win32/tree_view.h"

namespace cc::win {
namespace {

constexpr int kBoxSize = 16;

// Draws the three check boxes (unchecked, checked, partly) into a state
// image list; image 0 stays empty as the platform expects.
HIMAGELIST MakeCheckImages() {
  HIMAGELIST list = ImageList_Create(kBoxSize, kBoxSize, ILC_COLOR32 | ILC_MASK, 4, 0);
  if (list == nullptr) return nullptr;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, kBoxSize * 4, kBoxSize);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all = {0, 0, kBoxSize * 4, kBoxSize};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  for (int i = 1; i <= 3; ++i) {
    RECT box = {i * kBoxSize + 2, 2, i * kBoxSize + 15, 15};
    UINT state = DFCS_BUTTONCHECK | DFCS_FLAT | (i == kChecked || i == kPartlyChecked ? DFCS_CHECKED : 0);
    if (i == kPartlyChecked) state |= DFCS_INACTIVE;
    DrawFrameControl(dc, &box, DFC_BUTTON, state);
  }
  SelectObject(dc, old);
  ImageList_AddMasked(list, bitmap, RGB(255, 255, 254));
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return list;
}

}  // namespace

TreeView::TreeView() {
  styles_[kStyleWindow] |= WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS;
  styles_[kStyleExWindow] |= WS_EX_CLIENTEDGE;
}

int TreeView::AddItem(int parent, const Str& text) {
  items_.push_back({parent, text, nullptr});
  int index = ItemCount() - 1;
  if (Created()) InsertItem(index);
  return index;
}

void TreeView::InsertItem(int index) {
  Node& node = items_[static_cast<size_t>(index)];
  TVINSERTSTRUCTW insert = {};
  insert.hParent = node.parent >= 0 ? ItemHandle(node.parent) : TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM;
  insert.item.pszText = const_cast<wchar_t*>(Wide(node.text));
  insert.item.lParam = index;
  node.handle = reinterpret_cast<HTREEITEM>(SendMessageW(hwnd_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

void TreeView::OnCreated() {
  for (int i = 0; i < ItemCount(); ++i) InsertItem(i);
}

HTREEITEM TreeView::ItemHandle(int index) const {
  if (index < 0 || index >= ItemCount()) return nullptr;
  return items_[static_cast<size_t>(index)].handle;
}

int TreeView::IndexOf(HTREEITEM item) const {
  if (item == nullptr) return -1;
  TVITEMW tv = {};
  tv.mask = TVIF_PARAM | TVIF_HANDLE;
  tv.hItem = item;
  if (!SendMessageW(hwnd_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv))) return -1;
  return static_cast<int>(tv.lParam);
}

void TreeView::ClearItems() {
  items_.clear();
  if (Created()) SendMessageW(hwnd_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
}

bool TreeView::SelectItem(int index) {
  HTREEITEM handle = ItemHandle(index);
  if (handle == nullptr) return false;
  SendMessageW(hwnd_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(handle));
  SendMessageW(hwnd_, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(handle));
  return true;
}

void TreeView::SetLinesAndButtons(bool on) {
  constexpr uint32_t kLines = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT;
  ModifyStyle(kStyleWindow, on ? 0 : kLines, on ? kLines : 0);
}

void TreeView::ExpandAll() {
  if (!Created()) return;
  for (const Node& node : items_) SendMessageW(hwnd_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node.handle));
}

int TreeView::SelectedItem() const {
  if (!Created()) return -1;
  return IndexOf(reinterpret_cast<HTREEITEM>(SendMessageW(hwnd_, TVM_GETNEXTITEM, TVGN_CARET, 0)));
}

bool TreeView::OnNotify(NMHDR* header, LRESULT*) {
  if (header->code != TVN_SELCHANGEDW) return false;
  EventArgs args;
  SelectionChanged.Fire(this, args);
  return false;
}

TreeViewEx::TreeViewEx() = default;

int TreeViewEx::AddItem(int parent, const Str& text) { return AddCheckItem(parent, text, kUnchecked); }

int TreeViewEx::AddCheckItem(int parent, const Str& text, int state, int flags) {
  states_.Add(parent, state, flags);
  return TreeView::AddItem(parent, text);
}

void TreeViewEx::InsertItem(int index) {
  TreeView::InsertItem(index);
  ShowStates();
}

void TreeViewEx::OnCreated() {
  stateImages_ = MakeCheckImages();
  if (stateImages_ != nullptr) SendMessageW(hwnd_, TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<LPARAM>(stateImages_));
  TreeView::OnCreated();
}

void TreeViewEx::ShowStates() {
  if (!Created()) return;
  for (int i = 0; i < ItemCount(); ++i) {
    HTREEITEM handle = ItemHandle(i);
    if (handle == nullptr) continue;
    TVITEMW tv = {};
    tv.mask = TVIF_STATE | TVIF_HANDLE;
    tv.hItem = handle;
    tv.stateMask = TVIS_STATEIMAGEMASK;
    tv.state = INDEXTOSTATEIMAGEMASK(states_.Item(i).state);
    SendMessageW(hwnd_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
  }
}

bool TreeViewEx::SetChecked(int index, bool checked) {
  if (!states_.SetChecked(index, checked)) return false;
  ShowStates();
  return true;
}

bool TreeViewEx::SetHasCheckBox(int index, bool on) {
  if (!states_.SetHasCheckBox(index, on)) return false;
  ShowStates();
  return true;
}

int TreeViewEx::CheckState(int index) const {
  if (index < 0 || index >= states_.Count()) return kNoCheckBox;
  return states_.Item(index).state;
}

bool TreeViewEx::SetCheckState(int index, int state) {
  if (!states_.SetState(index, state)) return false;
  ShowStates();
  return true;
}

void TreeViewEx::ClearItems() {
  states_ = TriStateTree();
  toggled_ = -1;
  TreeView::ClearItems();
}

void TreeViewEx::UserToggle(int index) {
  if (!states_.Toggle(index)) return;
  toggled_ = index;
  ShowStates();
  EventArgs args;
  CheckChanged.Fire(this, args);
}

bool TreeViewEx::OnNotify(NMHDR* header, LRESULT* result) {
  if (header->code == NM_CLICK) {
    TVHITTESTINFO hit = {};
    DWORD pos = GetMessagePos();
    hit.pt = {static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
    ScreenToClient(hwnd_, &hit.pt);
    SendMessageW(hwnd_, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    if (hit.flags & TVHT_ONITEMSTATEICON) {
      UserToggle(IndexOf(hit.hItem));
      *result = 1;  // the platform must not cycle the state image itself
      return true;
    }
  }
  return TreeView::OnNotify(header, result);
}

LRESULT TreeViewEx::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN && wParam == VK_SPACE) {
    UserToggle(SelectedItem());
    return 0;
  }
  if (message == WM_CHAR && wParam == L' ') return 0;
  if (message == WM_NCDESTROY && stateImages_ != nullptr) {
    LRESULT result = TreeView::WndProc(message, wParam, lParam);
    ImageList_Destroy(stateImages_);
    stateImages_ = nullptr;
    return result;
  }
  return TreeView::WndProc(message, wParam, lParam);
}

}  // namespace cc::win
