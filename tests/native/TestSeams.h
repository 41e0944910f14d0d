#pragma once
// Seams that record what portable code did, for the native tests.

#include "platform/Console.h"
#include "platform/WindowMessenger.h"

#include <mutex>
#include <string>
#include <vector>

class CCapturingConsole : public IConsole {
public:
    std::string output;
    int attachCount = 0;
    void Attach() override { ++attachCount; }
    void SetTitle(std::wstring_view) override {}
    bool IsConsole() override { return false; }
    void SetCursorPosition(int, int) override {}
    void Clear() override {}
    void Write(std::string_view text) override { output += text; }
};

struct PostedMessage {
    WindowHandle window;
    unsigned message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
    bool broadcast;
};

class CRecordingMessenger : public IWindowMessenger {
public:
    std::vector<PostedMessage> posted;
    std::vector<int> quits;
    bool Post(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override
    {
        std::lock_guard lock(m_mutex);
        posted.push_back({window, message, wParam, lParam, false});
        return true;
    }
    void Broadcast(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override
    {
        std::lock_guard lock(m_mutex);
        posted.push_back({nullptr, message, wParam, lParam, true});
    }
    void PostQuit(int exitCode) override
    {
        std::lock_guard lock(m_mutex);
        quits.push_back(exitCode);
    }

private:
    std::mutex m_mutex;
};
