#include "config/ParameterHelpers.h"

#include "config/ParameterContext.h"
#include "platform/Console.h"
#include "platform/Registry.h"
#include "platform/TextCase.h"

#include <cstdarg>
#include <cstdio>

const char kPressAnyKey[] = "Press any key to continue......";

bool OpenOrCreateKey(ParameterContext& context, const std::wstring& path)
{
    if (context.registry.KeyExists(RegistryRoot::LocalMachine, path))
        return true;
    unsigned code = context.registry.CreateKeyCode(RegistryRoot::LocalMachine, path);
    context.console.Write(FormatNarrow("error %x\n", code));
    return false;
}

std::wstring DirectoryPrefix(const std::wstring& directory)
{
    if (!directory.empty() && directory.back() == L'\\')
        return directory;
    return directory + L'\\';
}

std::wstring InDirectoryUnlessQualified(const std::wstring& directory, const std::wstring& path)
{
    if (path.find(L'\\') != std::wstring::npos)
        return path;
    return DirectoryPrefix(directory) + path;
}

std::wstring TrimRight(std::wstring_view text)
{
    std::size_t end = text.size();
    while (end > 0 && (text[end - 1] == L' ' || (text[end - 1] >= L'\t' && text[end - 1] <= L'\r')))
        --end;
    return std::wstring(text.substr(0, end));
}

bool IsAcceptableFileName(std::wstring_view path)
{
    std::size_t separator = path.rfind(L'\\');
    std::wstring_view name = separator == std::wstring_view::npos ? path : path.substr(separator + 1);
    if (name.size() == 4 || name.size() > 255)
        return false;
    return name.find_first_of(L"*><|/?\"\\") == std::wstring_view::npos;
}

bool HasIniExtension(std::wstring_view path)
{
    return path.size() >= 4 && EqualsNoCase(path.substr(path.size() - 4), L".ini");
}

std::optional<std::wstring> FindProfileValue(const ProfileEntries& entries, std::wstring_view key)
{
    for (const auto& [name, value] : entries) {
        if (!EqualsNoCase(name, key))
            continue;
        if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') && value.back() == value.front())
            return value.substr(1, value.size() - 2);
        return value;
    }
    return std::nullopt;
}

std::wstring ProfileValue(const ProfileEntries& entries, std::wstring_view key, std::wstring_view defaultValue)
{
    return FindProfileValue(entries, key).value_or(std::wstring(defaultValue));
}

ProfileEntries MergeEntries(ProfileEntries entries, const ProfileEntries& updates)
{
    for (const auto& [key, value] : updates) {
        bool found = false;
        for (auto& [name, old] : entries)
            if (EqualsNoCase(name, key)) {
                // Later copies of a key are dropped: the file keeps one.
                if (found)
                    name.clear();
                else
                    old = value;
                found = true;
            }
        if (!found)
            entries.emplace_back(key, value);
    }
    std::erase_if(entries, [](const auto& entry) { return entry.first.empty(); });
    return entries;
}

std::string FormatNarrow(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
    if (length > 0)
        std::vsnprintf(text.data(), text.size() + 1, format, args);
    va_end(args);
    return text;
}
