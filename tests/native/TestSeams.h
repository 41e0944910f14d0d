#pragma once
// Seams that record what portable code did, for the native tests.

#include "device/DeviceRequest.h"
#include "platform/Console.h"
#include "platform/System.h"
#include "platform/WindowMessenger.h"

#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
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

// A console with a screen: text lands at the cursor, a line end moves it to
// the start of the next row, Clear blanks every row and homes the cursor.
class CScreenConsole : public IConsole {
public:
    std::vector<std::string> rows;
    std::wstring title;
    int clears = 0;
    std::vector<std::string> writesAtProgressRow; // texts written at column 0 of row 2
    void Attach() override {}
    void SetTitle(std::wstring_view text) override { title = text; }
    bool IsConsole() override { return true; }
    void SetCursorPosition(int column, int row) override
    {
        m_column = column;
        m_row = row;
    }
    void Clear() override
    {
        ++clears;
        rows.clear();
        m_column = m_row = 0;
    }
    void Write(std::string_view text) override
    {
        if (m_row == 2 && m_column == 0)
            writesAtProgressRow.emplace_back(text);
        for (char c : text) {
            if (c == '\n') {
                ++m_row;
                m_column = 0;
                continue;
            }
            if (rows.size() <= std::size_t(m_row))
                rows.resize(std::size_t(m_row) + 1);
            std::string& line = rows[std::size_t(m_row)];
            if (line.size() <= std::size_t(m_column))
                line.resize(std::size_t(m_column) + 1, ' ');
            line[std::size_t(m_column++)] = c;
        }
    }

private:
    int m_column = 0;
    int m_row = 0;
};

// Sleeps are recorded, not slept.
class CRecordingSystem : public ISystem {
public:
    std::vector<unsigned> sleeps;
    unsigned DefaultLanguageId() override { return 1033; }
    std::wstring ProgramFolder() override { return L"C:\\Program"; }
    void Sleep(unsigned milliseconds) override { sleeps.push_back(milliseconds); }
};

struct PostedMessage {
    WindowHandle window;
    unsigned message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
    bool toOwnWindows;
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
    void PostToOwnWindows(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override
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
