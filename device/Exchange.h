#pragma once
// One exchange with a touchscreen as a waiting caller runs it (the main
// dialog's jobs, the firmware probe): reset the event, post the request, and
// wait a bounded time for the end reply to set the event.

#include "device/DeviceRequest.h"
#include "device/ManualResetEvent.h"

#include <functional>
#include <memory>

class ISystem;

// Queues a request for the device thread; false (and the request freed) when it cannot.
using RequestPoster = std::function<bool(std::unique_ptr<DeviceRequest>)>;

// How long a caller waits for the end of one exchange.
constexpr unsigned kExchangeTimeoutMs = 3000;

// Resets `ended`, runs `armed` (false abandons the exchange: nothing is
// posted), posts the request and waits up to kExchangeTimeoutMs for `ended`.
// True when it was set in time. A request that cannot be posted is waited
// for all the same: the caller sees a time-out, as for a touchscreen that
// does not answer.
bool PostAndWait(CManualResetEvent& ended, const RequestPoster& post, std::unique_ptr<DeviceRequest> request,
                 const std::function<bool()>& armed = {});

// Runs `exchanges(i)` for i from 0 to count - 1 side by side, each on a
// thread of its own (one touchscreen's exchanges each, so that a silent one
// costs only its own time), and returns when all of them ended. Those whose
// thread cannot be started run on the calling thread afterwards.
void RunSideBySide(unsigned count, const std::function<void(unsigned)>& exchanges, ISystem& system);
