#pragma once
// A button control (push button, check box, radio button): the window
// wrapper plus the button messages.

#include "win/Window.h"

class CButton : public CWindow {
public:
    using CWindow::CWindow;

    bool GetCheck() const { return SendMessage(BM_GETCHECK) == BST_CHECKED; }
    void SetCheck(bool checked) const { SendMessage(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED); }
    // Presses the button as a click would (its parent gets BN_CLICKED).
    void Click() const { SendMessage(BM_CLICK); }
    UINT GetState() const { return static_cast<UINT>(SendMessage(BM_GETSTATE)); }
};
