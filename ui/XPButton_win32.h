#pragma once
// The owner-drawn push button of every dialog: a rounded black frame, a
// vertical 64-step gradient face, a strong blue frame while the mouse hovers
// over it and a pale one (with the focus rectangle) while it has the focus.
// Attach it to a dialog's push button with SubclassDlgItem; the dialog
// reflects WM_DRAWITEM to it (win/Reflection.h).

#include "ui/XPButtonLook.h"
#include "win/GdiObjects.h"
#include "win/SubclassedWindow.h"

#include <array>
#include <memory>
#include <string_view>

// The pens and brushes the button draws with, for one DPI: created with the
// button, again when it is drawn at another DPI.
class CXPButtonGdi {
public:
    explicit CXPButtonGdi(unsigned dpi = 96);
    unsigned Dpi() const { return m_dpi; }
    HPEN Pen(XPButtonPen pen) const { return m_pens[static_cast<std::size_t>(pen)]; }
    HBRUSH Brush(bool pressed) const { return m_brushes[pressed ? 1 : 0]; }

private:
    unsigned m_dpi;
    std::array<CPen, 9> m_pens;
    std::array<CBrush, 2> m_brushes; // normal, pressed
};

// Draws the whole button into dc: the item rectangle in client coordinates,
// its state and caption (the font selected into dc when font is null). The
// device context's drawing state is restored before returning.
void DrawXPButton(HDC dc, const RECT& item, const XPButtonState& state, std::wstring_view caption,
                  const CXPButtonGdi& gdi, HFONT font = nullptr);

class CXPButton : public CSubclassedWindow {
public:
    CXPButton() = default;

    bool IsHot() const { return m_hot; }
    bool IsTracking() const { return m_tracking; }
    // Whether it had the focus, and whether it was active (focused, pressed
    // or default), when it was last drawn.
    bool HadFocus() const { return m_focus; }
    bool WasActive() const { return m_active; }

protected:
    void OnSubclassed() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnMouseMove();
    void OnMouseHover();
    void OnMouseLeave();
    void OnDrawItem(const DRAWITEMSTRUCT& item);

    std::unique_ptr<CXPButtonGdi> m_gdi; // for the DPI of the last drawing
    bool m_hot = false;
    bool m_tracking = false;
    bool m_focus = false;
    bool m_active = false;
};
