/* A small Windows program for the resource editor's tests. It reads its own
   resources through the loader and prints what it finds, so a test can see
   that Windows (or Wine) finds a resource that the editor wrote. */
#include <stdio.h>
#include <windows.h>

/* FNV-1a, 32 bits: the tests compute the same value natively. */
static unsigned long Fnv1a(const unsigned char* data, DWORD size) {
  unsigned long hash = 2166136261UL;
  for (DWORD i = 0; i < size; ++i) hash = ((hash ^ data[i]) * 16777619UL) & 0xffffffffUL;
  return hash;
}

static void PrintResource(const wchar_t* type, int id, const char* label) {
  HRSRC found = FindResourceW(NULL, MAKEINTRESOURCEW(id), type);
  HGLOBAL loaded = found ? LoadResource(NULL, found) : NULL;
  const unsigned char* data = loaded ? (const unsigned char*)LockResource(loaded) : NULL;
  if (!found || (!data && SizeofResource(NULL, found) != 0)) {
    printf("%s missing\n", label);
    return;
  }
  DWORD size = SizeofResource(NULL, found);
  printf("%s size=%lu fnv=%08lx\n", label, (unsigned long)size, Fnv1a(data, size));
}

int main(void) {
  PrintResource(L"BIN", 2, "BIN/2");
  PrintResource(L"BIN", 7, "BIN/7");
  PrintResource(MAKEINTRESOURCEW(14), 1, "GROUP_ICON/1");
  return 0;
}
