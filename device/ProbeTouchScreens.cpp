#include "device/ProbeTouchScreens.h"

#include "device/DeviceManager.h"
#include "device/ProtocolState.h"
#include "device/ReportProtocol.h"
#include "platform/System.h"

#include <algorithm>
#include <vector>

namespace {

constexpr unsigned kAfterFailureMs = 500;
constexpr unsigned kAfterSuccessMs = 100;

std::unique_ptr<DeviceRequest> MakeProbeRequest(DeviceHandle handle, unsigned slot, std::uint16_t command)
{
    auto request = std::make_unique<DeviceRequest>();
    request->deviceHandle = handle;
    request->slot = static_cast<std::int32_t>(slot);
    request->report = MakeCommandReport(command);
    return request;
}

} // namespace

bool ProbeTouchScreens(CDeviceManager& devices, CProtocolState& state, const RequestPoster& post, ISystem& system)
{
    const unsigned count = devices.Count();
    std::vector<DeviceHandle> handles(count);
    std::vector<char> answered(count, 0);
    // A touchscreen's two exchanges; a time-out stops that touchscreen's worker alone.
    auto probe = [&](unsigned slot) {
        const DeviceHandle handle = handles[slot];
        CManualResetEvent& sync = state.SyncEvent(handle);
        state.SetStop(handle, false);
        answered[slot] = PostAndWait(sync, post, MakeProbeRequest(handle, slot, Command::Open)) &&
                         PostAndWait(sync, post, MakeProbeRequest(handle, slot, Command::ReadVersion));
        if (!answered[slot])
            state.SetStop(handle, true);
    };
    for (unsigned slot = 0; slot < count; ++slot)
        handles[slot] = devices.HandleOf(slot);
    RunSideBySide(count, probe, system);

    if (std::count(answered.begin(), answered.end(), 0) > 0) {
        system.Sleep(kAfterFailureMs);
        return false;
    }
    system.Sleep(kAfterSuccessMs);
    return true;
}
