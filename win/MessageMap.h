#pragma once
// A dialog's message table: a static array of entries, each naming what it
// matches and a typed handler. A table chains to its base class's table;
// the first match, most derived class first, wins.
//
//     const MessageEntry CMyDlg::kEntries[] = {
//         OnMessage<&CMyDlg::OnClose>(WM_CLOSE),
//         OnRecord<&CMyDlg::OnVersionReply>(WM_VERSION_REPLY),
//         OnRegistered<&CMyDlg::OnMouseDown>(&MouseDownMessage),
//         OnCommand<&CMyDlg::OnHelp>(IDC_HELP),
//         OnNotify<&CMyDlg::OnItemChanged>(IDC_LIST, LVN_ITEMCHANGED),
//     };
//     const MessageTable CMyDlg::kMessageTable = MakeMessageTable(&CDialog::kMessageTable, kEntries);
//
// Handler shapes, checked at compile time against the entry's kind:
//   every kind but OnRecord       F()
//   OnMessage, OnThreadMessage,   F(WPARAM, LPARAM)
//   OnRegistered
//   OnRecord                      F(std::unique_ptr<T> record): the handler owns lParam
//   OnCommand                     F(UINT code, int id, HWND control)
//   OnNotify                      F(NMHDR&)
// A handler returns void (the answer is 0), a value (the answer), or a
// MessageResult, whose Default() leaves the message to the dialog's default
// handling as if no entry had matched.

#include <windows.h>

#include <cstddef>
#include <memory>
#include <tuple>
#include <type_traits>

class CDialog;

enum class MessageKind : unsigned char {
    Window,     // a message to the dialog's window
    Thread,     // a message posted to the dialog's thread without a window
    Record,     // a message to the window whose lParam is a heap record it owns
    Registered, // a message whose number is registered by name at run time
    Command,    // WM_COMMAND from a control, menu or accelerator
    Notify,     // WM_NOTIFY from a control
};

// Matches any notification code of a command entry.
constexpr UINT kAnyCode = 0xFFFFFFFF;

// A handler's answer: a value, or "not handled" so that the dialog's default
// handling runs (the dialog procedure returns FALSE).
class MessageResult {
public:
    constexpr MessageResult(LRESULT value) : m_value(value) {}
    static constexpr MessageResult Default()
    {
        MessageResult result(0);
        result.m_handled = false;
        return result;
    }
    constexpr bool Handled() const { return m_handled; }
    constexpr LRESULT Value() const { return m_value; }

private:
    LRESULT m_value;
    bool m_handled = true;
};

using MessageThunk = MessageResult (*)(CDialog& dialog, WPARAM wParam, LPARAM lParam);
// The number of a registered message (RegisterWindowMessageW), asked at dispatch.
using RegisteredMessage = UINT (*)();

struct MessageEntry {
    MessageKind kind;
    UINT message;                 // Window, Thread, Record: the message; else unused
    UINT id;                      // Command, Notify: the control id
    UINT code;                    // Command: the notification code or kAnyCode; Notify: the code
    RegisteredMessage registered; // Registered: its number
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

// The table of a class that adds no entry of its own to its base's.
constexpr MessageTable InheritedMessageTable(const MessageTable* base) { return MessageTable{base, nullptr, nullptr}; }

namespace message_map_detail {

template <class T> struct Member;
template <class C, class R, class... A> struct Member<R (C::*)(A...)> {
    using Class = C;
    using Result = R;
    using Arguments = std::tuple<A...>;
};

template <class T> struct OwnedRecord : std::false_type {
};
template <class T> struct OwnedRecord<std::unique_ptr<T>> : std::true_type {
    using Record = T;
};

template <MessageKind Kind, auto Handler> MessageResult Thunk(CDialog& dialog, WPARAM wParam, LPARAM lParam)
{
    using M = Member<decltype(Handler)>;
    using Arguments = typename M::Arguments;
    auto& self = static_cast<typename M::Class&>(dialog);
    auto call = [&](auto&&... arguments) -> MessageResult {
        if constexpr (std::is_void_v<typename M::Result>) {
            (self.*Handler)(std::forward<decltype(arguments)>(arguments)...);
            return 0;
        } else if constexpr (std::is_same_v<typename M::Result, MessageResult>) {
            return (self.*Handler)(std::forward<decltype(arguments)>(arguments)...);
        } else {
            return static_cast<LRESULT>((self.*Handler)(std::forward<decltype(arguments)>(arguments)...));
        }
    };
    constexpr std::size_t count = std::tuple_size_v<Arguments>;
    if constexpr (Kind == MessageKind::Record) {
        static_assert(count == 1, "a record entry's handler takes std::unique_ptr<T>");
        if constexpr (count == 1) {
            using A = std::decay_t<std::tuple_element_t<0, Arguments>>;
            static_assert(OwnedRecord<A>::value, "a record entry's handler takes std::unique_ptr<T>");
            return call(A(reinterpret_cast<typename OwnedRecord<A>::Record*>(lParam)));
        }
    } else if constexpr (count == 0) {
        return call();
    } else if constexpr (Kind == MessageKind::Command) {
        static_assert(count == 3 && std::is_same_v<Arguments, std::tuple<UINT, int, HWND>>,
                      "a command entry's handler takes (UINT code, int id, HWND control) or nothing");
        return call(static_cast<UINT>(HIWORD(wParam)), static_cast<int>(LOWORD(wParam)),
                    reinterpret_cast<HWND>(lParam));
    } else if constexpr (Kind == MessageKind::Notify) {
        static_assert(count == 1 && std::is_same_v<Arguments, std::tuple<NMHDR&>>,
                      "a notify entry's handler takes NMHDR& or nothing");
        return call(*reinterpret_cast<NMHDR*>(lParam));
    } else {
        static_assert(count == 2 && std::is_same_v<Arguments, std::tuple<WPARAM, LPARAM>>,
                      "a message entry's handler takes (WPARAM, LPARAM) or nothing; a posted record "
                      "goes to an OnRecord entry");
        return call(wParam, lParam);
    }
}

} // namespace message_map_detail

template <auto Handler> constexpr MessageEntry OnMessage(UINT message)
{
    return {MessageKind::Window, message, 0, 0, nullptr, &message_map_detail::Thunk<MessageKind::Window, Handler>};
}

template <auto Handler> constexpr MessageEntry OnThreadMessage(UINT message)
{
    return {MessageKind::Thread, message, 0, 0, nullptr, &message_map_detail::Thunk<MessageKind::Thread, Handler>};
}

template <auto Handler> constexpr MessageEntry OnRecord(UINT message)
{
    return {MessageKind::Record, message, 0, 0, nullptr, &message_map_detail::Thunk<MessageKind::Record, Handler>};
}

template <auto Handler> constexpr MessageEntry OnRegistered(RegisteredMessage registered)
{
    return {MessageKind::Registered, 0, 0, 0, registered, &message_map_detail::Thunk<MessageKind::Registered, Handler>};
}

template <auto Handler> constexpr MessageEntry OnCommand(UINT id, UINT code = kAnyCode)
{
    return {
        MessageKind::Command, WM_COMMAND, id, code, nullptr, &message_map_detail::Thunk<MessageKind::Command, Handler>};
}

template <auto Handler> constexpr MessageEntry OnNotify(UINT id, UINT code)
{
    return {
        MessageKind::Notify, WM_NOTIFY, id, code, nullptr, &message_map_detail::Thunk<MessageKind::Notify, Handler>};
}
