#pragma once
// The firmware update's probe: every touchscreen must answer the opening
// and the version command within 3000 ms each. Works in collecting mode,
// where workers set the sync event at each end reply.

#include "device/Exchange.h"

class CDeviceManager;
class CProtocolState;
class ISystem;

// The system seam makes the pauses after the probe.
bool ProbeTouchScreens(CDeviceManager& devices, CProtocolState& state, const RequestPoster& post, ISystem& system);
