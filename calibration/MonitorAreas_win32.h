#pragma once
// The monitors and the calibration window's rectangle as the system gives
// them, in the physical pixels the stored geometry is made of.

#include "calibration/MonitorCoordinates.h"

#include <windows.h>

#include <vector>

// Every monitor in physical pixels with the DPI its contents are drawn at.
// A thread that is not per-monitor aware reads them through a per-monitor
// context where the system allows it (Windows 10 1607 and later).
std::vector<MonitorArea> ReadMonitorAreas();

// The DPI a window shown at the point is drawn at: its monitor's for this
// per-monitor aware program; the system DPI where the process is only system
// aware (Windows 7, or the manifest overridden), the system then stretching it.
unsigned DrawingDpiAt(ScreenPoint point);

// The window's rectangle in physical pixels. The program is per-monitor aware
// and reads it as it is; a process left system aware reads it virtualised on
// a monitor of another scale, and converts it.
ScreenRect PhysicalWindowRect(HWND window);
