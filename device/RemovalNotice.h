#pragma once
// The removal notice WM_TOUCHSCREEN_REMOVED (0x46F): lParam is the slot the
// unplugged touchscreen had, wParam this process's key. The notice goes to
// this program's own top-level windows only; but any program can post 0x46F
// to any window, so a receiver takes a notice for ours only with the key.

#include <cstdint>

// Chosen at random once per process; never 0.
std::uintptr_t RemovalNoticeKey();

bool IsOwnRemovalNotice(std::uintptr_t wParam);
