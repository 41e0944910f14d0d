#pragma once
// Conversions between the program's wide strings and narrow UTF-8 text.

#include <string>
#include <string_view>

std::string ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view text);
