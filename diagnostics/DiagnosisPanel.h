#pragma once
// The Diagnostics dialog's behaviour, without a window: a run is three
// exchanges with one touchscreen through the device thread ('o', then 'Zv',
// then 'Zg'); the bytes of the last two are the LED scan, whose result lines
// fill the list. Export writes those lines to a report file.
//
// Everything runs on the window thread. A run waits for each exchange's end
// reply at most kDiagnosisStepTimeoutMs (a timer of the window); a run that
// times out, or whose scan does not parse, ends with a line saying the frame
// gave no usable result, and Diagnostics can be pressed again.

#include "device/DeviceRequest.h"
#include "device/Exchange.h"
#include "diagnostics/LedScan.h"
#include "platform/Handles.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CDeviceManager;
class CProtocolState;
class IAnsiCodePage;
class IFileStore;

// How long one exchange of a run may take before the run is given up.
constexpr unsigned kDiagnosisStepTimeoutMs = 10000;

// The language keys of the dialog's texts.
namespace DiagnosisText {
constexpr wchar_t Title[] = L"58";         // after "No.<number> ", and the list's group box
constexpr wchar_t Diagnose[] = L"5";       // the Diagnostics button
constexpr wchar_t Close[] = L"59";         // the Close button
constexpr wchar_t Export[] = L"60";        // the Export button
constexpr wchar_t Running[] = L"61";       // the list's line while a run is in progress
constexpr wchar_t NoResult[] = L"160";     // the list's line after a run without a usable result
constexpr wchar_t ReportFailed[] = L"161"; // the box when a report cannot be written
} // namespace DiagnosisText

// The boxes of an unplugged touchscreen (fixed texts).
constexpr wchar_t kSelectedTouchScreenGoneText[] =
    L"The touchScreen you selected have been removed,please reselect touchscreen !";
constexpr wchar_t kTouchScreenRemovedText[] = L"The device you have selected has been removed!";

using LanguageTexts = std::function<std::wstring(std::wstring_view key)>;

// What the panel shows; the dialog implements it.
class IDiagnosisView {
public:
    virtual ~IDiagnosisView() = default;
    virtual void SetTitle(const std::wstring& title) = 0;
    // Replaces the list's lines.
    virtual void ShowLines(const std::vector<std::wstring>& lines) = 0;
    virtual void FocusList() = 0;
    virtual void EnableDiagnose(bool enable) = 0;
    virtual void EnableExport(bool enable) = 0;
    // A message box with an OK button.
    virtual void ShowMessage(const std::wstring& text) = 0;
    // (Re)starts the one-shot timer that calls OnStepTimeout; StopTimer cancels it.
    virtual void StartTimer(unsigned milliseconds) = 0;
    virtual void StopTimer() = 0;
    // The Save As dialog, proposing `name`; the chosen path, or nothing when cancelled.
    virtual std::optional<std::wstring> ChooseReportPath(const std::wstring& name) = 0;
    // The scan whose lines the list shows, for the picture of the frame's
    // LEDs; a scan without a header when the list shows no result.
    virtual void ShowLedPicture(const CLedScan& /*scan*/) {}
};

struct DiagnosisServices {
    CDeviceManager& devices;
    CProtocolState& state;
    RequestPoster postRequest;
    IFileStore& files;
    IAnsiCodePage& codePage;
    LanguageTexts text;
};

class CDiagnosisPanel {
public:
    enum class State { Idle, Running };
    enum class Step { Opening, Levels, Statuses };

    CDiagnosisPanel(DiagnosisServices services, IDiagnosisView& view);

    // The touchscreen of the next showing (a slot of the device manager).
    void SetTouchScreen(std::int32_t slot) { m_slot = slot; }
    std::int32_t TouchScreen() const { return m_slot; }

    // The dialog opens: title, an empty list, Diagnostics enabled, Export disabled.
    void Open(WindowHandle window);
    // The dialog goes: a run in progress is abandoned.
    void Close();

    // Diagnostics pressed.
    void StartRun();
    // The replies of the three exchanges, each owned by its handler.
    void OnOpeningReply(std::unique_ptr<DeviceReply> reply);
    void OnLevelReply(std::unique_ptr<DeviceReply> reply);
    void OnStatusReply(std::unique_ptr<DeviceReply> reply);
    // The step timer ran out.
    void OnStepTimeout();
    // WM_TOUCHSCREEN_REMOVED (wParam the process's key): when it was this
    // dialog's touchscreen, a box says so and Diagnostics is disabled; a run
    // in progress goes on until its time-out.
    void OnTouchScreenRemoved(std::uintptr_t key);
    // A refused removal opened the touchscreen again under a new handle,
    // its new identity: the dialog follows it (a run in progress times out).
    void TouchScreenReopened(DeviceHandle before, DeviceHandle after)
    {
        if (m_identity == before)
            m_identity = after;
    }
    // Export pressed.
    void ExportDiagnostics();

    State CurrentState() const { return m_state; }
    const std::vector<std::wstring>& Lines() const { return m_lines; }
    bool DiagnoseEnabled() const { return m_diagnoseEnabled; }
    bool ExportEnabled() const { return m_exportEnabled; }
    const CLedScan& Scan() const { return m_scan; }
    // The scan of the result the list shows (no header when it shows none).
    const CLedScan& ShownScan() const { return m_shownScan; }

private:
    // True when the reply belongs to this step of the running exchange.
    bool Expected(const DeviceReply& reply, Step step) const;
    void Post(std::uint16_t command, Step next);
    void FinishRun();
    // The identity, the summary and one line per LED replace the list.
    void ShowDiagnosticsResult();
    void EndRun(bool usable);
    void ShowLines(std::vector<std::wstring> lines);
    void ShowPicture(const CLedScan& scan);
    void EnableDiagnose(bool enable);
    void EnableExport(bool enable);

    DiagnosisServices m_services;
    IDiagnosisView& m_view;
    WindowHandle m_window = nullptr;

    std::int32_t m_slot = -1;
    // The touchscreen of this showing, by identity: it is found again at its
    // slot of the moment, since unplugging another one moves the slots.
    DeviceHandle m_identity = nullptr;
    bool m_removed = false;

    State m_state = State::Idle;
    Step m_step = Step::Opening;
    DeviceHandle m_target = nullptr; // the HID handle the run's requests went to
    TouchScreenIdentity m_runIdentity;
    std::int32_t m_reportNumber = 0; // the touchscreen number of the lines shown
    bool m_stopSetByTimeout = false;

    CLedScan m_scan;
    CLedScan m_shownScan;
    std::vector<std::wstring> m_lines;
    bool m_diagnoseEnabled = true;
    bool m_exportEnabled = false;
};
