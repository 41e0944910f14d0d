// Firmware files from outside: the hex text, the console file's checks, and
// both transports' framing over whatever the checks let through (the dialog's
// file is not checked at all), with the invariants the transfers rely on.

#include "device/DeviceManager.h"
#include "device/ReportProtocol.h"
#include "platform/Monitors.h"
#include "platform/WindowMessenger.h"
#include "sim/SimHidPort.h"
#include "update/ConsoleFrames.h"
#include "update/FirmwareFile.h"
#include "update/HexText.h"
#include "update/UpdateTransfer.h"

#include <cstdlib>
#include <sstream>
#include <string>

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

class CNoMessages : public IWindowMessenger {
public:
    bool Post(WindowHandle, unsigned, std::uintptr_t, std::intptr_t) override { return false; }
    void PostToOwnWindows(unsigned, std::uintptr_t, std::intptr_t) override {}
    void PostQuit(int) override {}
};

class CNoView : public IUpdateTransferView {
public:
    int last = -1;
    void ShowProgress(int percent) override
    {
        Require(percent >= last && percent >= 0 && percent <= 100);
        last = percent;
    }
    void ShowFinished() override {}
    void ShowFailed() override {}
};

// The console frames cover the payload exactly, in order, without overlap.
void CheckConsoleFrames(FirmwarePayload payload)
{
    CConsoleFrameSequence frames(payload);
    std::size_t covered = 0;
    int percent = 0;
    while (!frames.Done()) {
        Require(frames.Percent() >= percent && frames.Percent() <= 100);
        percent = frames.Percent();
        auto frame = frames.Next();
        if (!frame)
            break;
        Require(frame->start == covered && frame->dataLength >= 1 && frame->dataLength <= kConsoleFrameData);
        covered += frame->dataLength;
    }
    Require(covered == payload.size());
}

// The dialog's transfer with every frame accepted ends, and every frame stays in its report.
void CheckDialogTransfer(const std::vector<std::uint8_t>& bytes)
{
    static CSimHidPort port(MakeCountedScenario(1));
    static CFixedMonitors monitors;
    static CNoMessages messenger;
    static CDeviceManager devices(port, monitors, messenger);
    CNoView view;
    std::size_t frames = 0;
    CUpdateTransfer transfer(
        FirmwareImage{bytes}, devices, nullptr,
        [&](std::unique_ptr<DeviceRequest> request) {
            if (IsFirmwareFrame(request->report)) {
                Require(request->payloadLength >= 2 && request->payloadLength <= 49);
                ++frames;
            }
            return true;
        },
        view, [](std::wstring_view) {});
    Require(transfer.Start());
    DeviceReply accepted;
    accepted.report[1] = 0x11;
    // A record is 2 bytes at least and announces at most 65537; the last one
    // may run past the payload.
    const std::size_t mostFrames = bytes.size() + (bytes.size() + 65537) / 47 + 1;
    for (std::size_t i = 0; i <= mostFrames && transfer.CurrentState() == CUpdateTransfer::State::Transferring; ++i)
        transfer.OnReply(accepted);
    Require(transfer.CurrentState() == CUpdateTransfer::State::Finished);
    Require(frames <= mostFrames);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::istringstream text(std::string(reinterpret_cast<const char*>(data), size));
    ConsoleFirmware firmware;
    if (ReadHexBytes(text, firmware.image.bytes, kFirmwareImageCapacity) == HexReadResult::TooLong)
        return 0;
    Require(firmware.image.bytes.size() <= (size + 1) / 2);
    CheckDialogTransfer(firmware.image.bytes);
    if (CheckConsoleFirmware(firmware)) {
        Require(kFirmwareHeaderSize + firmware.payloadSize + kFirmwareCrcSize <= firmware.image.bytes.size());
        CheckConsoleFrames(firmware.Payload());
    }
    return 0;
}
