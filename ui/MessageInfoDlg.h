#pragma once
// The small hint that follows the pointer while the user drags out the
// rectangle of a region calibration: yellow text on the calibration blue.
// The main window creates, moves and destroys it; Enter does not close it.

#include "win/Dialog.h"
#include "win/GdiObjects.h"

class MessageInfoDlg : public CDialogImpl<MessageInfoDlg> {
public:
    MessageInfoDlg();

    static const MessageTable kMessageTable;

protected:
    bool OnInitDialog() override;
    bool PreTranslateMessage(MSG& msg) override;

private:
    static const MessageEntry kEntries[];

    LRESULT OnEraseBackground(WPARAM dc, LPARAM);
    LRESULT OnCtlColor(WPARAM dc, LPARAM);

    CBrush m_background; // one brush for every colour request of the window's life
};
