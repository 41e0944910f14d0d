#include "config/ParameterExport.h"

#include "config/ParameterContext.h"
#include "config/ParameterHelpers.h"
#include "config/ParameterPaths.h"
#include "config/ParameterValidation.h"
#include "platform/Console.h"
#include "platform/Profile.h"
#include "platform/Registry.h"
#include "platform/TextCase.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace {

int Stop(IConsole& console, const char* message)
{
    console.Write(message);
    console.Write(kPressAnyKey);
    return 1;
}

// The values of one registry key as the section of the same meaning, keys
// in the given order; a value that cannot be read is exported as 0.
ProfileSection ReadKey(ParameterContext& context, const std::wstring& section, const std::wstring& keyPath,
                       const wchar_t* const* names, std::size_t count)
{
    std::vector<std::wstring> keys(names, names + count);
    std::vector<std::optional<std::uint32_t>> read =
        context.registry.GetDwords(RegistryRoot::LocalMachine, keyPath, keys);
    ProfileSection result{section, {}};
    for (std::size_t i = 0; i < count; ++i)
        result.entries.emplace_back(keys[i], std::to_wstring(static_cast<std::int32_t>(read[i].value_or(0))));
    return result;
}

// Writes the sections into an existing file, each whole and once, so that
// the file's other sections and keys stay; false when a write failed.
bool WriteIntoFile(IProfile& profile, const std::wstring& file, const std::vector<ProfileSection>& sections)
{
    std::vector<std::wstring> present = profile.GetSectionNames(file);
    for (const ProfileSection& section : sections) {
        ProfileEntries values = section.entries;
        // Only a section the file already holds (or this export wrote) needs
        // reading and merging.
        bool known = std::any_of(present.begin(), present.end(),
                                 [&](const std::wstring& name) { return EqualsNoCase(name, section.name); });
        if (known)
            values = MergeEntries(profile.GetSection(file, section.name), values);
        else
            present.push_back(section.name);
        if (!profile.WriteSection(file, section.name, values))
            return false;
    }
    return true;
}

// A new file is written whole with one write: each private-profile write
// rewrites the file, which would cost a file write per section.
bool WriteExport(IProfile& profile, const std::wstring& file, const std::vector<ProfileSection>& sections)
{
    if (!profile.FileExists(file)) {
        switch (profile.CreateWithSections(file, sections)) {
        case NewFileResult::Written:
            return true;
        case NewFileResult::Failed:
            return false;
        case NewFileResult::AlreadyExists:
            break; // made in the meantime: write into it
        }
    }
    return WriteIntoFile(profile, file, sections);
}

} // namespace

int ExportParameters(ParameterContext& context, const std::wstring& value)
{
    IConsole& console = context.console;
    console.Write("\n");
    console.Write("Please don't close console!\n");

    std::wstring path = TrimRight(value);
    if (path.size() < 8)
        return Stop(console, "Export file is invalid!\n");
    if (!HasIniExtension(path))
        return Stop(console, "Export file type must be ini file,Export exit!");
    if (!IsAcceptableFileName(path))
        return Stop(console, "Export file is invalid !\n");
    path = InDirectoryUnlessQualified(context.currentDirectory, path);

    if (!OpenOrCreateKey(context, kDriverParametersPath))
        return Stop(console, "Read driver data failed!,please retry!");

    const wchar_t* driverKeys[std::size(kDriverRows)];
    for (std::size_t i = 0; i < std::size(kDriverRows); ++i)
        driverKeys[i] = kDriverRows[i].key;
    std::vector<ProfileSection> sections;
    sections.push_back(ReadKey(context, kDriverSection, kDriverParametersPath, driverKeys, std::size(driverKeys)));

    bool complete = true;
    if (context.registry.KeyExists(RegistryRoot::LocalMachine, kDeviceParametersPath)) {
        for (const std::wstring& name :
             context.registry.GetSubkeys(RegistryRoot::LocalMachine, kDeviceParametersPath)) {
            std::wstring keyPath = std::wstring(kDeviceParametersPath) + L"\\" + name;
            if (!context.registry.KeyExists(RegistryRoot::LocalMachine, keyPath)) {
                // The touchscreens after it are not exported.
                console.Write("Read No. &d TouchScreen  Data Failed!");
                complete = false;
                break;
            }
            sections.push_back(
                ReadKey(context, name, keyPath, kTouchScreenExportKeys, std::size(kTouchScreenExportKeys)));
        }
    }
    if (!WriteExport(context.profile, path, sections))
        return Stop(console, "Export failed!\n");
    console.Write("Export completed!\n");
    console.Write(kPressAnyKey);
    return complete ? 0 : 1;
}
