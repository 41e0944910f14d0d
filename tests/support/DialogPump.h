#pragma once
// The one message pump of the tests and benchmarks: the thread's messages
// taken the way the program's loops take them (CDialog::RouteMessage first,
// then translated and dispatched), every wait bounded. A WM_QUIT is left in
// the queue for the caller to see.

#include <windows.h>

#include <functional>

// Shown each message before it is handled.
using MessageSeen = std::function<void(const MSG&)>;

// Handles the waiting messages, then checks done(); until it holds or the
// time is up. Returns done().
bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds = 10000, const MessageSeen& seen = {});
// Pumps for a while.
void PumpFor(DWORD milliseconds, const MessageSeen& seen = {});
