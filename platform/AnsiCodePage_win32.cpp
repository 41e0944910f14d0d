#include "platform/AnsiCodePage_win32.h"

#include <windows.h>

std::optional<std::string> CWin32AnsiCodePage::Encode(std::wstring_view text)
{
    if (text.empty())
        return std::string();
    const int length = static_cast<int>(text.size());
    // With UTF-8 as the system code page every character has its bytes, and
    // the call takes no default-character flag.
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultOut = utf8 ? nullptr : &usedDefault;
    int size = WideCharToMultiByte(CP_ACP, flags, text.data(), length, nullptr, 0, nullptr, usedDefaultOut);
    if (size <= 0 || usedDefault)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (WideCharToMultiByte(CP_ACP, flags, text.data(), length, bytes.data(), size, nullptr, usedDefaultOut) != size ||
        usedDefault)
        return std::nullopt;
    return bytes;
}

std::optional<std::wstring> CWin32AnsiCodePage::Decode(std::string_view bytes)
{
    if (bytes.empty())
        return std::wstring();
    const int length = static_cast<int>(bytes.size());
    int size = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0);
    if (size <= 0)
        return std::nullopt;
    std::wstring text(static_cast<std::size_t>(size), L'\0');
    if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), length, text.data(), size) != size)
        return std::nullopt;
    return text;
}
