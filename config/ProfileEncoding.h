#pragma once
// The bytes of a profile (.ini) file as text, read and written the way the
// private-profile functions do: a byte-order mark names UTF-8, UTF-16LE or
// UTF-16BE; without one the file is in the system's ANSI code page.

#include <optional>
#include <string>
#include <string_view>

class IAnsiCodePage;

enum class ProfileEncoding { Ansi, Utf8, Utf16Le, Utf16Be };

struct ProfileFileText {
    ProfileEncoding encoding = ProfileEncoding::Ansi;
    std::wstring text;
};

// The file's text, or nothing when its bytes are not such text: a NUL byte
// without a UTF-16 mark (UTF-16 without its mark, binary data), an odd
// length after a UTF-16 mark, or bytes that would not be written back
// unchanged (invalid in their encoding).
std::optional<ProfileFileText> DecodeProfileFile(std::string_view bytes, IAnsiCodePage& ansi);
// The bytes of the text in the encoding, byte-order mark first; nothing
// when the ANSI code page cannot hold every character.
std::optional<std::string> EncodeProfileFile(std::wstring_view text, ProfileEncoding encoding, IAnsiCodePage& ansi);
