#pragma once
// Region calibration's behaviour: the touchscreen chosen when it starts, the
// pointer watched through the mouse hook, the hint that follows the pointer
// until the press, and the calibration window opened over the rectangle
// dragged out (without hints). The touchscreen is known by identity and
// found again when the drag ends, since an unplug may move it to another
// slot meanwhile. The main window forwards its button, the hook's messages
// and its closing; its view shows the hint and opens the calibration.

#include "calibration/RegionSelection.h"
#include "platform/Handles.h"

class CDeviceManager;

enum class RegionPointerEvent { Down, Up, Move };

class IRegionCalibrationView {
public:
    virtual ~IRegionCalibrationView() = default;
    virtual void StartPointerHook() = 0;
    virtual void StopPointerHook() = 0;
    // Makes the hint window (hidden); false when it cannot be made.
    virtual bool CreateHint() = 0;
    // Places the hint and shows it: at the start, and as the pointer moves.
    virtual void ShowHintAt(const LayoutRect& place, bool first) = 0;
    virtual void DestroyHint() = 0;
    virtual ScreenPoint PointerPosition() = 0;
    // The DPI the hint is drawn at, which sizes it.
    virtual unsigned HintDpi() { return 96; }
    virtual void OpenRegionCalibration(unsigned slot, const ScreenRect& region) = 0;
};

class CRegionCalibrationPanel {
public:
    CRegionCalibrationPanel(CDeviceManager& devices, IRegionCalibrationView& view) : m_devices(devices), m_view(view) {}

    // Region Calibrate pressed with this touchscreen selected (-1: none).
    void Start(int slot);
    // One of the mouse hook's messages; nothing while no selection runs.
    void OnPointerEvent(RegionPointerEvent event);
    // The selection is abandoned (the main window closes): hint and hook go.
    void Cancel();

    bool Running() const { return m_selection.CurrentState() != CRegionSelection::State::Idle; }

private:
    CDeviceManager& m_devices;
    IRegionCalibrationView& m_view;
    CRegionSelection m_selection;
    DeviceHandle m_touchScreen = nullptr;
};
