#include "device/RequestWorker.h"

#include "device/DeviceManager.h"
#include "device/ProtocolState.h"
#include "device/ReportProtocol.h"
#include "platform/HidPort.h"
#include "platform/WindowMessenger.h"

#include <chrono>
#include <thread>

namespace {

enum class ReadResult { Answer, Ended };

// Reads one input report in 60 ms slices. Ends on a read error, the stop
// flag, or, for touch reporting, once streaming mode was cleared.
ReadResult ReadAnswer(const WorkerContext& context, const DeviceRequest& request, DeviceReply& reply)
{
    const bool touch = CommandOf(request.report) == Command::StartTouch;
    auto read = context.hid.StartRead(request.deviceHandle, reply.report.data(), reply.report.size());
    if (!read)
        return ReadResult::Ended;
    for (;;) {
        if (touch && !context.state.streaming)
            return ReadResult::Ended; // the pending read is cancelled as `read` goes
        std::size_t bytes = 0;
        switch (read->Wait(kReadSliceMs, bytes)) {
        case HidWaitResult::Completed:
            return ReadResult::Answer;
        case HidWaitResult::Failed:
            return ReadResult::Ended;
        case HidWaitResult::TimedOut:
            if (context.state.stop)
                return ReadResult::Ended;
            break;
        }
    }
}

// Collecting mode (firmware probe): answers update the records and the
// opening answer instead of reaching a window. True when the worker ends.
bool HandleCollected(const WorkerContext& context, const DeviceRequest& request, std::unique_ptr<DeviceReply> reply)
{
    const std::uint8_t* r = reply->Answer();
    if (!IsDataReply(r)) {
        context.state.syncEvent.Set();
        return true;
    }
    const std::uint16_t command = CommandOf(request.report);
    if (command == Command::Open) {
        context.state.SetOpeningAnswer(std::move(reply));
    } else if (command == Command::ReadVersion) {
        if (auto version = DecodeCollectedVersion(r))
            context.devices.WithRecord(static_cast<unsigned>(request.slot), request.deviceHandle,
                                       [&](TouchScreenRecord& record) {
                                           for (int i = 0; i < 3; ++i)
                                               record.hardwareVersion[i] = (*version)[i];
                                       });
    }
    return false;
}

} // namespace

void RunRequestWorker(std::unique_ptr<DeviceRequest> request, WorkerContext context)
{
    const std::uint16_t command = CommandOf(request->report);
    const bool firmwareFrame = IsFirmwareFrame(request->report);
    if (!firmwareFrame && IsGuardedCommand(command))
        std::this_thread::sleep_for(std::chrono::milliseconds(kGuardedPauseMs));

    if (!context.hid.SendOutputReport(request->deviceHandle, request->report.data(), request->report.size()))
        return;
    if (!firmwareFrame && ExpectsNoAnswer(command))
        return;

    while (!context.state.stop) {
        auto reply = std::make_unique<DeviceReply>();
        if (ReadAnswer(context, *request, *reply) == ReadResult::Ended)
            return;
        const std::uint8_t* r = reply->Answer();

        if (!firmwareFrame && command == Command::ReadNumber && r[0] != 'A')
            context.devices.WithRecord(static_cast<unsigned>(request->slot), request->deviceHandle,
                                       [&](TouchScreenRecord& record) { record.touchScreenNumber = r[2]; });

        if (context.state.collecting) {
            if (HandleCollected(context, *request, std::move(reply)))
                return;
            continue;
        }

        const bool end = !IsDataReply(r);
        reply->slot = request->slot;
        bool deliver = request->replyWindow && request->replyMessage != 0;
        if (context.state.streaming)
            deliver = deliver && r[1] == kTouchAnswer;
        if (deliver) {
            DeviceReply* posted = reply.release();
            if (!context.messenger.Post(request->replyWindow, request->replyMessage, 0,
                                        reinterpret_cast<std::intptr_t>(posted)))
                delete posted; // nobody can receive it
        }
        if (end)
            return;
    }
}
