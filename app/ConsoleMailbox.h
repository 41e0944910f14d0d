#pragma once
// The window of a console command that has none: the device thread and a
// panel's job post to it as to a dialog, and the command takes the messages
// on its own thread, one at a time, each wait bounded. A posted record left
// in the box when it goes is freed. One box may stand for several windows
// (a dialog and its owner), each message keeping the window it was sent to.

#include "device/DeviceRequest.h"
#include "platform/Handles.h"
#include "platform/WindowMessenger.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

class CConsoleMailbox : public IWindowMessenger {
public:
    struct Message {
        WindowHandle window = nullptr;
        unsigned message = 0;
        std::uintptr_t wParam = 0;
        std::intptr_t lParam = 0;
    };

    // The mailbox answers to `window`, or by default to a handle of its own.
    explicit CConsoleMailbox(WindowHandle window = nullptr) : m_windows{window ? window : this} {}
    ~CConsoleMailbox() override;

    // The handle requests name as their reply window; posts to any window
    // the box does not answer to are refused.
    WindowHandle Window() const { return m_windows.front(); }
    // Takes the posts to `window` as well.
    void AlsoAnswerTo(WindowHandle window) { m_windows.push_back(window); }

    bool Post(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void PostToOwnWindows(unsigned, std::uintptr_t, std::intptr_t) override {}
    void PostQuit(int) override {}

    // The record a device reply's message carries, owned by the caller from
    // here on; null for any other message.
    static std::unique_ptr<DeviceReply> TakeReply(const Message& message);
    // Frees the record a message carries, if any, for a message taken and
    // not handed on.
    static void Free(const Message& message);

    // The oldest message, waiting at most `timeout` for one.
    std::optional<Message> Take(std::chrono::milliseconds timeout);

private:
    std::vector<WindowHandle> m_windows;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Message> m_queue;
};
