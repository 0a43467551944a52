/*
 * A project extension library for the tests, never shipped. It appends one
 * line per call it receives to the file named by the configuration value
 * "Ext.LogFile" (read through the callback), and:
 *  - on its first call asks the callback for the language text named by
 *    "Ext.LangKey" in both key forms, for the long value "Ext.Long", for the
 *    payload file named by "Ext.PayloadFile" (twice), and for a control that
 *    does not exist, and logs what came back;
 *  - refuses, once, leaving the page whose type "Ext.RefusePage" names with
 *    Next;
 *  - on a declared control's click relabels "btnNext" with "Ext.NextText".
 * Built with VELMORA_TEST_NO_ENTRY it lacks the entry point.
 *
 * Log lines (UTF-8, CRLF):
 *   call page=P event=E handles=HHHHHHHHHH control=X
 *       H: 1 or 0 for each window field present or absent, in block order
 *       (main, title, subtitle, page host, back, next, cancel, link, copy,
 *       page); X: the control field in hex
 *   lang full=R:TEXT relative=R:TEXT
 *   long result=R length=L units=U
 *   file result=R size=S same=1|0
 *   miss result=R control=X
 *   refuse page=P
 *   rename find=R set=R
 *   end
 */
#include <windows.h>

#include <stdlib.h>

#include "runtime/extension_info.h"

static wchar_t g_log_path[MAX_PATH];
static int g_probed = 0;
static int g_refused = 0;

static void AppendUtf8(const wchar_t* text) {
  char bytes[4096];
  int length;
  HANDLE file;
  DWORD written;
  if (g_log_path[0] == 0) return;
  length = WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes, sizeof(bytes) - 2, NULL, NULL);
  if (length <= 0) return;
  length -= 1; /* the terminator */
  bytes[length++] = '\r';
  bytes[length++] = '\n';
  file = CreateFileW(g_log_path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                     OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) return;
  WriteFile(file, bytes, (DWORD)length, &written, NULL);
  CloseHandle(file);
}

static void Hex(wchar_t* out, unsigned long long value) {
  wchar_t digits[17];
  int count = 0;
  do {
    digits[count++] = L"0123456789abcdef"[value & 0xF];
    value >>= 4;
  } while (value != 0);
  while (count > 0) *out++ = digits[--count];
  *out = 0;
}

/* The configuration value `name` into `out` (room for `units`); the
 * callback's result. */
static int Value(ExtensionCallback callback, ExtensionInfo* info, const wchar_t* name, wchar_t* out,
                 int units) {
  int result = callback(kExtensionOpConfigValue, name, 0, info);
  out[0] = 0;
  if (result == 0) lstrcpynW(out, info->text, units);
  return result;
}

static void LogCall(int page, int event, const ExtensionInfo* info) {
  unsigned long long handles[10];
  wchar_t present[11];
  wchar_t control[20];
  wchar_t line[200];
  int i;
  handles[0] = info->mainWindow;
  handles[1] = info->titleLabel;
  handles[2] = info->subtitleLabel;
  handles[3] = info->pageHost;
  handles[4] = info->backButton;
  handles[5] = info->nextButton;
  handles[6] = info->cancelButton;
  handles[7] = info->linkMain;
  handles[8] = info->copyMain;
  handles[9] = info->pageWindow;
  for (i = 0; i < 10; ++i) present[i] = handles[i] != 0 ? L'1' : L'0';
  present[10] = 0;
  Hex(control, info->control);
  wsprintfW(line, L"call page=%d event=%d handles=%s control=%s", page, event, present, control);
  AppendUtf8(line);
}

static void Probe(ExtensionCallback callback, ExtensionInfo* info) {
  wchar_t key[256], relative[257], full[256], rel[256], name[256], line[700], control[20];
  int fullResult, relResult, result, units;
  unsigned int length, size;
  uintptr_t first;

  Value(callback, info, L"Ext.LangKey", key, 256);
  fullResult = Value(callback, info, key, full, 256);
  relative[0] = L'.';
  lstrcpynW(relative + 1, key, 256);
  relResult = Value(callback, info, relative, rel, 256);
  wsprintfW(line, L"lang full=%d:%s relative=%d:%s", fullResult, full, relResult, rel);
  AppendUtf8(line);

  result = callback(kExtensionOpConfigValue, L"Ext.Long", 0, info);
  length = info->textLength;
  units = lstrlenW(info->text);
  wsprintfW(line, L"long result=%d length=%u units=%d", result, length, units);
  AppendUtf8(line);

  Value(callback, info, L"Ext.PayloadFile", name, 256);
  result = callback(kExtensionOpLoadFile, name, 0, info);
  size = info->fileSize;
  first = (uintptr_t)info->fileData;
  callback(kExtensionOpLoadFile, name, 0, info);
  wsprintfW(line, L"file result=%d size=%u same=%d", result, size,
            first != 0 && (uintptr_t)info->fileData == first ? 1 : 0);
  AppendUtf8(line);

  info->control = 1;
  result = callback(kExtensionOpFindControl, L"noSuchControl", 0, info);
  Hex(control, info->control);
  wsprintfW(line, L"miss result=%d control=%s", result, control);
  AppendUtf8(line);
}

static int LeaveNext(int page, ExtensionCallback callback, ExtensionInfo* info) {
  wchar_t value[32], line[64];
  if (g_refused || Value(callback, info, L"Ext.RefusePage", value, 32) != 0) return 0;
  if (page != (int)wcstol(value, NULL, 10)) return 0;
  g_refused = 1;
  wsprintfW(line, L"refuse page=%d", page);
  AppendUtf8(line);
  return VELMORA_EXTENSION_REFUSE;
}

static void Rename(ExtensionCallback callback, ExtensionInfo* info) {
  wchar_t text[256], line[64];
  int found, set;
  if (Value(callback, info, L"Ext.NextText", text, 256) != 0) return;
  found = callback(kExtensionOpFindControl, L"btnNext", 0, info);
  set = callback(kExtensionOpSetText, text, 0, info);
  wsprintfW(line, L"rename find=%d set=%d", found, set);
  AppendUtf8(line);
}

/* The variant without the entry point exports the same function under
 * another name. */
#ifdef VELMORA_TEST_NO_ENTRY
#define ENTRY_NAME OtherEntry
#else
#define ENTRY_NAME CallDllEnter
#endif

__declspec(dllexport) int VELMORA_EXTENSION_CALL ENTRY_NAME(int page, int event, ExtensionInfo* info,
                                                            ExtensionCallback callback) {
  if (g_log_path[0] == 0) Value(callback, info, L"Ext.LogFile", g_log_path, MAX_PATH);
  LogCall(page, event, info);
  if (!g_probed && g_log_path[0] != 0) {
    g_probed = 1;
    Probe(callback, info);
  }
  switch (event) {
    case kExtensionEventLeaveNext:
      return LeaveNext(page, callback, info);
    case kExtensionEventClick:
      Rename(callback, info);
      return 0;
    case kExtensionEventEnd:
      AppendUtf8(L"end");
      return 0;
    default:
      return 0;
  }
}
