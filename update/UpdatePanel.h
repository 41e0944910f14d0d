#pragma once
// The update dialog's behaviour, without a window: it loads the dialog's
// firmware file, runs the transfer to the touchscreen in slot 0
// (CUpdateTransfer) and shows its progress, its final state and the closing
// of the dialog.
//
// The dialog closes by itself: at once when the file cannot be read, holds
// no record or a record that runs past its end ("Update failed!"), or no
// touchscreen is there; 2 s after the transfer ended ("Update completed!"
// shown for its last 200 ms after a success; "Update Error!" kept to the
// end after a failure). A touchscreen that stops answering for
// kUpdateReplyTimeoutMs ends the transfer as a failure, so that the dialog
// never waits for ever.

#include "common/MainLog.h"
#include "update/UpdateTransfer.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

// The texts the dialog shows; it uses no language file.
constexpr wchar_t kUpdateReadFailedText[] = L"Read file failed! Update failed!";
constexpr wchar_t kUpdateFailedText[] = L"Update failed!";
constexpr wchar_t kUpdatingText[] = L"Updating...";
constexpr wchar_t kUpdateErrorText[] = L"Update Error!";
constexpr wchar_t kUpdateCompletedText[] = L"Update completed!";

// The figure beside the bar: "45 %".
std::wstring UpdateProgressText(int percent);

// Timers of the dialog, besides kUpdateTimerId (the 2 s before closing).
constexpr unsigned kUpdateCompletedTimerId = 11; // "Update completed!" shown, then close
constexpr unsigned kUpdateCompletedDelayMs = 200;
constexpr unsigned kUpdateReplyTimerId = 12; // no answer to the request outstanding
constexpr unsigned kUpdateReplyTimeoutMs = 10000;

// What the dialog shows. Called on the window thread only.
class IUpdateView {
public:
    virtual ~IUpdateView() = default;
    // The bar's position and the figure beside it.
    virtual void ShowProgress(int percent, const std::wstring& figure) = 0;
    // The final state: the label, the bar and the figure hidden, the final
    // message shown with this text.
    virtual void ShowFinalMessage(const std::wstring& text) = 0;
    // (Re)starts or stops a timer of the window.
    virtual void StartTimer(unsigned id, unsigned milliseconds) = 0;
    virtual void StopTimer(unsigned id) = 0;
    // Asks the window to close (a posted WM_CLOSE).
    virtual void Close() = 0;
};

// Reads the dialog's firmware file into the image; false when it cannot.
using FirmwareLoader = std::function<bool(FirmwareImage&)>;

struct UpdateServices {
    CDeviceManager& devices;
    RequestPoster postRequest;
    FirmwareLoader load = {}; // defaults to "update\kolvane" in the current directory
    LogWriter log = {};       // defaults to Main.Log, held open while the dialog lives
};

class CUpdatePanel : private IUpdateTransferView {
public:
    enum class Stage { Idle, Transferring, Finished, Failed, Closing, Closed };

    CUpdatePanel(UpdateServices services, IUpdateView& view);
    CUpdatePanel(const CUpdatePanel&) = delete;
    CUpdatePanel& operator=(const CUpdatePanel&) = delete;

    // The dialog opens: loads the file and starts the transfer, or shows why
    // it cannot and closes. Replies go to `window`.
    void Open(WindowHandle window);
    // A reply of the device thread (message 0x46E).
    void OnReply(std::unique_ptr<DeviceReply> reply);
    void OnTimer(unsigned id);
    // The window goes: nothing more is sent, whatever arrives.
    void Close();

    Stage CurrentStage() const { return m_stage; }

private:
    // IUpdateTransferView
    void ShowProgress(int percent) override;
    void ShowFinished() override;
    void ShowFailed() override;

    bool Post(std::unique_ptr<DeviceRequest> request);
    void EndWith(Stage stage, const wchar_t* text);
    void CloseNow(const wchar_t* text);

    UpdateServices m_services;
    IUpdateView& m_view;
    CLogAppender m_mainLog;
    std::optional<CUpdateTransfer> m_transfer;
    Stage m_stage = Stage::Idle;
};
