#include "tests/driver/remote_tree.h"

#include <cstring>

namespace {

// A block of memory in the process that owns a window, freed on scope end.
class RemoteBlock {
 public:
  RemoteBlock(HWND window, size_t size) : size_(size) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (process_ != nullptr) address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
  }
  ~RemoteBlock() {
    if (address_ != nullptr) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_ != nullptr) CloseHandle(process_);
  }
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;

  bool ok() const { return address_ != nullptr; }
  char* address() const { return static_cast<char*>(address_); }
  bool Write(size_t offset, const void* data, size_t size) {
    return offset + size <= size_ && WriteProcessMemory(process_, address() + offset, data, size, nullptr);
  }
  bool Read(size_t offset, void* data, size_t size) {
    return offset + size <= size_ && ReadProcessMemory(process_, address() + offset, data, size, nullptr);
  }

 private:
  size_t size_;
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
};

constexpr int kTextUnits = 512;

void CollectItems(HWND tree, HTREEITEM first, int depth, std::vector<TreeItemEntry>* out) {
  for (HTREEITEM item = first; item != nullptr;
       item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
    TreeItemEntry entry{item, depth, {}};
    ReadTreeItem(tree, item, &entry.data);
    out->push_back(entry);
    HTREEITEM child =
        reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
    CollectItems(tree, child, depth + 1, out);
  }
}

}  // namespace

bool ReadTreeItem(HWND tree, HTREEITEM item, RemoteTreeItem* out) {
  RemoteBlock block(tree, sizeof(TVITEMW) + kTextUnits * sizeof(wchar_t));
  if (!block.ok()) return false;
  TVITEMW request{};
  request.mask = TVIF_TEXT | TVIF_STATE | TVIF_HANDLE;
  request.hItem = item;
  request.stateMask = TVIS_STATEIMAGEMASK;
  request.pszText = reinterpret_cast<wchar_t*>(block.address() + sizeof(TVITEMW));
  request.cchTextMax = kTextUnits;
  if (!block.Write(0, &request, sizeof request)) return false;
  if (!SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(block.address()))) return false;
  TVITEMW answer{};
  wchar_t text[kTextUnits] = {};
  if (!block.Read(0, &answer, sizeof answer) || !block.Read(sizeof(TVITEMW), text, sizeof text)) return false;
  text[kTextUnits - 1] = L'\0';
  out->text = text;
  out->stateImage = static_cast<int>((answer.state & TVIS_STATEIMAGEMASK) >> 12);
  return true;
}

bool ReadTreeItemRect(HWND tree, HTREEITEM item, RECT* out) {
  RemoteBlock block(tree, sizeof(RECT));
  if (!block.ok()) return false;
  // TVM_GETITEMRECT takes the item handle in the rectangle's place.
  RECT request{};
  memcpy(&request, &item, sizeof item);
  if (!block.Write(0, &request, sizeof request)) return false;
  if (!SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(block.address()))) return false;
  return block.Read(0, out, sizeof *out);
}

std::vector<TreeItemEntry> TreeItems(HWND tree) {
  std::vector<TreeItemEntry> out;
  HTREEITEM root = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
  CollectItems(tree, root, 0, &out);
  return out;
}

HTREEITEM FindTreeItem(HWND tree, const std::wstring& path) {
  std::vector<std::wstring> steps;
  size_t start = 0;
  for (size_t slash; (slash = path.find(L'/', start)) != std::wstring::npos; start = slash + 1) {
    steps.push_back(path.substr(start, slash - start));
  }
  steps.push_back(path.substr(start));
  size_t matched = 0;
  for (const TreeItemEntry& entry : TreeItems(tree)) {
    if (entry.depth < static_cast<int>(matched)) return nullptr;  // left the matched branch
    if (entry.depth != static_cast<int>(matched) || entry.data.text != steps[matched]) continue;
    if (++matched == steps.size()) return entry.item;
  }
  return nullptr;
}
