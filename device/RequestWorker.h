#pragma once
// One request worker: sends a request's output report and reads the answers
// until the end reply, the stop flag, a read error or (for touch reporting)
// the end of streaming mode. Each answer goes back to the requesting window.

#include "device/DeviceRequest.h"

#include <memory>

class CDeviceManager;
class CProtocolState;
class IHidPort;
class IWindowMessenger;

struct WorkerContext {
    IHidPort& hid;
    IWindowMessenger& messenger;
    CDeviceManager& devices;
    CProtocolState& state;
};

// Length of one wait slice: a set stop flag is noticed within it.
constexpr unsigned kReadSliceMs = 60;
// Pause before a guarded command, after the opening answer went back.
constexpr unsigned kGuardedPauseMs = 80;

// Runs on the worker's own thread; the worker owns and frees the request.
void RunRequestWorker(std::unique_ptr<DeviceRequest> request, WorkerContext context);
