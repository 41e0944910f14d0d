#pragma once
// The protocol state shared by the device thread's workers, the dialogs and
// the firmware probe: the touch streams, two flags, the held opening answer
// and the event the probe waits on.

#include "device/DeviceRequest.h"
#include "device/ManualResetEvent.h"
#include "device/TouchStreams.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>

class CProtocolState {
public:
    CTouchStreams streams;               // streaming mode, per touchscreen
    std::atomic<bool> collecting{false}; // the firmware update's probe mode; never switched off
    std::atomic<bool> stop{false};       // workers of exchanges stop reading (streams read on)
    CManualResetEvent syncEvent;         // set by collecting workers at an end reply

    // Replaces the held opening answer (the old one is freed).
    void SetOpeningAnswer(std::unique_ptr<DeviceReply> answer);
    // A copy of the held opening answer, if there is one.
    std::optional<DeviceReply> CopyOpeningAnswer();
    // Releases the held answer; nothing is held afterwards.
    void ClearOpeningAnswer();
    bool HasOpeningAnswer();

private:
    std::mutex m_mutex;
    std::unique_ptr<DeviceReply> m_openingAnswer;
};

// The process's protocol state.
CProtocolState& GetProtocolState();
