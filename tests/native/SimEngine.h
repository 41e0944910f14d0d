#pragma once
// The device engine over virtual frames, as the tests and the benchmarks
// build it: the frames, the touchscreen list, the protocol state and the
// device thread, its replies posted to `windows`. The thread runs from
// construction (or from Start, for a rig that must finish its own set-up
// first) until the engine goes.

#include "device/DeviceManager.h"
#include "device/DeviceThread.h"
#include "device/ProtocolState.h"
#include "device/ReportProtocol.h"
#include "platform/Monitors.h"
#include "platform/System.h"
#include "platform/WindowMessenger.h"
#include "sim/SimHidPort.h"

#include <initializer_list>
#include <memory>

struct SimEngine {
    SimEngine(SimScenario scenario, IWindowMessenger& windows, bool start = true)
        : port(std::move(scenario), &windows), devices(port, monitors, windows),
          thread(port, windows, devices, state, system)
    {
        if (start)
            thread.Start();
    }

    // Sends `command` to the touchscreen in `slot`, its reply to `window`.
    void Send(unsigned slot, std::uint16_t command, WindowHandle window,
              std::initializer_list<std::uint8_t> arguments = {})
    {
        auto request = std::make_unique<DeviceRequest>();
        request->deviceHandle = devices.HandleOf(slot);
        request->slot = static_cast<std::int32_t>(slot);
        request->replyWindow = window;
        request->report = MakeCommandReport(command, arguments);
        thread.PostRequest(std::move(request));
    }

    CSimHidPort port;
    CFixedMonitors monitors;
    CDeviceManager devices;
    CProtocolState state;
    CStandardSystem system;
    CDeviceThread thread;
};
