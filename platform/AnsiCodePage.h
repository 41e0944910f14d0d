#pragma once
// Seam: the system's ANSI code page, the encoding of profile files that
// carry no byte-order mark.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class IAnsiCodePage {
public:
    virtual ~IAnsiCodePage() = default;
    // The text in the code page; nothing when a character has no exact
    // counterpart there (it would be written as '?').
    virtual std::optional<std::string> Encode(std::wstring_view text) = 0;
    // The bytes as text; nothing when they are not valid in the code page.
    virtual std::optional<std::wstring> Decode(std::string_view bytes) = 0;
};

// Latin-1, where every byte is the character of the same number: the code
// page of the native tests, the fuzz targets and tools.
class CLatin1CodePage : public IAnsiCodePage {
public:
    std::optional<std::string> Encode(std::wstring_view text) override
    {
        std::string bytes;
        bytes.reserve(text.size());
        for (wchar_t c : text) {
            if (static_cast<std::uint32_t>(c) > 0xFF)
                return std::nullopt;
            bytes += static_cast<char>(c);
        }
        return bytes;
    }
    std::optional<std::wstring> Decode(std::string_view bytes) override
    {
        std::wstring text;
        text.reserve(bytes.size());
        for (char b : bytes)
            text += static_cast<wchar_t>(static_cast<unsigned char>(b));
        return text;
    }
};
