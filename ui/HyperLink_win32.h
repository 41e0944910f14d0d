#pragma once
// A static text that behaves as a web link: coloured and underlined, with a
// hand cursor and a tooltip showing its address; a click opens the address
// with the shell's "open" verb. Attach it to a dialog's static control with
// SubclassDlgItem; the dialog reflects the colour request and the click to
// it (win/Reflection.h).

#include "ui/HyperLinkLook.h"
#include "win/GdiObjects.h"
#include "win/SubclassedWindow.h"

#include <string>

class CHyperLink : public CSubclassedWindow {
public:
    CHyperLink();
    ~CHyperLink() override;

    // The address opened by a click; the window text when none is set
    // before the link is attached.
    void SetAddress(const std::wstring& address);
    const std::wstring& Address() const { return m_address; }
    void SetColours(const LinkColours& colours);
    const LinkColours& Colours() const { return m_colours; }
    void SetVisited(bool visited);
    bool IsVisited() const { return m_visited; }
    bool IsOver() const { return m_over; }
    // Take effect when the link is attached.
    void SetUnderline(bool underline) { m_underline = underline; }
    void SetAdjustSize(bool adjust) { m_adjustSize = adjust; }
    // A cursor of the caller's, kept by the caller; when none is set the
    // link loads its own at attach.
    void SetLinkCursor(HCURSOR cursor);
    HCURSOR LinkCursor() const { return m_linkCursor; }
    HWND Tooltip() const { return m_tooltip; }

protected:
    void OnSubclassed() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void SetUpFont();
    void FitToText();
    void LoadLinkCursor();
    void CreateTooltip();
    void DestroyTooltip();
    void RelayToTooltip(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnColourRequest(HDC dc);
    void OnClicked();
    void OnMouseMove(LPARAM lParam);
    void OnCaptureChanged(HWND gaining);
    void RedrawNow();
    void ReleaseOwnCursor();

    LinkColours m_colours;
    bool m_over = false;
    bool m_visited = false;
    bool m_underline = true;
    bool m_adjustSize = true;
    std::wstring m_address;
    CFont m_font;
    HFONT m_originalFont = nullptr;
    HCURSOR m_linkCursor = nullptr;
    bool m_ownsCursor = false;
    HWND m_tooltip = nullptr;
};
