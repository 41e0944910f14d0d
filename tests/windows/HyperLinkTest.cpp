// The link static: set-up on attach, colours by state through the parent's
// reflection, hover tracking, fitting to its text, and clicks that open or
// fail to open the address.

#include "ui/HyperLink_win32.h"
#include "ControlTestSupport.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr int kLinkId = 1201;
constexpr Rgb kLinkColour{0, 0, 238};
constexpr Rgb kVisitedColour{85, 26, 139};

// Crisp glyphs, so that the underline is drawn in exactly the text colour.
HFONT TestFont()
{
    static HFONT font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                    CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH, L"Tahoma");
    return font;
}

struct LinkWindow {
    LinkWindow(const wchar_t* text, DWORD style = SS_LEFT, RECT rect = {10, 10, 310, 50},
               const std::wstring& address = {}, bool adjust = true)
        : parent(100, 100, 400, 200, true)
    {
        handle = parent.AddControl(L"STATIC", text, style, rect, kLinkId);
        SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(TestFont()), FALSE);
        if (!address.empty())
            link.SetAddress(address);
        link.SetAdjustSize(adjust);
        subclassed = link.SubclassDlgItem(kLinkId, parent);
    }
    // The text colour the parent's colour request leaves in a device context.
    Rgb RequestedColour(LRESULT* brush = nullptr)
    {
        CCanvas canvas(4, 4, {255, 255, 255});
        LRESULT result = SendMessageW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(static_cast<HDC>(canvas)),
                                      reinterpret_cast<LPARAM>(handle));
        if (brush)
            *brush = result;
        EXPECT_EQ(GetBkMode(canvas), TRANSPARENT);
        return ToRgb(GetTextColor(canvas));
    }
    // How many pixels the link draws in that colour on a white background.
    int PixelsIn(Rgb colour)
    {
        RECT client;
        GetClientRect(handle, &client);
        auto canvas = PrintClient(handle, client.right, client.bottom, {255, 255, 255});
        int count = 0;
        for (int y = 0; y < canvas->Height(); ++y)
            for (int x = 0; x < canvas->Width(); ++x)
                count += canvas->At(x, y) == colour;
        return count;
    }
    RECT RectInParent() const
    {
        RECT rect;
        GetWindowRect(handle, &rect);
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    CReflectingParent parent;
    HWND handle = nullptr;
    CHyperLink link;
    bool subclassed = false;
};

std::wstring TextOf(HWND window)
{
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

SIZE TextSize(const wchar_t* text, HFONT font)
{
    CCanvas canvas(1, 1, {});
    SelectObject(canvas, font);
    RECT box{};
    DrawTextW(canvas, text, -1, &box, DT_SINGLELINE | DT_CALCRECT);
    return {box.right, box.bottom};
}

void Click(HWND link)
{
    SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

} // namespace

TEST(HyperLink, SetUpTakesTheTextAsAddressAndUnderlines)
{
    LinkWindow window(L"Z:\\no\\such\\page.pelno");
    ASSERT_TRUE(window.subclassed);
    EXPECT_EQ(window.link.Address(), L"Z:\\no\\such\\page.pelno");
    EXPECT_TRUE(GetWindowLongPtrW(window.handle, GWL_STYLE) & SS_NOTIFY);

    LOGFONTW font{};
    ASSERT_TRUE(GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window.handle, WM_GETFONT, 0, 0)), sizeof font, &font));
    EXPECT_TRUE(font.lfUnderline);
    EXPECT_EQ(font.lfHeight, -12) << "the control's own font, underlined";

    // The tooltip names the address.
    ASSERT_TRUE(IsWindow(window.link.Tooltip()));
    EXPECT_EQ(SendMessageW(window.link.Tooltip(), TTM_GETTOOLCOUNT, 0, 0), 1);
    wchar_t tip[256] = {};
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = window.handle;
    tool.uId = 1;
    tool.lpszText = tip;
    SendMessageW(window.link.Tooltip(), TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(tip, L"Z:\\no\\such\\page.pelno");

    // The hand cursor: the help viewer's where the Windows folder has one,
    // else the system's hand (Wine keeps its help viewer elsewhere).
    wchar_t folder[MAX_PATH];
    GetWindowsDirectoryW(folder, MAX_PATH);
    bool viewer = GetFileAttributesW((std::wstring(folder) + L"\\winhlp32.exe").c_str()) != INVALID_FILE_ATTRIBUTES;
    ASSERT_NE(window.link.LinkCursor(), nullptr);
    EXPECT_EQ(window.link.LinkCursor() == LoadCursorW(nullptr, IDC_HAND), !viewer);
    EXPECT_EQ(SendMessageW(window.handle, WM_SETCURSOR, reinterpret_cast<WPARAM>(window.handle),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              TRUE);
    EXPECT_EQ(GetCursor(), window.link.LinkCursor());
}

TEST(HyperLink, EmptyTextShowsTheAddress)
{
    LinkWindow window(L"", SS_LEFT, {10, 10, 310, 50}, L"http://example.invalid/");
    EXPECT_EQ(TextOf(window.handle), L"http://example.invalid/");
    EXPECT_EQ(window.link.Address(), L"http://example.invalid/");
}

TEST(HyperLink, ColourFollowsHoverAndVisited)
{
    LinkWindow window(L"Pelno");
    LRESULT brush = 0;
    EXPECT_EQ(window.RequestedColour(&brush), kLinkColour);
    EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH))) << "no background brush";
    EXPECT_GT(window.PixelsIn(kLinkColour), 15) << "text and underline drawn in the link colour";

    // The pointer comes over the link: hover colour, and the link holds the capture.
    SendMessageW(window.handle, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_TRUE(window.link.IsOver());
    EXPECT_EQ(GetCapture(), window.handle);
    Rgb hover = ToRgb(GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(window.RequestedColour(), hover);
    EXPECT_GT(window.PixelsIn(hover), 15);
    SendMessageW(window.handle, WM_MOUSEMOVE, 0, MAKELPARAM(4, 3)); // still inside
    EXPECT_TRUE(window.link.IsOver());

    // And leaves it (a captured move outside the client area).
    SendMessageW(window.handle, WM_MOUSEMOVE, 0, MAKELPARAM(-5, -5));
    EXPECT_FALSE(window.link.IsOver());
    EXPECT_NE(GetCapture(), window.handle);
    EXPECT_EQ(window.RequestedColour(), kLinkColour);

    window.link.SetVisited(true);
    EXPECT_EQ(window.RequestedColour(), kVisitedColour);
    SendMessageW(window.handle, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(window.RequestedColour(), hover) << "hover wins over visited";
    SendMessageW(window.handle, WM_MOUSEMOVE, 0, MAKELPARAM(-5, -5));
}

TEST(HyperLink, LosingTheCaptureEndsTheHover)
{
    LinkWindow window(L"Pelno");
    SendMessageW(window.handle, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    ASSERT_TRUE(window.link.IsOver());
    SetCapture(window.parent);
    EXPECT_FALSE(window.link.IsOver());
    EXPECT_EQ(window.RequestedColour(), kLinkColour);
    ReleaseCapture();
}

TEST(HyperLink, AddressThatCannotBeOpenedKeepsTheLinkColour)
{
    LinkWindow window(L"Pelno", SS_LEFT, {10, 10, 310, 50}, L"Z:\\no\\such\\file.pelno");
    window.link.SetVisited(true);
    Click(window.handle); // the static reports the click; the parent reflects it
    EXPECT_FALSE(window.link.IsVisited());
    EXPECT_EQ(window.RequestedColour(), kLinkColour);
}

TEST(HyperLink, OpenedAddressIsVisited)
{
    // A program that ends at once stands in for a web page.
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    std::wstring program = std::wstring(system) + L"\\hostname.exe";
    if (GetFileAttributesW(program.c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no hostname.exe to open";
    LinkWindow window(L"Pelno", SS_LEFT, {10, 10, 310, 50}, program);
    Click(window.handle);
    EXPECT_TRUE(window.link.IsVisited());
    EXPECT_EQ(window.RequestedColour(), kVisitedColour);
}

TEST(HyperLink, FitsItselfToItsText)
{
    SIZE text = TextSize(L"Pelno", TestFont()); // the underline does not change the extent
    {
        LinkWindow window(L"Pelno");
        RECT rect = window.RectInParent();
        EXPECT_EQ(rect.left, 10);
        EXPECT_EQ(rect.top, 10);
        EXPECT_EQ(rect.right - rect.left, text.cx);
        EXPECT_EQ(rect.bottom - rect.top, text.cy);
    }
    {
        LinkWindow window(L"Pelno", SS_RIGHT | SS_CENTERIMAGE);
        RECT rect = window.RectInParent();
        EXPECT_EQ(rect.right, 310) << "right-aligned text keeps its right edge";
        EXPECT_EQ(rect.right - rect.left, text.cx);
        EXPECT_EQ(rect.top, 10 + (40 - text.cy) / 2) << "centred vertically";
    }
    {
        LinkWindow window(L"Pelno", SS_CENTER);
        RECT rect = window.RectInParent();
        EXPECT_EQ(rect.left, 10 + (300 - text.cx) / 2);
        EXPECT_EQ(rect.top, 10);
    }
    {
        LinkWindow window(L"Pelno", SS_LEFT, {10, 10, 310, 50}, {}, false);
        RECT rect = window.RectInParent();
        EXPECT_EQ(rect.right - rect.left, 300) << "without adjusting, the size stays";
    }
}
