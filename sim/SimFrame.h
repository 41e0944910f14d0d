#pragma once
// One virtual touchscreen from the device's side: it takes the reports the
// host sends and queues the input reports it answers with. Input reports
// wait in the frame until a pending read takes them, oldest read first, as
// the HID driver's buffer does.

#include "platform/HidPort.h"
#include "sim/SimScenario.h"

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <list>
#include <memory>
#include <mutex>
#include <random>
#include <vector>

class CSimFrame : public std::enable_shared_from_this<CSimFrame> {
public:
    using Clock = std::chrono::steady_clock;
    using InputReport = std::array<std::uint8_t, 100>;

    CSimFrame(SimFrameSetup setup, unsigned index);

    const SimFrameSetup& Setup() const { return m_setup; }
    // The number stored inside the frame (written by 0x5631).
    int StoredNumber();

    // A report from the host; false once the frame is unplugged.
    bool ReceiveOutput(const std::uint8_t* report, std::size_t length);
    bool ReceiveFeature(const std::uint8_t* report, std::size_t length);

    std::unique_ptr<IHidPendingRead> StartRead(std::uint8_t* buffer, std::size_t length);

    // A finger lifted now at raw x, y: one touch report, read like a scripted one.
    void QueueTouch(std::uint16_t x, std::uint16_t y);
    // Between touch reporting's start (0xAA50) and its stop (0xAA55).
    bool Streaming();

    // Removes the frame: pending and later reads fail, sends fail.
    void Unplug();
    bool Unplugged();

    // Input reports queued and not yet read (for tests).
    std::size_t QueuedReports();
    std::size_t PendingReads();

private:
    struct Queued {
        Clock::time_point readyAt;
        InputReport report;
        bool touch;
    };
    struct Read {
        std::uint8_t* buffer;
        std::size_t length;
        bool complete = false;
        std::size_t bytes = 0;
    };
    class CPendingRead;

    void LogLocked(const std::uint8_t* report, std::size_t length);
    void AnswerLocked(std::uint16_t command, const std::uint8_t* report);
    void QueueLocked(InputReport report, unsigned delayMs, bool touch = false);
    void QueueAnswerLocked(std::initializer_list<std::uint8_t> answer);
    void QueueEndReplyLocked(std::uint8_t x);
    void QueueScanLocked(std::uint8_t second, const std::vector<std::uint8_t>& bytes);
    std::vector<std::uint8_t> LevelBytes() const;
    std::vector<std::uint8_t> StatusBytes() const;
    void AnswerFirmwareLocked(const std::uint8_t* report, std::size_t length);
    void DeliverDueLocked(Clock::time_point now);
    HidWaitResult WaitRead(Read& read, unsigned milliseconds, std::size_t& bytes);
    void CancelRead(Read& read);

    SimFrameSetup m_setup;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Queued> m_queue; // ordered by readyAt
    std::list<Read*> m_pendingReads;
    std::mt19937 m_random;
    int m_storedNumber;
    std::size_t m_framesAnswered = 0;
    bool m_unplugged = false;
    bool m_streaming = false;
};
