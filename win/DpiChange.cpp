#include "win/DpiChange.h"

#include "win/Dpi.h"

#include <vector>

namespace {

struct ChildPlace {
    HWND window;
    RECT rect; // in the dialog's client coordinates
};

std::vector<ChildPlace> ChildPlaces(HWND dialog)
{
    std::vector<ChildPlace> places;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        RECT rect{};
        ::GetWindowRect(child, &rect);
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
        places.push_back({child, rect});
    }
    return places;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

int Rescale(int length, unsigned to, unsigned from)
{
    return ::MulDiv(length, static_cast<int>(to), static_cast<int>(from));
}

// Windows 10 1703 and later: keep the dialog manager from resizing a window
// that places itself. Loaded at run time: older systems lack it.
void DisableSystemResize(HWND dialog)
{
    using SetBehaviour = BOOL(WINAPI*)(HWND, int, int);
    static const auto setBehaviour = reinterpret_cast<SetBehaviour>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "SetDialogDpiChangeBehavior")));
    constexpr int kDisableResize = 0x0002; // DDC_DISABLE_RESIZE
    if (setBehaviour)
        setBehaviour(dialog, kDisableResize, kDisableResize);
}

} // namespace

void CDialogDpi::Attach(HWND dialog, bool keepsRect)
{
    m_dpi = WindowDpi(dialog);
    m_controlsFont = reinterpret_cast<HFONT>(::SendMessageW(dialog, WM_GETFONT, 0, 0));
    m_madeFont.Reset();
    if (keepsRect)
        DisableSystemResize(dialog);
}

void CDialogDpi::Apply(HWND dialog, unsigned dpi, const RECT& suggested, bool keepsRect,
                       const std::function<void()>& systemHandling)
{
    const unsigned before = m_dpi ? m_dpi : 96;
    RECT placeBefore{};
    ::GetWindowRect(dialog, &placeBefore);
    const std::vector<ChildPlace> children = ChildPlaces(dialog);
    const HFONT dialogFont = reinterpret_cast<HFONT>(::SendMessageW(dialog, WM_GETFONT, 0, 0));

    systemHandling();
    if (dpi == 0 || dpi == before)
        return;
    m_dpi = dpi;

    RECT place{};
    ::GetWindowRect(dialog, &place);
    const RECT& wanted = keepsRect ? placeBefore : suggested;
    if (!SameRect(place, wanted))
        ::SetWindowPos(dialog, nullptr, wanted.left, wanted.top, wanted.right - wanted.left, wanted.bottom - wanted.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);

    bool systemRelaid = false;
    for (const ChildPlace& child : children) {
        RECT now{};
        ::GetWindowRect(child.window, &now);
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&now), 2);
        systemRelaid = systemRelaid || !SameRect(now, child.rect);
    }
    if (!systemRelaid)
        for (const ChildPlace& child : children) {
            const RECT& r = child.rect;
            ::SetWindowPos(child.window, nullptr, Rescale(r.left, dpi, before), Rescale(r.top, dpi, before),
                           Rescale(r.right - r.left, dpi, before), Rescale(r.bottom - r.top, dpi, before),
                           SWP_NOZORDER | SWP_NOACTIVATE);
        }

    const HFONT dialogFontNow = reinterpret_cast<HFONT>(::SendMessageW(dialog, WM_GETFONT, 0, 0));
    if (dialogFontNow != dialogFont) {
        // The system made the dialog's font anew and handed it to the controls.
        m_controlsFont = dialogFontNow;
        m_madeFont.Reset();
    } else if (LOGFONTW look{}; m_controlsFont && ::GetObjectW(m_controlsFont, sizeof look, &look)) {
        look.lfHeight = Rescale(look.lfHeight, dpi, before);
        look.lfWidth = Rescale(look.lfWidth, dpi, before);
        CFont font(::CreateFontIndirectW(&look));
        if (font) {
            for (const ChildPlace& child : children)
                if (reinterpret_cast<HFONT>(::SendMessageW(child.window, WM_GETFONT, 0, 0)) == m_controlsFont)
                    ::SendMessageW(child.window, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
            m_controlsFont = font;
            m_madeFont = std::move(font); // the one before goes only now that no control uses it
        }
    }
    ::RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}
