#pragma once
// A list-view control: the window wrapper plus the item messages used here.

#include "win/Window.h"

#include <commctrl.h>

#include <string>

class CListView : public CWindow {
public:
    using CWindow::CWindow;

    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    bool DeleteAllItems() const { return SendMessage(LVM_DELETEALLITEMS) != 0; }

    // Inserts an item with its text and image; returns its index or -1.
    int InsertItem(int index, const std::wstring& text, int image) const
    {
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = index;
        item.pszText = const_cast<wchar_t*>(text.c_str());
        item.iImage = image;
        return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    }

    std::wstring GetItemText(int index) const
    {
        wchar_t buffer[260] = {};
        LVITEMW item{};
        item.iSubItem = 0;
        item.pszText = buffer;
        item.cchTextMax = static_cast<int>(std::size(buffer));
        int length = static_cast<int>(SendMessage(LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item)));
        return std::wstring(buffer, static_cast<std::size_t>(length > 0 ? length : 0));
    }

    int GetItemImage(int index) const
    {
        LVITEMW item{};
        item.mask = LVIF_IMAGE;
        item.iItem = index;
        return SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? item.iImage : -1;
    }

    UINT GetItemState(int index, UINT mask) const
    {
        return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, index, mask));
    }
    void SetItemState(int index, UINT state, UINT mask) const
    {
        LVITEMW item{};
        item.stateMask = mask;
        item.state = state;
        SendMessage(LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item));
    }

    // The first selected item, or -1.
    int GetSelectedItem() const { return static_cast<int>(SendMessage(LVM_GETNEXTITEM, -1, LVNI_SELECTED)); }

    HIMAGELIST SetImageList(HIMAGELIST list, int which = LVSIL_NORMAL) const
    {
        return reinterpret_cast<HIMAGELIST>(SendMessage(LVM_SETIMAGELIST, which, reinterpret_cast<LPARAM>(list)));
    }

    void SetRedraw(bool redraw) const { SendMessage(WM_SETREDRAW, redraw ? TRUE : FALSE); }
};
