#pragma once
// The update dialog's transfer of the firmware to the first touchscreen of
// the list, through the device thread. It is driven by the dialog's reply
// messages (0x46E): each status reply is judged and the next frame is sent,
// so that at most one frame is outstanding. A record rejected five times
// without an accepted frame in between ends the transfer.
//
// Frames are 100-byte reports: 0x51, a mark ('A' for a record's first frame,
// 'B' for the others), then up to 49 payload bytes; consecutive frames of
// a record overlap by 2 bytes, and a record's last frame carries the 2 bytes
// after it (0 past the payload's end).

#include "device/DeviceRequest.h"
#include "device/Exchange.h"
#include "update/FirmwareImage.h"

#include <functional>
#include <string_view>

class CDeviceManager;

// What the dialog shows of the transfer.
class IUpdateTransferView {
public:
    virtual ~IUpdateTransferView() = default;
    // At every record boundary, the first one included: the share of the
    // payload sent, 0 to 100.
    virtual void ShowProgress(int percent) = 0;
    // The finish request went out (again, after a late reply): final state,
    // the closing timer (re)started.
    virtual void ShowFinished() = 0;
    // The rejection limit was reached: error state, the closing timer started.
    virtual void ShowFailed() = 0;
};

using LogWriter = std::function<void(std::wstring_view)>;

// The dialog's closing timer after the transfer ends.
constexpr unsigned kUpdateTimerId = 10;
constexpr unsigned kUpdateCloseDelayMs = 2000;
// Rejections of one record that are resent; the next one ends the transfer.
constexpr int kRejectionsResent = 4;

class CUpdateTransfer {
public:
    enum class State { Idle, Transferring, Finished, Failed };

    // The log defaults to Main.Log.
    CUpdateTransfer(FirmwareImage image, CDeviceManager& devices, WindowHandle replyWindow, RequestPoster post,
                    IUpdateTransferView& view, LogWriter log = {});

    // Posts the enter-update-mode request to the touchscreen in slot 0; its
    // reply starts the frames. False when slot 0 holds no touchscreen.
    bool Start();
    // A reply message's record. End replies are ignored: through the device
    // thread every report is answered by a status, then an end reply.
    void OnReply(const DeviceReply& reply);
    // Sends the next frame, or the finish request when the payload is sent.
    void SendNextFrame();

    State CurrentState() const { return m_state; }
    int Rejections() const { return m_rejections; }

private:
    void Finish();
    void Post(const Report& report, std::uint32_t payloadLength);
    int Percent() const;

    FirmwareImage m_image;
    CDeviceManager& m_devices;
    WindowHandle m_replyWindow;
    RequestPoster m_post;
    IUpdateTransferView& m_view;
    LogWriter m_log;

    DeviceHandle m_target = kInvalidDeviceHandle;
    State m_state = State::Idle;
    std::int32_t m_sent = 0;       // payload bytes of the completed records
    std::int32_t m_recordSize = 0; // R of the current record
    std::int32_t m_offset = 0;     // the next frame's start within it
    std::int32_t m_rejections = 0; // since the last accepted frame
};
