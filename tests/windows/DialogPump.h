#pragma once
// Running dialogs in a test: the thread's messages pumped the way the
// program's loops do (CDialog::RouteMessage first), every wait bounded.

#include <windows.h>

#include <functional>

// Pumps until the condition holds; false after the time-out.
bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds = 10000);
// Pumps for a while.
void PumpFor(DWORD milliseconds);
