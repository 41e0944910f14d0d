#pragma once
// Reading and answering the dialogs and message boxes a window opens, many
// of them modal: the trigger returns only when the box has ended.

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

// What a dialog showed: its caption, and each control's text and visibility
// by id (a message box's text has the id 0xFFFF).
struct OwnedDialog {
    std::wstring caption;
    std::map<int, std::wstring> texts;
    std::map<int, bool> visible;
    std::vector<std::wstring> allTexts; // controls without an id too
    bool found = false;
};

// Runs the trigger; the first dialog `owner` owns that shows up (within
// `wait` ms) is read, then `handle` runs on it (by default it is closed with
// OK), from a timer of this thread: the dialog's own modal loop runs it.
OwnedDialog OpenedBy(HWND owner, const std::function<void()>& trigger, std::function<void(HWND)> handle = {},
                     DWORD wait = 10000);
