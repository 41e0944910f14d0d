#include "device/ProbeTouchScreens.h"

#include "device/DeviceManager.h"
#include "device/ProtocolState.h"
#include "device/ReportProtocol.h"
#include "platform/System.h"

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
    for (unsigned slot = 0; slot < count; ++slot) {
        DeviceHandle handle = devices.HandleOf(slot);
        state.stop = false;
        const bool answered = PostAndWait(state.syncEvent, post, MakeProbeRequest(handle, slot, Command::Open)) &&
                              PostAndWait(state.syncEvent, post, MakeProbeRequest(handle, slot, Command::ReadVersion));
        if (!answered) {
            state.stop = true;
            system.Sleep(kAfterFailureMs);
            return false;
        }
    }
    state.stop = false;
    system.Sleep(kAfterSuccessMs);
    return true;
}
