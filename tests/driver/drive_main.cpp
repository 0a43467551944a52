// velmora-drive: a second program beside the one under test that finds its
// windows and controls and reads, clicks and types into them, printing plain
// text. Exit status 0 on success, 1 when the window, control or item is not
// there or refuses the action (the reason goes to standard error), 2 for a
// malformed command line. Commands: tests/driver/README.md.
#include <windows.h>
#include <commctrl.h>

#include <cwchar>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tests/driver/control_actions.h"
#include "tests/driver/control_report.h"
#include "tests/driver/message_box.h"
#include "tests/driver/remote_tree.h"
#include "tests/driver/window_select.h"

namespace {

constexpr int kDefaultTimeoutMs = 10000;
constexpr int kPollMs = 50;

struct Arguments {
  std::vector<std::wstring> words;  // without options
  int timeoutMs = kDefaultTimeoutMs;
  bool gone = false;
  std::wstring title;               // --title, for msgbox
  std::wstring text;                // --text, for wait-control
  bool hasText = false;
};

int Fail(const std::wstring& why) {
  PrintError(L"velmora-drive: " + why);
  return 1;
}

int Usage() {
  PrintError(L"usage: velmora-drive COMMAND ARGS... (see tests/driver/README.md)");
  return 2;
}

bool ParseArguments(int argc, wchar_t** argv, Arguments* out) {
  for (int i = 2; i < argc; ++i) {
    std::wstring word = argv[i];
    bool hasValue = i + 1 < argc;
    if (word == L"--timeout" && hasValue) {
      out->timeoutMs = _wtoi(argv[++i]);
    } else if (word == L"--gone") {
      out->gone = true;
    } else if (word == L"--title" && hasValue) {
      out->title = argv[++i];
    } else if (word == L"--text" && hasValue) {
      out->text = argv[++i];
      out->hasText = true;
    } else {
      out->words.push_back(word);
    }
  }
  return true;
}

// Polls `ready` until it is true or the time-out passes.
bool WaitFor(int timeoutMs, const std::function<bool()>& ready) {
  for (int waited = 0;; waited += kPollMs) {
    if (ready()) return true;
    if (waited >= timeoutMs) return false;
    Sleep(kPollMs);
  }
}

std::wstring HandleText(HWND window) {
  wchar_t text[32];
  swprintf(text, 32, L"0x%llx", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
  return text;
}

// The window and (when `needControl`) the control named by the first two
// words; prints why not and returns false when either is missing.
bool Resolve(const Arguments& args, bool needControl, HWND* top, HWND* control, int* status) {
  size_t needed = needControl ? 2 : 1;
  if (args.words.size() < needed) {
    *status = Usage();
    return false;
  }
  std::wstring error;
  *top = FindTopWindow(args.words[0], &error);
  if (*top == nullptr) {
    *status = Fail(error.empty() ? L"no window " + args.words[0] : error);
    return false;
  }
  if (!needControl) return true;
  *control = FindControl(*top, args.words[1]);
  if (*control == nullptr) {
    *status = Fail(L"no control '" + args.words[1] + L"' in " + args.words[0]);
    return false;
  }
  return true;
}

int Finish(const std::wstring& error) { return error.empty() ? 0 : Fail(error); }

int Wait(const Arguments& args) {
  if (args.words.empty()) return Usage();
  std::wstring error;
  HWND found = nullptr;
  bool done = WaitFor(args.timeoutMs, [&] {
    found = FindTopWindow(args.words[0], &error);
    return args.gone ? found == nullptr : found != nullptr;
  });
  if (!error.empty()) return Fail(error);
  if (!done) return Fail(L"timed out waiting for " + args.words[0] + (args.gone ? L" to close" : L""));
  if (!args.gone) PrintLine(HandleText(found));
  return 0;
}

int WaitControl(const Arguments& args) {
  if (args.words.size() < 2) return Usage();
  std::wstring error, seen;
  bool done = WaitFor(args.timeoutMs, [&] {
    HWND top = FindTopWindow(args.words[0], &error);
    HWND control = top != nullptr ? FindControl(top, args.words[1]) : nullptr;
    if (control == nullptr || !IsWindowVisible(control)) return false;
    seen = WindowText(control);
    return !args.hasText || seen == args.text;
  });
  if (!error.empty()) return Fail(error);
  if (!done) return Fail(L"timed out waiting for control '" + args.words[1] + L"'" +
                         (args.hasText ? L" with text " + Quoted(args.text) + L" (last seen " + Quoted(seen) + L")" : L""));
  return 0;
}

int Tree(const Arguments& args) {
  HWND top, control;
  int status = 0;
  if (!Resolve(args, false, &top, &control, &status)) return status;
  PrintLine(TopLine(top));
  for (const TreeEntry& entry : Descendants(top)) {
    PrintLine(std::wstring(entry.depth * 2, L' ') + ControlLine(top, entry.window));
  }
  return 0;
}

int WithControl(const Arguments& args, const std::function<int(HWND top, HWND control)>& action) {
  HWND top, control;
  int status = 0;
  if (!Resolve(args, true, &top, &control, &status)) return status;
  return action(top, control);
}

int TreeItemsCommand(HWND, HWND tree) {
  for (const TreeItemEntry& entry : TreeItems(tree)) {
    PrintLine(std::wstring(entry.depth * 2, L' ') + L"text=" + Quoted(entry.data.text) +
              L" state=" + std::to_wstring(entry.data.stateImage));
  }
  return 0;
}

int Progress(HWND, HWND bar) {
  LRESULT position = SendMessageW(bar, PBM_GETPOS, 0, 0);
  LRESULT low = SendMessageW(bar, PBM_GETRANGE, TRUE, 0);
  LRESULT high = SendMessageW(bar, PBM_GETRANGE, FALSE, 0);
  PrintLine(L"pos=" + std::to_wstring(position) + L" min=" + std::to_wstring(low) + L" max=" + std::to_wstring(high));
  return 0;
}

int MessageBoxCommand(const Arguments& args) {
  if (args.words.empty()) return Usage();
  HWND dialog = nullptr;
  if (!WaitFor(args.timeoutMs, [&] { return (dialog = FindDialog(args.title)) != nullptr; })) {
    return Fail(L"timed out waiting for a message box" + (args.title.empty() ? L"" : L" titled " + Quoted(args.title)));
  }
  PrintLine(L"title=" + Quoted(WindowText(dialog)) + L" text=" + Quoted(DialogText(dialog)));
  return Finish(PressDialogButton(dialog, args.words[0]));
}

int Run(const std::wstring& command, const Arguments& args) {
  const std::wstring arg2 = args.words.size() > 2 ? args.words[2] : L"";
  const std::map<std::wstring, std::function<int()>> commands = {
      {L"wait", [&] { return Wait(args); }},
      {L"wait-control", [&] { return WaitControl(args); }},
      {L"tree", [&] { return Tree(args); }},
      {L"rect", [&] { return WithControl(args, [](HWND top, HWND c) {
          PrintLine(L"rect=" + RectInTop(top, c) + L" screen=" + ScreenRect(c)); return 0; }); }},
      {L"text", [&] { return WithControl(args, [](HWND, HWND c) { PrintLine(WindowText(c)); return 0; }); }},
      {L"state", [&] { return WithControl(args, [](HWND, HWND c) {
          std::wstring selection = SelectionField(c);
          PrintLine(StateFields(c) + (selection.empty() ? L"" : L" " + selection)); return 0; }); }},
      {L"click", [&] { return WithControl(args, [](HWND, HWND c) { return Finish(ClickControl(c)); }); }},
      {L"type", [&] {
         if (args.words.size() < 3) return Usage();
         return WithControl(args, [&](HWND, HWND c) { return Finish(TypeIntoControl(c, arg2)); }); }},
      {L"select", [&] {
         if (args.words.size() < 3) return Usage();
         return WithControl(args, [&](HWND, HWND c) { return Finish(SelectInControl(c, arg2)); }); }},
      {L"tree-check", [&] {
         if (args.words.size() < 4 || (args.words[3] != L"on" && args.words[3] != L"off")) return Usage();
         return WithControl(args, [&](HWND, HWND c) { return Finish(CheckTreeItem(c, arg2, args.words[3] == L"on")); }); }},
      {L"tree-items", [&] { return WithControl(args, TreeItemsCommand); }},
      {L"progress", [&] { return WithControl(args, Progress); }},
      {L"key", [&] {
         HWND top, unused;
         int status = 0;
         if (args.words.size() < 2) return Usage();
         if (!Resolve(args, false, &top, &unused, &status)) return status;
         return Finish(PressKey(top, args.words[1])); }},
      {L"msgbox", [&] { return MessageBoxCommand(args); }},
      {L"close", [&] {
         HWND top, unused;
         int status = 0;
         if (!Resolve(args, false, &top, &unused, &status)) return status;
         // What the close box sends: a window that disabled its close
         // box may refuse this, while it still obeys a plain WM_CLOSE.
         PostMessageW(top, WM_SYSCOMMAND, SC_CLOSE, 0);
         return 0; }},
  };
  auto found = commands.find(command);
  return found == commands.end() ? Usage() : found->second();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return Usage();
  Arguments args;
  ParseArguments(argc, argv, &args);
  return Run(argv[1], args);
}
