#pragma once
// An image list, owned: destroyed with the object. A list view given it
// must have the LVS_SHAREIMAGELISTS style, or it would destroy it too.

#include <windows.h>

#include <commctrl.h>

#include <utility>

class CImageList {
public:
    CImageList() = default;
    ~CImageList() { Destroy(); }
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    // Images of width x height pixels in colour with a mask.
    bool Create(int width, int height, int initial = 2, int grow = 2)
    {
        Destroy();
        m_list = ::ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, initial, grow);
        return m_list != nullptr;
    }
    void Destroy()
    {
        if (m_list)
            ::ImageList_Destroy(std::exchange(m_list, nullptr));
    }
    // Adds a bitmap whose pixels of the mask colour are transparent; returns
    // the image's index or -1. The list keeps a copy: the caller still owns the bitmap.
    int AddMasked(HBITMAP bitmap, COLORREF maskColour) { return ::ImageList_AddMasked(m_list, bitmap, maskColour); }
    int Count() const { return m_list ? ::ImageList_GetImageCount(m_list) : 0; }

    operator HIMAGELIST() const { return m_list; }

private:
    HIMAGELIST m_list = nullptr;
};
