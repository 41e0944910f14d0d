#include "device/ProbeTouchScreens.h"

#include "device/DeviceManager.h"
#include "device/ProtocolState.h"
#include "device/ReportProtocol.h"

#include <chrono>
#include <thread>

namespace {
std::unique_ptr<DeviceRequest> MakeProbeRequest(DeviceHandle handle, unsigned slot, std::uint16_t command)
{
    auto request = std::make_unique<DeviceRequest>();
    request->deviceHandle = handle;
    request->slot = static_cast<std::int32_t>(slot);
    request->report = MakeCommandReport(command);
    return request;
}
} // namespace

bool ProbeTouchScreens(CDeviceManager& devices, CProtocolState& state, const RequestPoster& post)
{
    const unsigned count = devices.Count();
    for (unsigned slot = 0; slot < count; ++slot) {
        DeviceHandle handle = devices.HandleOf(slot);
        state.stop = false;
        state.syncEvent.Reset();
        post(MakeProbeRequest(handle, slot, Command::Open));
        bool answered = state.syncEvent.Wait(kExchangeTimeoutMs);
        if (answered) {
            state.syncEvent.Reset();
            post(MakeProbeRequest(handle, slot, Command::ReadVersion));
            answered = state.syncEvent.Wait(kExchangeTimeoutMs);
        }
        if (!answered) {
            state.stop = true;
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
            return false;
        }
    }
    state.stop = false;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return true;
}
