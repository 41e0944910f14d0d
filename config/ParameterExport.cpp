#include "config/ParameterExport.h"

#include "config/ParameterContext.h"
#include "config/ParameterHelpers.h"
#include "config/ParameterPaths.h"
#include "config/ParameterValidation.h"
#include "platform/Console.h"
#include "platform/Profile.h"
#include "platform/Registry.h"

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
// meaning, keys in the given order; false when the file refused a write.
bool ExportKey(ParameterContext& context, const std::wstring& file, const std::wstring& section,
               const std::wstring& keyPath, const wchar_t* const* names, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        std::int32_t value = ReadDword(context.registry, keyPath, names[i]);
        if (!context.profile.WriteString(file, section, names[i], std::to_wstring(value)))
            return false;
    }
    return true;
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
    if (!ExportKey(context, path, kDriverSection, kDriverParametersPath, driverKeys, std::size(driverKeys)))
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
            if (!ExportKey(context, path, name, keyPath, kTouchScreenExportKeys, std::size(kTouchScreenExportKeys)))
                return Stop(console, "Export failed!\n");
        }
    }
    console.Write("Export completed!\n");
    console.Write(kPressAnyKey);
    return complete ? 0 : 1;
}
