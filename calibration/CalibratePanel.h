#pragma once
// The calibration window's behaviour, without a window. The user touches
// four targets while the touchscreen streams raw points; the fourth point
// stores the calibration, and a review of up to 30 seconds follows in which
// OK keeps it and Cancel, Esc, closing or the time running out put the
// previous record back. While the window is open the driver clicks on
// release; every way out writes the saved click mode back and shows the
// pointer again, exactly once.
//
// Threads: every member function runs on the window thread.

#include "calibration/ApplyCalibration.h"
#include "calibration/CalibrationResult.h"
#include "calibration/InterruptedCalibration.h"
#include "calibration/ReviewTrail.h"
#include "config/DeviceConfig.h"
#include "device/DeviceRequest.h"
#include "device/Exchange.h"
#include "platform/Handles.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class CDeviceManager;
class CProtocolState;
class IConfigurationLibrary;
class IRegistry;
class IWindowMessenger;

// What the panel shows; the window implements it.
class ICalibrateView {
public:
    enum class Hints { Collecting, Review };

    virtual ~ICalibrateView() = default;
    // The hints of one phase show and the other phase's hide; with
    // `instructions` false (region calibration) all seven hide.
    virtual void ShowHints(Hints hints, bool instructions) = 0;
    // ReCalibrate, OK and Cancel together.
    virtual void ShowReviewButtons(bool show) = 0;
    virtual void SetCancelText(const std::wstring& text) = 0;
    // A line in the hint area saying why the window went back to the first
    // target; shown with or without the instructions. Empty hides it.
    virtual void ShowNotice(const std::wstring& text) = 0;
    // One more piece of the review's trail, drawn at once.
    virtual void DrawTrail(const TrailSegment& piece) = 0;
    virtual void ShowPointer(bool show) = 0;
    // The one-second tick of the review countdown.
    virtual void StartCountdown() = 0;
    virtual void StopCountdown() = 0;
    // The target (or, with four points, none) is drawn anew.
    virtual void Redraw() = 0;
    // The window's rectangle on the screen, and the primary screen's size.
    virtual ScreenRect WindowRect() = 0;
    virtual ScreenSize PrimaryScreenSize() = 0;
    // "The device you have selected has been removed!"
    virtual void ShowRemovedMessage() = 0;
    // The dialog ends: kept with OK, cancelled otherwise.
    virtual void EndDialog(bool kept) = 0;
    // WM_CLOSE is posted to the window (the close happens outside the caller's message).
    virtual void PostClose() = 0;
};

struct CalibratePanelServices {
    CDeviceManager& devices;
    CProtocolState& state;
    RequestPoster postRequest;
    IWindowMessenger& messenger;
    IConfigurationLibrary& configuration;
    WindowHandle mainWindow; // gets WM_CALIBRATION_BEGIN and WM_CALIBRATION_END
    // Ends region selection's mouse hook, which Esc ends too.
    std::function<void()> stopMouseHook;
    // Where what an interrupted calibration must put back is kept; none: not kept.
    IRegistry* registry;
};

// The text shown when the calibrated touchscreen is unplugged.
constexpr wchar_t kDeviceRemovedText[] = L"The device you have selected has been removed!";

class CCalibratePanel {
public:
    enum class Phase { Idle, Collecting, Reviewing, Ended };

    // `instructions`: the hints show (four-point calibration) or not (a region).
    CCalibratePanel(CalibratePanelServices services, ICalibrateView& view, unsigned slot, bool instructions);
    // A calibration still running when the panel goes (the program ends) is
    // abandoned as a close would: click mode and record back, stream stopped.
    ~CCalibratePanel();
    CCalibratePanel(const CCalibratePanel&) = delete;
    CCalibratePanel& operator=(const CCalibratePanel&) = delete;

    // The window opened: touch reporting starts, the pointer hides, the
    // driver clicks on release, the record to restore is read, and the main
    // window hears WM_CALIBRATION_BEGIN.
    void Open(WindowHandle window);

    // WM_TOUCH_POINT: one raw point of this touchscreen's stream. A fourth
    // point whose set cannot be the four targets stores nothing: the user
    // starts again at the first target and the notice says why.
    void OnTouchPoint(std::unique_ptr<DeviceReply> reply);
    // The pointer in the window (client coordinates): a press or a move, and
    // a release. While reviewing they draw the trail; otherwise nothing.
    void OnPointerMove(TrailPoint point);
    void OnPointerRelease(TrailPoint point);
    // The review countdown's tick; the 31st closes.
    void OnTick();
    void OnReCalibrate();
    void OnOk();
    void OnCancel();
    // WM_CLOSE: ends without keeping, and reports 0 ("closed").
    void OnClose();
    // Esc: ends without keeping, and reports 1 ("cancelled").
    void OnEscape();
    // WM_TOUCHSCREEN_REMOVED (own notices only): when this dialog's
    // touchscreen is the one gone, the user is told and the dialog closes
    // without a stop command; a review's previous record is still put back.
    void OnRemovalNotice();

    // The main window: this touchscreen is being unplugged. Its stream ends
    // without a stop command, which it could no longer receive.
    void TouchScreenRemoving();
    // The main window: unplugging moved the slots; the touchscreen is found again.
    void SlotsMoved();
    // The main window: a refused removal opened the touchscreen again under
    // a new handle, its new identity. The dialog follows it; while
    // collecting, its stream (ended with the old handle) starts again.
    void TouchScreenReopened(DeviceHandle before, DeviceHandle after);

    Phase CurrentPhase() const { return m_phase; }
    int PointCount() const { return m_pointCount; }
    unsigned Ticks() const { return m_ticks; }
    const CalibrationTouchScreen& TouchScreen() const { return m_touchScreen; }
    // The target to draw: the point count while collecting, none (-1) otherwise.
    int TargetShown() const;
    // What the review has drawn so far (empty outside the review).
    const CReviewTrail& Trail() const { return m_trail; }

private:
    void StartTouchReporting();
    void StopTouchReporting();
    bool PostCommand(std::uint16_t command);
    void RestoreClickMode();
    void RestoreDeviceRecord();
    bool Store(ClickModeAfterStore clickMode);
    void PostToMain(unsigned message, std::uintptr_t wParam);
    // The common ending: click mode back, the record back when the review
    // had stored a new one, pointer shown, stream stopped, result reported.
    void End(std::uintptr_t result);
    // True when there is nothing left to end (ended, or the removal box is
    // up); shows that box first when the touchscreen is gone.
    bool Ending();

    CalibratePanelServices m_services;
    ICalibrateView& m_view;
    CalibrationTouchScreen m_touchScreen;
    WindowHandle m_window = nullptr;
    DeviceHandle m_streamHandle = nullptr; // the handle touch reporting was started with
    bool m_instructions;

    Phase m_phase = Phase::Idle;
    DeviceConfig m_restoreCopy{};
    bool m_touchEnabled = true;
    // Cleared when the touchscreen is unplugged: no stop command goes to it then.
    bool m_touchReporting = true;
    bool m_removed = false;
    bool m_removalShown = false;
    // Whether the driver record could be read at the opening; only then is
    // the click mode switched, and later written back.
    bool m_clickModeSaved = false;
    std::int32_t m_savedClickMode = 0;
    std::array<RawTouchPoint, 4> m_points{};
    int m_pointCount = 0;
    CReviewTrail m_trail;
    unsigned m_ticks = 0;
    // The device key the previous record goes back under, even once the
    // touchscreen is gone: the record lives with the driver, not the frame.
    std::uint32_t m_deviceKey = 0;
    bool m_recordKept = false;
    CInterruptedCalibration m_interrupted;
};

// Where four-point calibration covers: the monitor the touchscreen's stored
// record names (a negative number counts as 0), after the monitor table is
// enumerated again; nothing when there is no such monitor (the primary
// screen is then covered).
std::optional<ScreenRect> FullScreenCalibrationRect(CDeviceManager& devices, IConfigurationLibrary& configuration,
                                                    unsigned slot);

// The Cancel button's text in the review: "Cancel(30)" .. "Cancel(1)".
std::wstring CountdownCancelText(const std::wstring& cancel, unsigned ticks);

// The notice shown when four touches cannot be the four targets.
constexpr wchar_t kTouchSetRejectedKey[] = L"150";

// Review ticks before the dialog closes by itself.
constexpr unsigned kReviewTicks = 31;
