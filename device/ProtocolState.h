#pragma once
// The protocol state shared by the device thread's workers, the dialogs and
// the firmware probe, kept per touchscreen (by the device handle its
// requests carry): its touch stream, its stop flag, its collecting mode, its
// held opening answer and the event its probe waits on. Exchanges with
// different touchscreens run at the same time; none of this state of one
// touchscreen ever acts on another.

#include "device/DeviceRequest.h"
#include "device/ManualResetEvent.h"
#include "device/TouchStreams.h"

#include <map>
#include <memory>
#include <mutex>
#include <optional>

class CProtocolState {
public:
    CTouchStreams streams; // streaming mode, per touchscreen

    // The stop flag: the touchscreen's workers of exchanges stop reading
    // (its stream reads on). Set when an exchange with it timed out.
    void SetStop(DeviceHandle touchScreen, bool stop);
    bool Stopped(DeviceHandle touchScreen) const;

    // Collecting mode (the firmware update's probe): the touchscreen's
    // answers update its record and opening answer instead of reaching a
    // window. Never switched off.
    void StartCollecting(DeviceHandle touchScreen);
    bool Collecting(DeviceHandle touchScreen) const;
    // The event the probe of the touchscreen waits on; its collecting
    // workers set it at an end reply.
    CManualResetEvent& SyncEvent(DeviceHandle touchScreen);

    // Replaces the touchscreen's held opening answer (the old one is freed).
    void SetOpeningAnswer(DeviceHandle touchScreen, std::unique_ptr<DeviceReply> answer);
    // A copy of the touchscreen's held opening answer, if there is one.
    std::optional<DeviceReply> CopyOpeningAnswer(DeviceHandle touchScreen) const;
    // Releases the touchscreen's held answer.
    void ClearOpeningAnswer(DeviceHandle touchScreen);
    bool HasOpeningAnswer(DeviceHandle touchScreen) const;

private:
    struct TouchScreenState {
        bool stop = false;
        bool collecting = false;
        std::unique_ptr<DeviceReply> openingAnswer;
        std::unique_ptr<CManualResetEvent> syncEvent; // made on first use, kept: waiters hold it
    };
    const TouchScreenState* FindLocked(DeviceHandle touchScreen) const;

    mutable std::mutex m_mutex;
    std::map<DeviceHandle, TouchScreenState> m_touchScreens;
};

// The process's protocol state.
CProtocolState& GetProtocolState();
