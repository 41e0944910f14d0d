#pragma once
// A list box control: the window wrapper plus the list box messages.

#include "win/Window.h"

#include <string>

class CListBox : public CWindow {
public:
    using CWindow::CWindow;

    void ResetContent() const { SendMessage(LB_RESETCONTENT); }
    int AddString(const std::wstring& text) const
    {
        return static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
    }
    int GetCount() const { return static_cast<int>(SendMessage(LB_GETCOUNT)); }
    std::wstring GetText(int index) const
    {
        const auto length = SendMessage(LB_GETTEXTLEN, static_cast<WPARAM>(index));
        if (length == LB_ERR)
            return {};
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        const auto copied = SendMessage(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
        text.resize(copied == LB_ERR ? 0 : static_cast<std::size_t>(copied));
        return text;
    }
    // Grows the list's storage ahead of adding many lines.
    void Reserve(int items, std::size_t bytes) const
    {
        SendMessage(LB_INITSTORAGE, static_cast<WPARAM>(items), static_cast<LPARAM>(bytes));
    }
};
