#pragma once
// The small hint that follows the pointer while the user drags out the
// rectangle of a region calibration: yellow text on the calibration blue.
// The main window creates, moves and destroys it; Enter does not close it.

#include "win/ThemedDialog.h"

class MessageInfoDlg : public CDialogImpl<MessageInfoDlg, CThemedDialog> {
public:
    MessageInfoDlg();

    static const MessageTable kMessageTable;

    // The size its text takes, wrapped as its static control wraps it: the
    // window is made at least this large, so that no font at any DPI cuts it.
    SIZE TextExtent() const;

protected:
    bool OnInitDialog() override;
    bool PreTranslateMessage(MSG& msg) override;
    bool KeepsRectOnDpiChange() const override { return true; }
};
