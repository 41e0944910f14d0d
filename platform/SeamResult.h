#pragma once
// What a seam call that can fail gives back: success, or the name of the
// system call that failed with the system's error code (GetLastError, or a
// HID parser status). It tests as a bool, true on success, so that
// `if (!seam.Call(...))` reads as before; whoever shows the failure to the
// user also logs the call and its code (common/MainLog.h).

#include <string>

class SeamResult {
public:
    // Success.
    SeamResult() = default;
    // Success or a failure without a system call to name (a fake's refusal,
    // a rule of our own).
    SeamResult(bool succeeded) : m_call(succeeded ? nullptr : "") {}
    static SeamResult Failed(const char* call, unsigned code)
    {
        SeamResult failed;
        failed.m_call = call ? call : "";
        failed.m_code = code;
        return failed;
    }

    explicit operator bool() const { return m_call == nullptr; }
    bool Succeeded() const { return m_call == nullptr; }
    // The failing call's name (empty when none is known) and its code; both
    // empty and 0 on success.
    const char* Call() const { return m_call ? m_call : ""; }
    unsigned Code() const { return m_code; }
    // "CreateFileW failed with error 5", for the log.
    std::wstring Describe() const
    {
        if (Succeeded())
            return L"succeeded";
        const std::string call = *m_call ? m_call : "a call";
        return std::wstring(call.begin(), call.end()) + L" failed with error " + std::to_wstring(m_code);
    }

private:
    const char* m_call = nullptr; // null: success; a static string naming the call otherwise
    unsigned m_code = 0;
};
