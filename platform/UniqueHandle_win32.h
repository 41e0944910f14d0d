#pragma once
// Owns one kernel handle (file, event, thread) and closes it when it goes.
// Both of the system's "no handle" values, null and INVALID_HANDLE_VALUE,
// count as none.

#include <windows.h>

#include <utility>

class CUniqueHandle {
public:
    CUniqueHandle() = default;
    explicit CUniqueHandle(HANDLE handle) : m_handle(handle) {}
    ~CUniqueHandle() { Close(); }
    CUniqueHandle(const CUniqueHandle&) = delete;
    CUniqueHandle& operator=(const CUniqueHandle&) = delete;
    CUniqueHandle(CUniqueHandle&& other) noexcept : m_handle(other.Release()) {}
    CUniqueHandle& operator=(CUniqueHandle&& other) noexcept
    {
        if (this != &other) {
            Close();
            m_handle = other.Release();
        }
        return *this;
    }

    bool Valid() const { return m_handle && m_handle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_handle; }
    // Gives the handle up to a new owner.
    HANDLE Release() { return std::exchange(m_handle, INVALID_HANDLE_VALUE); }
    // False when the system reports that the handle could not be closed (for
    // a file: its last data may not have been written).
    bool Close()
    {
        if (!Valid())
            return true;
        const bool closed = ::CloseHandle(std::exchange(m_handle, INVALID_HANDLE_VALUE)) != 0;
        return closed;
    }

private:
    HANDLE m_handle = INVALID_HANDLE_VALUE;
};
