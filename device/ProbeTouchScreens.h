#pragma once
// The firmware update's probe: every touchscreen must answer the opening
// and the version command within 3000 ms each. Works in collecting mode,
// where workers set the sync event at each end reply.

#include "device/DeviceRequest.h"

#include <functional>
#include <memory>

class CDeviceManager;
class CProtocolState;

using RequestPoster = std::function<bool(std::unique_ptr<DeviceRequest>)>;

constexpr unsigned kExchangeTimeoutMs = 3000;

bool ProbeTouchScreens(CDeviceManager& devices, CProtocolState& state, const RequestPoster& post);
