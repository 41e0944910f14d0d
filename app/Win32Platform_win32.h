#pragma once
// Installs the Win32 seams as the process's platform. With PELNOCPL_SIMULATE
// set, the HID seam is the virtual touchscreens' instead of the system's.

#include <string>

// Returns an error text when PELNOCPL_SIMULATE names an unusable scenario
// (the HID seam then has no touchscreen); empty otherwise.
std::string InstallWin32Platform();
