#pragma once
// What the control tests share: a parent window that reflects notifications
// to its controls as the dialog base does, a memory canvas whose pixels can
// be read, and the real pointer driven by xdotool on the X display Wine
// draws on.

#include "DialogPump.h"
#include "ui/LookTypes.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// A top-level window whose procedure hands WM_DRAWITEM, WM_CTLCOLOR* and
// WM_COMMAND to ReflectToControl first.
class CReflectingParent {
public:
    CReflectingParent(int x, int y, int width, int height, bool visible);
    ~CReflectingParent();
    CReflectingParent(const CReflectingParent&) = delete;
    CReflectingParent& operator=(const CReflectingParent&) = delete;
    operator HWND() const { return m_window; }

    HWND AddControl(const wchar_t* className, const wchar_t* text, DWORD style, RECT rect, int id);

private:
    HWND m_window = nullptr;
};

// A 32-bit top-down bitmap selected into a memory device context, filled
// with one colour.
class CCanvas {
public:
    CCanvas(int width, int height, Rgb fill);
    ~CCanvas();
    CCanvas(const CCanvas&) = delete;
    CCanvas& operator=(const CCanvas&) = delete;
    operator HDC() const { return m_dc; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    Rgb At(int x, int y) const;

private:
    int m_width;
    int m_height;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
    const std::uint32_t* m_bits = nullptr;
};

// What the window draws when printed (WM_PRINTCLIENT) onto a canvas of that
// size and colour.
std::unique_ptr<CCanvas> PrintClient(HWND window, int width, int height, Rgb fill);

inline Rgb ToRgb(COLORREF colour) { return {GetRValue(colour), GetGValue(colour), GetBValue(colour)}; }

// Runs a command line in the Unix shell under Wine and waits (at most that
// long, pumping messages) until it has finished. False where there is no
// shell to run (not under Wine), the command failed or the time ran out.
bool RunShell(const std::string& command, DWORD milliseconds, const MessageSeen& seen = {});
// Runs xdotool with these arguments on Wine's X display and waits (5 s at
// most, pumping messages) until it has finished. False where there is no
// xdotool to run (not under Wine) or it failed.
bool RunXdotool(const std::string& arguments, const MessageSeen& seen = {});
