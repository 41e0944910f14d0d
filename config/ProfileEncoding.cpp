#include "config/ProfileEncoding.h"

#include "common/TextEncoding.h"
#include "platform/AnsiCodePage.h"

#include <cstdint>

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

std::optional<std::wstring> DecodeUtf16(std::string_view bytes, bool bigEndian)
{
    if (bytes.size() % 2 != 0)
        return std::nullopt;
    std::wstring text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        auto first = static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i]));
        auto second = static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i + 1]));
        std::uint32_t unit = bigEndian ? (first << 8 | second) : (second << 8 | first);
        // Where wchar_t holds whole code points, a surrogate pair is one character.
        if (sizeof(wchar_t) == 4 && unit >= 0xD800 && unit <= 0xDBFF && i + 3 < bytes.size()) {
            auto third = static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i + 2]));
            auto fourth = static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i + 3]));
            std::uint32_t low = bigEndian ? (third << 8 | fourth) : (fourth << 8 | third);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                text += static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        text += static_cast<wchar_t>(unit);
    }
    return text;
}

std::string EncodeUtf16(std::wstring_view text, bool bigEndian)
{
    std::string bytes;
    bytes.reserve(text.size() * 2);
    auto put = [&](std::uint32_t unit) {
        char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    };
    for (wchar_t c : text) {
        auto code = static_cast<std::uint32_t>(c);
        if (code > 0xFFFF) {
            put(0xD800 + ((code - 0x10000) >> 10));
            put(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            put(code);
        }
    }
    return bytes;
}

} // namespace

std::optional<ProfileFileText> DecodeProfileFile(std::string_view bytes, IAnsiCodePage& ansi)
{
    if (bytes.starts_with(kUtf16LeMark) || bytes.starts_with(kUtf16BeMark)) {
        const bool bigEndian = bytes.starts_with(kUtf16BeMark);
        std::optional<std::wstring> text = DecodeUtf16(bytes.substr(2), bigEndian);
        if (!text)
            return std::nullopt;
        return ProfileFileText{bigEndian ? ProfileEncoding::Utf16Be : ProfileEncoding::Utf16Le, std::move(*text)};
    }
    if (bytes.find('\0') != std::string_view::npos)
        return std::nullopt;
    if (bytes.starts_with(kUtf8Mark)) {
        std::string_view body = bytes.substr(kUtf8Mark.size());
        std::wstring text = FromUtf8(body);
        if (ToUtf8(text) != body)
            return std::nullopt;
        return ProfileFileText{ProfileEncoding::Utf8, std::move(text)};
    }
    std::optional<std::wstring> text = ansi.Decode(bytes);
    if (!text || ansi.Encode(*text) != std::optional<std::string>(bytes))
        return std::nullopt;
    return ProfileFileText{ProfileEncoding::Ansi, std::move(*text)};
}

std::optional<std::string> EncodeProfileFile(std::wstring_view text, ProfileEncoding encoding, IAnsiCodePage& ansi)
{
    switch (encoding) {
    case ProfileEncoding::Ansi:
        return ansi.Encode(text);
    case ProfileEncoding::Utf8:
        return std::string(kUtf8Mark) + ToUtf8(text);
    case ProfileEncoding::Utf16Le:
        return std::string(kUtf16LeMark) + EncodeUtf16(text, false);
    case ProfileEncoding::Utf16Be:
        return std::string(kUtf16BeMark) + EncodeUtf16(text, true);
    }
    return std::nullopt;
}
