// Reading a tree view that lives in another process. Its item messages
// take pointers, which the system does not carry across processes, so the
// structures are placed in the owner's memory and read back from there.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

struct RemoteTreeItem {
  std::wstring text;
  int stateImage = 0;  // 0 none, 1 unchecked, 2 checked, 3 partly checked
};

// Reads one item's text and state image. False when the owner's memory
// cannot be reached or the item is gone.
bool ReadTreeItem(HWND tree, HTREEITEM item, RemoteTreeItem* out);

// The item's text rectangle in the tree's client coordinates.
bool ReadTreeItemRect(HWND tree, HTREEITEM item, RECT* out);

struct TreeItemEntry {
  HTREEITEM item;
  int depth;  // 0 for roots
  RemoteTreeItem data;
};
// Every item in display order (expanded or not).
std::vector<TreeItemEntry> TreeItems(HWND tree);

// The item whose texts from the root down equal `path` ("Parent/Child");
// null when there is none.
HTREEITEM FindTreeItem(HWND tree, const std::wstring& path);
