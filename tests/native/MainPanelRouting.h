#pragma once
// What the main window's message table hands to the main panel, handed the
// same way by a test or a benchmark that plays the window.

#include "app/ConsoleMailbox.h"
#include "app/MainPanel.h"
#include "platform/Messages.h"

// False, with nothing taken, for a message the panel is not given.
inline bool RouteToMainPanel(CMainPanel& panel, const CConsoleMailbox::Message& m)
{
    auto reply = [&] { return CConsoleMailbox::TakeReply(m); };
    switch (m.message) {
    case WM_OPENING_REPLY:
        panel.OnOpeningReply(reply());
        break;
    case WM_VERSION_REPLY:
        panel.OnVersionReply(reply());
        break;
    case WM_SERIAL_REPLY:
        panel.OnSerialReply(reply());
        break;
    case WM_NUMBER_READ_REPLY:
        panel.OnNumberReadReply(reply());
        break;
    case WM_NUMBER_WRITE_REPLY:
        panel.OnNumberWriteReply(reply());
        break;
    case WM_PANEL_REFRESH_LIST:
        panel.RefreshList();
        break;
    default:
        return false;
    }
    return true;
}
