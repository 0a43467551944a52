// Message boxes and dialogs of the program under test (class "#32770"):
// found by title or as the first visible one, their text read, and a button
// pressed by its text or id.
#pragma once

#include <windows.h>

#include <string>

// The first visible dialog whose title equals `title` (any title when
// empty); null when none is shown.
HWND FindDialog(const std::wstring& title);

// The dialog's static texts in order, joined by line feeds (for a message
// box: its message).
std::wstring DialogText(HWND dialog);

// Presses the button whose text equals `button` with or without its "&"
// mnemonic, ignoring letter case, or whose id is N for "id=N". Returns an
// empty text on success, else why not.
std::wstring PressDialogButton(HWND dialog, const std::wstring& button);
