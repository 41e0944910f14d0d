#pragma once
// Time measured with the performance counter, for benchmarks and tests.

#include <windows.h>

// Started when made; Restart starts it again.
class CStopwatch {
public:
    CStopwatch() { Restart(); }
    void Restart() { m_start = Now(); }

    // The counter's reading, to mark a moment for MillisecondsTo.
    static LARGE_INTEGER Now()
    {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return now;
    }
    double MillisecondsTo(LARGE_INTEGER moment) const
    {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return 1000.0 * double(moment.QuadPart - m_start.QuadPart) / double(frequency.QuadPart);
    }
    double Milliseconds() const { return MillisecondsTo(Now()); }
    double Seconds() const { return Milliseconds() / 1000.0; }

private:
    LARGE_INTEGER m_start;
};
