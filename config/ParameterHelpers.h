#pragma once
// Registry and file-name helpers shared by the parameter export and import.

#include <cstdint>
#include <string>
#include <string_view>

struct ParameterContext;
class IRegistry;

extern const char kPressAnyKey[];

// True when the key (under HKEY_LOCAL_MACHINE) exists. Otherwise creates it,
// prints "error %x\n" with the creation's error code (0 when it worked) and
// returns false: a caller that wants the new key asks a second time.
bool OpenOrCreateKey(ParameterContext& context, const std::wstring& path);
// The value as a 32-bit integer, or 0 when it cannot be read.
std::int32_t ReadDword(IRegistry& registry, const std::wstring& path, const std::wstring& name);
// The directory with a backslash appended unless it already ends in one.
std::wstring DirectoryPrefix(const std::wstring& directory);
// The path itself when it holds a backslash, else the path in the directory.
std::wstring InDirectoryUnlessQualified(const std::wstring& directory, const std::wstring& path);
std::wstring TrimRight(std::wstring_view text);
// The file-name part (after the last backslash) must not be exactly 4 or
// more than 255 characters long, nor hold any of * > < | / ? " \.
bool IsAcceptableFileName(std::wstring_view path);
// True when the text ends in ".ini", in any case.
bool HasIniExtension(std::wstring_view path);
std::string FormatNarrow(const char* format, ...);
