#pragma once
// One request worker: sends a request's output report and reads the answers
// until the end reply, its touchscreen's stop flag, the device thread's end
// or a read error; a touch stream's
// worker reads until its stream ends. Each answer goes back to the
// requesting window.

#include "device/DeviceRequest.h"
#include "device/TouchStreams.h"

#include <atomic>
#include <memory>
#include <optional>

class CDeviceManager;
class CProtocolState;
class IHidPort;
class ISystem;
class IWindowMessenger;

struct WorkerContext {
    IHidPort& hid;
    IWindowMessenger& messenger;
    CDeviceManager& devices;
    CProtocolState& state;
    ISystem& system;                 // the pause before a guarded command
    const std::atomic<bool>& ending; // the device thread stops: every read ends
};

// Length of one wait slice: a set stop flag or an ended stream is noticed within it.
constexpr unsigned kReadSliceMs = 60;
// Pause before a guarded command, after the opening answer went back.
constexpr unsigned kGuardedPauseMs = 80;

// Runs on a worker thread of the device thread; it owns and frees the request.
// A start or stop of touch reporting carries the ticket its dispatch gave it.
void RunRequestWorker(std::unique_ptr<DeviceRequest> request, WorkerContext context,
                      std::optional<CTouchStreams::Ticket> streamTicket = std::nullopt);
