#pragma once
// Loading the bitmap drawn for a window's DPI (ui/ScaledImages.h).

#include "ui/ScaledImages.h"
#include "win/GdiObjects.h"

// Bitmap `id` of the module as drawn for that DPI, or its 96-DPI picture
// where the module has no other.
inline CBitmap LoadScaledBitmap(HINSTANCE module, int id, unsigned dpi)
{
    CBitmap bitmap(::LoadBitmapW(module, MAKEINTRESOURCEW(ScaledImageId(id, dpi))));
    if (!bitmap)
        bitmap.Reset(::LoadBitmapW(module, MAKEINTRESOURCEW(id)));
    return bitmap;
}

// The bitmap's width and height; 0 x 0 without one.
inline SIZE BitmapSize(HBITMAP bitmap)
{
    BITMAP info{};
    if (!bitmap || !::GetObjectW(bitmap, sizeof info, &info))
        return {0, 0};
    return {info.bmWidth, info.bmHeight};
}
