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

// Writes the values of one registry key into the section of the same
// meaning, keys in the given order; false when the file refused the write.
// The section is written whole, once: each private-profile write rewrites
// the file, so one call per key would cost a file write per value.
bool ExportKey(ParameterContext& context, const std::wstring& file, std::vector<std::wstring>& fileSections,
               const std::wstring& section, const std::wstring& keyPath, const wchar_t* const* names, std::size_t count)
{
    std::vector<std::wstring> keys(names, names + count);
    std::vector<std::optional<std::uint32_t>> read =
        context.registry.GetDwords(RegistryRoot::LocalMachine, keyPath, keys);
    ProfileEntries values;
    for (std::size_t i = 0; i < count; ++i) {
        // A value that cannot be read is exported as 0.
        std::int32_t value = static_cast<std::int32_t>(read[i].value_or(0));
        values.emplace_back(keys[i], std::to_wstring(value));
    }
    // Only a section the file already holds (or this export wrote) needs
    // reading and merging.
    bool present = std::any_of(fileSections.begin(), fileSections.end(),
                               [&](const std::wstring& name) { return EqualsNoCase(name, section); });
    if (present)
        values = MergeEntries(context.profile.GetSection(file, section), values);
    else
        fileSections.push_back(section);
    return context.profile.WriteSection(file, section, values);
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
    std::vector<std::wstring> fileSections = context.profile.GetSectionNames(path);
    if (!ExportKey(context, path, fileSections, kDriverSection, kDriverParametersPath, driverKeys,
                   std::size(driverKeys)))
        return Stop(console, "Export failed!\n");

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
            if (!ExportKey(context, path, fileSections, name, keyPath, kTouchScreenExportKeys,
                           std::size(kTouchScreenExportKeys)))
                return Stop(console, "Export failed!\n");
        }
    }
    console.Write("Export completed!\n");
    console.Write(kPressAnyKey);
    return complete ? 0 : 1;
}
