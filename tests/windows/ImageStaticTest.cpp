// The picture static paints bitmap 177 of the module owning the window over
// its client area. Here that module is PelnoTestImages.dll, whose 4 x 2
// bitmap (TestResources.rc) makes every pixel predictable.

#include "ui/ImageStatic_win32.h"
#include "ControlTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr Rgb kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255}, kYellow{255, 255, 0}, kGrey{128, 128, 128};

struct PictureWindow {
    PictureWindow(int width, int height, bool stretch = true) : parent(100, 100, 300, 200, true), picture(stretch)
    {
        handle = parent.AddControl(L"STATIC", L"", SS_LEFT, {10, 10, 10 + width, 10 + height}, 1089);
        if (HMODULE images = LoadLibraryW(L"PelnoTestImages.dll"))
            SetWindowLongPtrW(handle, GWLP_HINSTANCE, reinterpret_cast<LONG_PTR>(images));
        subclassed = picture.SubclassDlgItem(1089, parent);
    }
    std::unique_ptr<CCanvas> Print(int width, int height) { return PrintClient(handle, width, height, kGrey); }
    CReflectingParent parent;
    HWND handle = nullptr;
    CImageStatic picture;
    bool subclassed = false;
};

} // namespace

TEST(ImageStatic, PaintsTheBitmapAtItsOwnSize)
{
    PictureWindow window(4, 2);
    ASSERT_TRUE(window.subclassed);
    auto canvas = window.Print(4, 2);
    const Rgb expected[2][4] = {{kRed, kRed, kGreen, kGreen}, {kBlue, kBlue, kYellow, kYellow}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(canvas->At(x, y), expected[y][x]) << x << "," << y;
}

TEST(ImageStatic, StretchesTheBitmapOverALargerControl)
{
    PictureWindow window(40, 20);
    auto canvas = window.Print(40, 20);
    EXPECT_EQ(canvas->At(5, 5), kRed);
    EXPECT_EQ(canvas->At(35, 5), kGreen);
    EXPECT_EQ(canvas->At(5, 15), kBlue);
    EXPECT_EQ(canvas->At(35, 15), kYellow);
    EXPECT_EQ(canvas->At(39, 19), kYellow) << "up to the last pixel";
}

TEST(ImageStatic, RealPaintShowsTheBitmap)
{
    PictureWindow window(40, 20);
    InvalidateRect(window.handle, nullptr, TRUE);
    UpdateWindow(window.handle);
    HDC dc = GetDC(window.handle);
    EXPECT_EQ(ToRgb(GetPixel(dc, 5, 5)), kRed);
    EXPECT_EQ(ToRgb(GetPixel(dc, 35, 15)), kYellow);
    ReleaseDC(window.handle, dc);
}

TEST(ImageStatic, ModuleWithoutTheBitmapPaintsNothing)
{
    PictureWindow window(4, 2);
    // Owned by a module that has no bitmap 177: the configuration library.
    HMODULE library = GetModuleHandleW(L"Sarnet.dll");
    ASSERT_NE(library, nullptr);
    SetWindowLongPtrW(window.handle, GWLP_HINSTANCE, reinterpret_cast<LONG_PTR>(library));
    auto canvas = window.Print(4, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(canvas->At(x, y), kGrey);
}

TEST(ImageStatic, UnstretchedTheBitmapIsCutOrLeavesTheRestUnpainted)
{
    struct Case {
        int width, height;
        std::vector<Rgb> row0, row1; // the printed pixels, grey where nothing was painted
    };
    const Case cases[] = {
        {2, 1, {kRed, kRed}, {}}, // larger than the control: cut
        {6, 3, {kRed, kRed, kGreen, kGreen, kGrey, kGrey}, {kBlue, kBlue, kYellow, kYellow, kGrey, kGrey}}, // smaller
    };
    for (const Case& c : cases) {
        PictureWindow window(c.width, c.height, false);
        auto canvas = window.Print(c.width, c.height);
        for (int x = 0; x < c.width; ++x) {
            EXPECT_EQ(canvas->At(x, 0), c.row0[x]) << c.width << ": " << x;
            if (!c.row1.empty()) {
                EXPECT_EQ(canvas->At(x, 1), c.row1[x]) << c.width << ": " << x;
            }
        }
        if (c.height > 2) {
            EXPECT_EQ(canvas->At(0, 2), kGrey) << "below the bitmap";
        }
    }
}
