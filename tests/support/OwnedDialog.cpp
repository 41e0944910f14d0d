#include "OwnedDialog.h"

#include "DialogPump.h"
#include "ProgramRunner.h"

namespace {

OwnedDialog s_seen;
HWND s_owner;
std::function<void(HWND)> s_handle;

void CALLBACK ReadOwnedDialog(HWND, UINT, UINT_PTR, DWORD)
{
    for (HWND box = FindWindowW(L"#32770", nullptr); box && !s_seen.found;
         box = FindWindowExW(nullptr, box, L"#32770", nullptr)) {
        if (box == s_owner || GetWindow(box, GW_OWNER) != s_owner || !IsWindowVisible(box))
            continue;
        s_seen.found = true;
        s_seen.caption = WindowText(box);
        EnumChildWindows(
            box,
            [](HWND control, LPARAM) {
                const int id = LOWORD(GetDlgCtrlID(control)); // templates hold 16-bit ids
                s_seen.texts[id] = WindowText(control);
                s_seen.visible[id] = IsWindowVisible(control) != FALSE;
                s_seen.allTexts.push_back(WindowText(control));
                return TRUE;
            },
            0);
        s_handle(box);
    }
}

} // namespace

OwnedDialog OpenedBy(HWND owner, const std::function<void()>& trigger, std::function<void(HWND)> handle, DWORD wait)
{
    s_seen = {};
    s_owner = owner;
    s_handle = handle ? std::move(handle) : [](HWND box) { PostMessageW(box, WM_COMMAND, IDOK, 0); };
    UINT_PTR timer = SetTimer(nullptr, 0, 20, ReadOwnedDialog);
    trigger();
    PumpUntil([] { return s_seen.found; }, wait);
    PumpFor(100); // the dialog's own end
    KillTimer(nullptr, timer);
    return s_seen;
}
