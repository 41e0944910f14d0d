#pragma once
// The program's dialogs paint themselves and their controls alike: one
// background colour for the window and under every static text, check box
// and button, text drawn transparently in one colour. A themed dialog class
// derives from CDialogImpl<itself, CThemedDialog> and keeps only its own
// texts; it may colour a control's text apart (ControlTextColour).

#include "win/Dialog.h"
#include "win/GdiObjects.h"

#include <optional>

// The background of the program's windows, and of the windows a
// calibration or mapping covers a monitor with, with their hints' colour.
constexpr COLORREF kDialogBackground = RGB(236, 233, 216);
constexpr COLORREF kCalibrationBackground = RGB(0, 128, 192);
constexpr COLORREF kCalibrationHintText = RGB(255, 255, 0);

// One control's text: the language key it is looked up by. Each dialog keeps
// a table of these for its own controls.
struct ControlText {
    int id;
    const wchar_t* key;
};

struct DialogTheme {
    COLORREF background = kDialogBackground;
    // Nothing: the text colour the system set is left as it is.
    std::optional<COLORREF> text = RGB(0, 0, 0);
    // The window fills its whole client area with the background itself
    // (WM_ERASEBKGND) instead of leaving it to the dialog's default.
    bool erasesBackground = false;
};

class CThemedDialog : public CDialog {
public:
    explicit CThemedDialog(UINT templateId, DialogTheme theme = {});

    static const MessageTable kMessageTable;

protected:
    // The brush of the background, for the dialog's own painting.
    HBRUSH BackgroundBrush() const { return m_background.Get(); }
    // The text colour of one control (or of the dialog itself); the theme's by default.
    virtual std::optional<COLORREF> ControlTextColour(HWND control) const { return m_theme.text; }

private:
    static const MessageEntry kEntries[];

    // WM_CTLCOLORDLG, WM_CTLCOLORSTATIC, WM_CTLCOLORBTN.
    LRESULT OnCtlColor(WPARAM dc, LPARAM control);
    MessageResult OnEraseBackground(WPARAM dc, LPARAM);
    HBRUSH PaintControl(HDC dc, HWND control) const;

    DialogTheme m_theme;
    CBrush m_background; // one brush for every colour request of the window's life
};
