#pragma once
// Touch reporting, per touchscreen. A start (0xAA50) opens a stream on its
// touchscreen; a stop (0xAA55) ends that touchscreen's stream and nothing
// else: neither the stop flag of a timed-out exchange nor another
// touchscreen's stop ends it. Each stream has an identity, so that the worker
// of an ended stream knows it has ended, and a report read after the stop is
// never delivered as a touch.
//
// Several workers may read one touchscreen, and each input report goes to
// whichever read completes first. So every worker hands the reports it reads
// on a streaming touchscreen to the streams: a touch goes to the live
// stream's window, once; anything else is dropped, as streaming mode wants.
//
// The start and stop commands of one touchscreen go out in the order they
// were dispatched, although each is sent by a worker of its own: a stop
// followed at once by a start (ReCalibrate) never leaves the frame stopped
// under a stream that waits for it.

#include "device/DeviceRequest.h"

#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

class IWindowMessenger;

class CTouchStreams {
public:
    using StreamId = std::uint64_t; // 0: none

    // What the dispatch of a start or stop hands to the worker that sends it.
    struct Ticket {
        DeviceHandle touchScreen = nullptr;
        StreamId stream = 0;    // the stream a start opens; 0 for a stop
        std::uint64_t turn = 0; // its place among the touchscreen's start and stop commands
    };

    // The device thread's dispatch, in the order the requests came. A start
    // ends the touchscreen's earlier stream and opens a new one, whose
    // touches go to `window` as `message`, naming `slot`; it is live once its
    // command went out. A stop ends the touchscreen's stream at once.
    Ticket Start(DeviceHandle touchScreen, WindowHandle window, unsigned message, std::int32_t slot);
    Ticket Stop(DeviceHandle touchScreen);

    // Ends the touchscreen's stream, or only that stream when one is named
    // (its reader is gone). Nothing is sent.
    void End(DeviceHandle touchScreen, StreamId stream = 0);
    // Ends every stream (the device thread stops).
    void EndAll();

    // The worker of a start or stop waits until the commands dispatched
    // before it went out (at most kTurnWaitMs), sends, then calls Sent, also
    // when sending failed or no worker could be started.
    void AwaitTurn(const Ticket& ticket);
    void Sent(const Ticket& ticket, bool sent);

    // True while the stream is its touchscreen's live stream.
    bool IsLive(DeviceHandle touchScreen, StreamId stream) const;
    // True while the touchscreen (or, without one, any touchscreen) has a stream.
    bool Streaming(DeviceHandle touchScreen) const;
    bool Streaming() const;

    enum class Route {
        Delivered,   // a touch, posted to the live stream's window (the reply is taken)
        Dropped,     // the touchscreen streams and this is no touch of a live stream
        NotStreaming // the caller keeps the reply and delivers it as usual
    };
    // An input report a worker read on the touchscreen.
    Route RouteReport(DeviceHandle touchScreen, std::unique_ptr<DeviceReply>& reply, IWindowMessenger& messenger);

    // A send never takes this long; past it a command goes out of turn rather than never.
    static constexpr unsigned kTurnWaitMs = 1000;

private:
    struct Entry {
        StreamId current = 0; // the open stream
        bool live = false;    // its start went out
        WindowHandle window = nullptr;
        unsigned message = 0;
        std::int32_t slot = 0;
        std::uint64_t turnsGiven = 0;
        std::uint64_t turnsDone = 0;
    };
    Ticket TakeTurnLocked(DeviceHandle touchScreen, Entry& entry);

    mutable std::mutex m_mutex;
    std::condition_variable m_turnDone;
    std::map<DeviceHandle, Entry> m_entries;
    StreamId m_lastStream = 0;
};
