#pragma once
// A dialog's message table: a static array of entries, each naming what it
// matches (a window message, a thread message, a command id and code, or a
// notification id and code) and a typed handler. A table chains to its base
// class's table; the first match, most derived class first, wins.
//
//     const MessageEntry CMyDlg::kEntries[] = {
//         OnMessage<&CMyDlg::OnClose>(WM_CLOSE),
//         OnCommand<&CMyDlg::OnHelp>(IDC_HELP),
//         OnNotify<&CMyDlg::OnItemChanged>(IDC_LIST, LVN_ITEMCHANGED),
//     };
//     const MessageTable CMyDlg::kMessageTable = MakeMessageTable(&CDialog::kMessageTable, kEntries);
//
// Handler shapes, chosen by the handler's parameters:
//   void F() / LRESULT F()                   nothing from the message
//   void F(WPARAM, LPARAM) / LRESULT F(...)  the raw parameters
//   void F(T* record)                        lParam as a pointer (posted records)
//   void F(NMHDR&) / LRESULT F(NMHDR&)       a notification's header
//   void F(UINT code, int id, HWND control)  a command's parts
// The result of a handler that returns void is 0.

#include <windows.h>

#include <cstddef>
#include <tuple>
#include <type_traits>

class CDialog;

enum class MessageKind : unsigned char {
    Window,  // a message to the dialog's window
    Thread,  // a message posted to the dialog's thread without a window
    Command, // WM_COMMAND from a control, menu or accelerator
    Notify,  // WM_NOTIFY from a control
};

// Matches any notification code of a command entry.
constexpr UINT kAnyCode = 0xFFFFFFFF;

using MessageThunk = LRESULT (*)(CDialog& dialog, WPARAM wParam, LPARAM lParam);

struct MessageEntry {
    MessageKind kind;
    UINT message; // Window, Thread: the message; Command, Notify: unused
    UINT id;      // Command, Notify: the control id
    UINT code;    // Command: the notification code or kAnyCode; Notify: the code
    MessageThunk thunk;
};

struct MessageTable {
    const MessageTable* base;
    const MessageEntry* begin;
    const MessageEntry* end;
};

template <std::size_t N>
constexpr MessageTable MakeMessageTable(const MessageTable* base, const MessageEntry (&entries)[N])
{
    return MessageTable{base, entries, entries + N};
}

namespace message_map_detail {

template <class T> struct Member;
template <class C, class R, class... A> struct Member<R (C::*)(A...)> {
    using Class = C;
    using Result = R;
    using Arguments = std::tuple<A...>;
};

template <class> inline constexpr bool kUnsupported = false;

template <auto Handler> LRESULT Thunk(CDialog& dialog, WPARAM wParam, LPARAM lParam)
{
    using M = Member<decltype(Handler)>;
    using Arguments = typename M::Arguments;
    auto& self = static_cast<typename M::Class&>(dialog);
    auto call = [&](auto&&... arguments) -> LRESULT {
        if constexpr (std::is_void_v<typename M::Result>) {
            (self.*Handler)(arguments...);
            return 0;
        } else {
            return static_cast<LRESULT>((self.*Handler)(arguments...));
        }
    };
    constexpr std::size_t count = std::tuple_size_v<Arguments>;
    if constexpr (count == 0) {
        return call();
    } else if constexpr (count == 1) {
        using A = std::tuple_element_t<0, Arguments>;
        if constexpr (std::is_same_v<A, NMHDR&>)
            return call(*reinterpret_cast<NMHDR*>(lParam));
        else if constexpr (std::is_pointer_v<A>)
            return call(reinterpret_cast<A>(lParam));
        else
            static_assert(kUnsupported<A>, "a one-parameter handler takes a pointer or NMHDR&");
    } else if constexpr (count == 2) {
        return call(wParam, lParam);
    } else if constexpr (count == 3) {
        return call(static_cast<UINT>(HIWORD(wParam)), static_cast<int>(LOWORD(wParam)),
                    reinterpret_cast<HWND>(lParam));
    } else {
        static_assert(kUnsupported<Arguments>, "unsupported handler shape");
    }
}

} // namespace message_map_detail

template <auto Handler> constexpr MessageEntry OnMessage(UINT message)
{
    return {MessageKind::Window, message, 0, 0, &message_map_detail::Thunk<Handler>};
}

template <auto Handler> constexpr MessageEntry OnThreadMessage(UINT message)
{
    return {MessageKind::Thread, message, 0, 0, &message_map_detail::Thunk<Handler>};
}

template <auto Handler> constexpr MessageEntry OnCommand(UINT id, UINT code = kAnyCode)
{
    return {MessageKind::Command, WM_COMMAND, id, code, &message_map_detail::Thunk<Handler>};
}

template <auto Handler> constexpr MessageEntry OnNotify(UINT id, UINT code)
{
    return {MessageKind::Notify, WM_NOTIFY, id, code, &message_map_detail::Thunk<Handler>};
}
