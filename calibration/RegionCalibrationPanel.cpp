#include "calibration/RegionCalibrationPanel.h"

#include "device/DeviceManager.h"

void CRegionCalibrationPanel::Start(int slot)
{
    if (slot < 0)
        return;
    m_touchScreen = nullptr;
    m_devices.WithRecord(static_cast<unsigned>(slot),
                         [&](const TouchScreenRecord& record) { m_touchScreen = record.identity; });
    m_view.StartPointerHook();
    m_view.DestroyHint();
    if (!m_view.CreateHint()) {
        m_view.StopPointerHook();
        return;
    }
    m_selection.Start();
    if (auto place = m_selection.OnMove(m_view.PointerPosition(), m_view.HintDpi()))
        m_view.ShowHintAt(*place, true);
}

void CRegionCalibrationPanel::OnPointerEvent(RegionPointerEvent event)
{
    if (!Running())
        return;
    const ScreenPoint pointer = m_view.PointerPosition();
    switch (event) {
    case RegionPointerEvent::Move:
        if (auto place = m_selection.OnMove(pointer, m_view.HintDpi()))
            m_view.ShowHintAt(*place, false);
        break;
    case RegionPointerEvent::Down:
        if (m_selection.OnDown(pointer))
            m_view.DestroyHint();
        break;
    case RegionPointerEvent::Up: {
        const auto region = m_selection.OnUp(pointer);
        Cancel();
        const auto slot = m_devices.FindSlot(m_touchScreen);
        if (region && slot)
            m_view.OpenRegionCalibration(*slot, *region);
        break;
    }
    }
}

void CRegionCalibrationPanel::Cancel()
{
    m_selection.Cancel();
    m_view.DestroyHint();
    m_view.StopPointerHook();
}
