#include "ui/ImageStatic_win32.h"

#include "ui/ScaledImages_win32.h"
#include "win/Dpi.h"

LRESULT CImageStatic::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        CPaintDC dc(m_hWnd);
        Paint(dc);
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wParam));
        return 0;
    default:
        return DefaultProc(message, wParam, lParam);
    }
}

// The bitmap is loaded at every paint and released after it, so nothing is
// held between paints. A bitmap of another size than the control is
// stretched to it unless the control copies it unstretched, where a larger
// bitmap is cut at the control's edges and a smaller one leaves the rest
// unpainted; a module without the bitmap paints nothing. The bitmap is the
// one drawn for the control's DPI, or the 96-DPI one where the module has no
// other.
void CImageStatic::Paint(HDC dc)
{
    auto module = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(m_hWnd, GWLP_HINSTANCE));
    CBitmap bitmap = LoadScaledBitmap(module, kImageStaticBitmap, WindowDpi(m_hWnd));
    BITMAP size{};
    if (!bitmap || !::GetObjectW(bitmap, sizeof size, &size))
        return;
    CMemoryDC source(dc);
    CSelectObject select(source, bitmap);
    RECT client = GetClientRect();
    if (!m_stretch) {
        const int width = client.right < size.bmWidth ? client.right : size.bmWidth;
        const int height = client.bottom < size.bmHeight ? client.bottom : size.bmHeight;
        ::BitBlt(dc, 0, 0, width, height, source, 0, 0, SRCCOPY);
        return;
    }
    CSaveDC saved(dc);
    ::SetStretchBltMode(dc, COLORONCOLOR);
    ::StretchBlt(dc, 0, 0, client.right, client.bottom, source, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
}
