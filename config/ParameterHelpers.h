#pragma once
// Registry and file-name helpers shared by the parameter export and import.

#include "platform/Profile.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct ParameterContext;

extern const char kPressAnyKey[];

// True when the key (under HKEY_LOCAL_MACHINE) exists. Otherwise creates it,
// prints "error %x\n" with the creation's error code (0 when it worked) and
// returns false: a caller that wants the new key asks a second time.
bool OpenOrCreateKey(ParameterContext& context, const std::wstring& path);
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
// The value of a key among a section's entries as a key-by-key profile read
// gives it: the first key of that name in any case, one pair of enclosing
// quotes removed; nothing (or the default) when the key is missing.
std::optional<std::wstring> FindProfileValue(const ProfileEntries& entries, std::wstring_view key);
std::wstring ProfileValue(const ProfileEntries& entries, std::wstring_view key, std::wstring_view defaultValue);
// The section's entries with these keys set: existing keys keep their place
// and any other keys stay, new keys follow in the given order.
ProfileEntries MergeEntries(ProfileEntries entries, const ProfileEntries& updates);
std::string FormatNarrow(const char* format, ...);
