#pragma once
// A manual-reset event: stays set until reset; waits are bounded.

#include <chrono>
#include <condition_variable>
#include <mutex>

class CManualResetEvent {
public:
    void Set()
    {
        {
            std::lock_guard lock(m_mutex);
            m_set = true;
        }
        m_changed.notify_all();
    }
    void Reset()
    {
        std::lock_guard lock(m_mutex);
        m_set = false;
    }
    // True when the event was set within the time.
    bool Wait(unsigned milliseconds)
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return m_set; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_set = false;
};
