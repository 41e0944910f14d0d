#include "device/RequestWorker.h"

#include "device/DeviceManager.h"
#include "device/ProtocolState.h"
#include "device/ReportProtocol.h"
#include "platform/HidPort.h"
#include "platform/System.h"
#include "platform/WindowMessenger.h"

namespace {

// Reads one input report into the reply in 60 ms slices while `goOn()`
// holds; false on a read error or once it no longer does (the pending read
// is then cancelled as it goes).
template <class GoOn> bool ReadAnswer(IHidPort& hid, DeviceHandle touchScreen, DeviceReply& reply, GoOn goOn)
{
    auto read = hid.StartRead(touchScreen, reply.report.data(), reply.report.size());
    if (!read)
        return false;
    while (goOn()) {
        std::size_t bytes = 0;
        switch (read->Wait(kReadSliceMs, bytes)) {
        case HidWaitResult::Completed:
            return true;
        case HidWaitResult::Failed:
            return false;
        case HidWaitResult::TimedOut:
            break;
        }
    }
    return false;
}

// A touch stream's worker: reads until its stream is no longer live. The
// stop flag does not end it: that belongs to the exchanges that time out.
void ReadStream(const WorkerContext& context, DeviceHandle touchScreen, CTouchStreams::StreamId stream)
{
    CTouchStreams& streams = context.state.streams;
    for (;;) {
        auto reply = std::make_unique<DeviceReply>();
        if (!ReadAnswer(context.hid, touchScreen, *reply, [&] { return streams.IsLive(touchScreen, stream); }))
            break;
        // A touch goes to the touchscreen's live stream, this one or the one
        // a quick restart opened; a report read after the stop goes nowhere.
        streams.RouteReport(touchScreen, reply, context.messenger);
    }
    streams.End(touchScreen, stream); // without its reader the stream is over
}

// Collecting mode (firmware probe): answers update the records and the
// opening answer instead of reaching a window. True when the worker ends.
bool HandleCollected(const WorkerContext& context, const DeviceRequest& request, std::unique_ptr<DeviceReply> reply)
{
    const std::uint8_t* r = reply->Answer();
    if (!IsDataReply(r)) {
        context.state.SyncEvent(request.deviceHandle).Set();
        return true;
    }
    const std::uint16_t command = CommandOf(request.report);
    if (command == Command::Open) {
        context.state.SetOpeningAnswer(request.deviceHandle, std::move(reply));
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

void RunRequestWorker(std::unique_ptr<DeviceRequest> request, WorkerContext context,
                      std::optional<CTouchStreams::Ticket> streamTicket)
{
    const std::uint16_t command = CommandOf(request->report);
    const bool firmwareFrame = IsFirmwareFrame(request->report);
    if (!firmwareFrame && IsGuardedCommand(command))
        context.system.Sleep(kGuardedPauseMs);

    CTouchStreams& streams = context.state.streams;
    if (streamTicket)
        streams.AwaitTurn(*streamTicket);
    const bool sent =
        context.hid.SendOutputReport(request->deviceHandle, request->report.data(), request->report.size()).Succeeded();
    if (streamTicket)
        streams.Sent(*streamTicket, sent);
    if (!sent)
        return;
    if (!firmwareFrame && ExpectsNoAnswer(command))
        return;
    if (streamTicket && streamTicket->stream != 0) {
        ReadStream(context, request->deviceHandle, streamTicket->stream);
        return;
    }

    // Only this touchscreen's stop flag ends the exchange: a time-out with
    // another touchscreen leaves it reading.
    const DeviceHandle touchScreen = request->deviceHandle;
    auto goOn = [&] { return !context.ending && !context.state.Stopped(touchScreen); };
    while (goOn()) {
        auto reply = std::make_unique<DeviceReply>();
        if (!ReadAnswer(context.hid, touchScreen, *reply, goOn))
            return;
        const std::uint8_t* r = reply->Answer();

        if (!firmwareFrame && command == Command::ReadNumber && r[0] != 'A')
            context.devices.WithRecord(static_cast<unsigned>(request->slot), request->deviceHandle,
                                       [&](TouchScreenRecord& record) { record.touchScreenNumber = r[2]; });

        if (context.state.Collecting(touchScreen)) {
            if (HandleCollected(context, *request, std::move(reply)))
                return;
            continue;
        }

        const bool end = !IsDataReply(r);
        // The reply names its touchscreen by slot and handle: the receiver
        // writes only while the slot still holds that touchscreen.
        reply->slot = request->slot;
        reply->deviceHandle = request->deviceHandle;
        if (streams.RouteReport(request->deviceHandle, reply, context.messenger) ==
                CTouchStreams::Route::NotStreaming &&
            request->replyWindow && request->replyMessage != 0) {
            DeviceReply* posted = reply.release();
            if (!context.messenger.Post(request->replyWindow, request->replyMessage, 0,
                                        reinterpret_cast<std::intptr_t>(posted)))
                delete posted; // nobody can receive it
        }
        if (end)
            return;
    }
}
