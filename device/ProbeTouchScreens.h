#pragma once
// The firmware update's probe: every touchscreen must answer the opening
// and the version command within 3000 ms each. The touchscreens are probed
// side by side, each in its order. Works in collecting mode, where workers
// set the touchscreen's sync event at each end reply.

#include "device/Exchange.h"

class CDeviceManager;
class CProtocolState;
class ISystem;

// The system seam makes the pauses after the probe.
bool ProbeTouchScreens(CDeviceManager& devices, CProtocolState& state, const RequestPoster& post, ISystem& system);
