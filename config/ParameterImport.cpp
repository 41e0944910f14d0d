#include "config/ParameterImport.h"

#include "config/ParameterContext.h"
#include "config/ParameterHelpers.h"
#include "config/ParameterPaths.h"
#include "config/ParameterValidation.h"
#include "platform/Console.h"
#include "platform/Profile.h"
#include "platform/Registry.h"
#include "platform/TextCase.h"

#include <utility>
#include <vector>

namespace {

// The longest value text a key yields, as the profile read buffer holds it.
constexpr std::size_t kMaxValueText = 255;
// Paths this long have no file status.
constexpr std::size_t kMaxPath = 260;

// Opens the key, creating it first when it is missing.
void OpenOrCreateTwice(ParameterContext& context, const std::wstring& path)
{
    if (!OpenOrCreateKey(context, path))
        OpenOrCreateKey(context, path);
}

// A key's text, or its default when missing, as a key-by-key read with a
// 256-character buffer gives it. The section is read once, as a whole.
std::wstring ReadText(const ProfileEntries& section, const wchar_t* key, const wchar_t* defaultText)
{
    std::wstring text = ProfileValue(section, key, defaultText);
    if (text.size() > kMaxValueText)
        text.resize(kMaxValueText);
    return text;
}

bool ImportDriverSection(ParameterContext& context, const std::wstring& file)
{
    OpenOrCreateTwice(context, kDriverParametersPath);
    ProfileEntries entries = context.profile.GetSection(file, kDriverSection);
    std::vector<std::pair<std::wstring, std::uint32_t>> values;
    for (const DriverParameterRow& row : kDriverRows) {
        ValidatedValue v = ValidateDriverValue(row, ReadText(entries, row.key, L"0"));
        if (v.message)
            context.console.Write(v.message);
        values.emplace_back(row.key, static_cast<std::uint32_t>(v.value));
    }
    return context.registry.SetDwords(RegistryRoot::LocalMachine, kDriverParametersPath, values);
}

bool ImportTouchScreenSection(ParameterContext& context, const std::wstring& file, const std::wstring& section)
{
    std::wstring keyPath = std::wstring(kDeviceParametersPath) + L"\\" + section;
    OpenOrCreateTwice(context, keyPath);
    ProfileEntries entries = context.profile.GetSection(file, section);
    std::vector<std::pair<std::wstring, std::uint32_t>> values;
    for (const TouchScreenParameterRow& row : kTouchScreenRows) {
        ValidatedValue v = ValidateTouchScreenValue(row, ReadText(entries, row.key, row.defaultText));
        if (v.message)
            context.console.Write(v.message);
        values.emplace_back(row.key, static_cast<std::uint32_t>(v.value));
    }
    return context.registry.SetDwords(RegistryRoot::LocalMachine, keyPath, values);
}

// A touchscreen section names a subkey of its own: an empty name or a
// backslash would reach another key.
bool IsTouchScreenName(const std::wstring& name) { return !name.empty() && name.find(L'\\') == std::wstring::npos; }

} // namespace

int ImportParameters(ParameterContext& context, const std::wstring& value)
{
    IConsole& console = context.console;
    console.Write("\n");
    console.Write("Please don't close console!\n");

    std::wstring path = InDirectoryUnlessQualified(context.currentDirectory, value);
    if (path.size() >= kMaxPath || !context.profile.FileExists(path)) {
        console.Write(context.toConsoleText(path) + " doesn't exist!");
        return 1;
    }
    std::string shown = context.toConsoleText(path);
    if (shown.size() > 255)
        shown.resize(255);
    console.Write("Import config to file " + shown + " \n");

    if (!HasIniExtension(TrimRight(value))) {
        console.Write("Import file type must be ini file,Import exit!");
        console.Write(kPressAnyKey);
        return 1;
    }

    bool stored = ImportDriverSection(context, path);
    for (const std::wstring& section : context.profile.GetSectionNames(path)) {
        // The driver section was read above, in whatever case it is spelled.
        if (EqualsNoCase(section, kDriverSection))
            continue;
        if (!IsTouchScreenName(section)) {
            console.Write("Section " + context.toConsoleText(section) + " is not a touchscreen name, skipped!\n");
            continue;
        }
        stored &= ImportTouchScreenSection(context, path, section);
    }
    console.Write(stored ? "Import completed!\n" : "Import completed with errors!\n");
    console.Write(kPressAnyKey);
    return stored ? 0 : 1;
}
