#pragma once
// The Win32 implementation of the ANSI code page seam (Windows build only).

#include "platform/AnsiCodePage.h"

class CWin32AnsiCodePage : public IAnsiCodePage {
public:
    std::optional<std::string> Encode(std::wstring_view text) override;
    std::optional<std::wstring> Decode(std::string_view bytes) override;
};
