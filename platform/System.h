#pragma once
// Seam: facts about the running process and the system.

#include <chrono>
#include <functional>
#include <string>
#include <system_error>
#include <thread>

class ISystem {
public:
    virtual ~ISystem() = default;
    // The system's default language id (1033 English, 2052 Chinese, 1041 Japanese).
    virtual unsigned DefaultLanguageId() = 0;
    // The folder of the running executable, without a trailing backslash.
    virtual std::wstring ProgramFolder() = 0;
    // Whether a file (not a folder) is at this path.
    virtual bool FileExists(const std::wstring&) { return false; }
    virtual void Sleep(unsigned milliseconds) = 0;
    // Raises the calling thread's priority (request workers run above normal).
    virtual void RaiseCurrentThreadPriority() {}
    // Starts a thread running `body`; false, with `body` never run, when the
    // system cannot create one.
    virtual bool StartThread(std::thread& thread, std::function<void()> body)
    {
        try {
            thread = std::thread(std::move(body));
            return true;
        } catch (const std::system_error&) {
            return false;
        }
    }
};

// Sleeps with the standard library and knows no language or folder, for
// tests and tools.
class CStandardSystem : public ISystem {
public:
    unsigned DefaultLanguageId() override { return 1033; }
    std::wstring ProgramFolder() override { return {}; }
    void Sleep(unsigned milliseconds) override { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }
};
