/*
 * The contract between the setup and a project's extension library: the
 * library the project ships as "user.dll" in its payload. A library may
 * include this header (C or C++); it needs nothing else from the setup.
 *
 * The library exports one function, "CallDllEnter" (undecorated; cdecl in a
 * 32-bit library):
 *
 *   int CallDllEnter(int page, int event, ExtensionInfo* info,
 *                    ExtensionCallback callback);
 *
 *   page      the type number of the current wizard page (100..128), or -1
 *             when no page is shown and at the end (event 99)
 *   event     one of kExtensionEvent* below
 *   info      the information block, zeroed and filled before each call;
 *             valid only during the call
 *   callback  the setup's services (kExtensionOp* below)
 *
 * The result matters for events 4 and 5 only: -1 refuses leaving the page,
 * anything else lets the page decide.
 *
 * The callback, called by the library in the same way:
 *
 *   int callback(int op, const wchar_t* name, int reserved,
 *                ExtensionInfo* info);
 *
 * returns 0 for success and -1 for failure; it fails at once when `name` is
 * null or empty, when `info` is null, or when the wizard window does not
 * exist. Pass the block the library was given.
 *
 *   op 1  find the wizard control named `name` and store its window handle
 *         in `control` (0 when no control has that name; the result is
 *         still 0)
 *   op 2  set the text of the window whose handle is in `control` to
 *         `name`; -1 when that is not a window
 *   op 3  the configuration value `name`, or when there is none the text of
 *         the current language (language code + "." + name; no dot is added
 *         when `name` begins with "."); stored in `text`, zero-terminated
 *         and cut to 1023 units when longer, with the value's full length
 *         plus one in `textLength`; -1 when neither exists
 *   op 4  read the payload file `name` into memory: its address in
 *         `fileData`, its size in `fileSize` (0 and 0 when it is not
 *         available; the result is still 0). The bytes stay valid and
 *         unchanged until the library is unloaded; asking again for the
 *         same name gives the same bytes.
 *
 * Two layouts, one per bitness, with the same fields in the same order. The
 * 32-bit one is the historical 2120-byte block; the 64-bit one widens the
 * window handles and the file address to 8 bytes:
 *
 *   field        32-bit offset/size   64-bit offset/size
 *   mainWindow        0  4                 0  8   the main wizard window
 *   titleLabel        4  4                 8  8   "labBTitle"
 *   subtitleLabel     8  4                16  8   "labSTitle"
 *   pageHost         12  4                24  8   the window the page is shown in
 *   backButton       16  4                32  8   "btnBack"
 *   nextButton       20  4                40  8   "btnNext"
 *   cancelButton     24  4                48  8   "btnCancel"
 *   linkMain         28  4                56  8   "linkMain"
 *   copyMain         32  4                64  8   "copyMain"
 *   pageWindow       36  4                72  8   the current page's window
 *   control          40  4                80  8   event 50: the clicked control;
 *                                                 ops 1 and 2: the found / target window
 *   fileSize         44  4                88  4   op 4
 *   (zero)            -  -                92  4
 *   fileData         48  4                96  8   op 4
 *   textLength       52  4               104  4   op 3: full length of the value + 1
 *   zero             56 16               108 20
 *   text             72 2048             128 2048 op 3: UTF-16, room for 1024 units
 *   total          2120                 2176
 *
 * Handles are 0 when the window does not exist.
 */
#ifndef VELMORA_RUNTIME_EXTENSION_INFO_H_
#define VELMORA_RUNTIME_EXTENSION_INFO_H_

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32) && !defined(_WIN64)
#define VELMORA_EXTENSION_CALL __cdecl
#else
#define VELMORA_EXTENSION_CALL
#endif

/* A UTF-16 code unit: wchar_t on Windows. */
#ifdef _WIN32
typedef wchar_t ExtensionChar;
#else
typedef uint16_t ExtensionChar;
#endif

/* Events (the `event` argument). */
enum {
  kExtensionEventCreated = 1,   /* a page is prepared when the pages are made */
  kExtensionEventForward = 2,   /* a page is prepared for being shown by Next */
  kExtensionEventBack = 3,      /* a page is prepared for being shown by Back */
  kExtensionEventLeaveNext = 4, /* the page is about to be left with Next */
  kExtensionEventLeaveBack = 5, /* the page is about to be left with Back */
  kExtensionEventClick = 50,    /* a declared control was clicked */
  kExtensionEventEnd = 99       /* the setup is ending */
};

/* Callback operations (the `op` argument). */
enum {
  kExtensionOpFindControl = 1,
  kExtensionOpSetText = 2,
  kExtensionOpConfigValue = 3,
  kExtensionOpLoadFile = 4
};

/* What CallDllEnter returns for events 4 and 5 to keep the page. */
#define VELMORA_EXTENSION_REFUSE (-1)

/* Units of `text`, the terminator included. */
#define VELMORA_EXTENSION_TEXT_UNITS 1024

typedef struct ExtensionInfo32 {
  uint32_t mainWindow;
  uint32_t titleLabel;
  uint32_t subtitleLabel;
  uint32_t pageHost;
  uint32_t backButton;
  uint32_t nextButton;
  uint32_t cancelButton;
  uint32_t linkMain;
  uint32_t copyMain;
  uint32_t pageWindow;
  uint32_t control;
  uint32_t fileSize;
  uint32_t fileData;
  uint32_t textLength;
  uint8_t zero[16];
  ExtensionChar text[VELMORA_EXTENSION_TEXT_UNITS];
} ExtensionInfo32;

typedef struct ExtensionInfo64 {
  uint64_t mainWindow;
  uint64_t titleLabel;
  uint64_t subtitleLabel;
  uint64_t pageHost;
  uint64_t backButton;
  uint64_t nextButton;
  uint64_t cancelButton;
  uint64_t linkMain;
  uint64_t copyMain;
  uint64_t pageWindow;
  uint64_t control;
  uint32_t fileSize;
  uint32_t zeroAfterSize;
  uint64_t fileData;
  uint32_t textLength;
  uint8_t zero[20];
  ExtensionChar text[VELMORA_EXTENSION_TEXT_UNITS];
} ExtensionInfo64;

/* The layout of the running program's bitness. */
#if UINTPTR_MAX > 0xFFFFFFFFu
typedef ExtensionInfo64 ExtensionInfo;
#else
typedef ExtensionInfo32 ExtensionInfo;
#endif

typedef int(VELMORA_EXTENSION_CALL* ExtensionCallback)(int op, const ExtensionChar* name, int reserved,
                                                        ExtensionInfo* info);
typedef int(VELMORA_EXTENSION_CALL* ExtensionEntry)(int page, int event, ExtensionInfo* info,
                                                     ExtensionCallback callback);

#ifdef __cplusplus
}  /* extern "C" */
#define VELMORA_EXTENSION_ASSERT(condition) static_assert(condition, #condition)
#else
#define VELMORA_EXTENSION_ASSERT(condition) _Static_assert(condition, #condition)
#endif

#include <stddef.h>
VELMORA_EXTENSION_ASSERT(sizeof(ExtensionInfo32) == 2120);
VELMORA_EXTENSION_ASSERT(offsetof(ExtensionInfo32, control) == 40);
VELMORA_EXTENSION_ASSERT(offsetof(ExtensionInfo32, textLength) == 52);
VELMORA_EXTENSION_ASSERT(offsetof(ExtensionInfo32, text) == 72);
VELMORA_EXTENSION_ASSERT(sizeof(ExtensionInfo64) == 2176);
VELMORA_EXTENSION_ASSERT(offsetof(ExtensionInfo64, control) == 80);
VELMORA_EXTENSION_ASSERT(offsetof(ExtensionInfo64, fileData) == 96);
VELMORA_EXTENSION_ASSERT(offsetof(ExtensionInfo64, text) == 128);

#endif /* VELMORA_RUNTIME_EXTENSION_INFO_H_ */
