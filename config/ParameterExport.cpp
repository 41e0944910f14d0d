#include "config/ParameterExport.h"

#include "common/MainLog.h"
#include "config/ParameterContext.h"
#include "config/ParameterHelpers.h"
#include "config/ParameterPaths.h"
#include "config/ParameterValidation.h"
#include "config/ProfileEncoding.h"
#include "config/ProfileMerge.h"
#include "platform/Console.h"
#include "platform/FileStore.h"
#include "platform/Registry.h"

#include <optional>
#include <string_view>
#include <vector>

namespace {

// Shows the line that ends the export; one a failed call caused goes to
// Main.Log too, with that call and its code.
int Stop(IConsole& console, const char* message, const SeamResult& failure = true)
{
    console.Write(message);
    if (!failure) {
        const std::string_view shown = message;
        LogShownFailure(std::wstring(shown.begin(), shown.end()), failure);
    }
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

// The bytes of the file's text: in its own encoding when that can hold
// every name and value, otherwise as UTF-16LE with its byte-order mark,
// which holds them all and which the profile reads take as well.
std::string Encode(ParameterContext& context, const std::wstring& text, ProfileEncoding encoding)
{
    if (std::optional<std::string> bytes = EncodeProfileFile(text, encoding, context.ansi))
        return *bytes;
    return *EncodeProfileFile(text, ProfileEncoding::Utf16Le, context.ansi);
}

enum class ExportWrite { Written, Failed, CannotOpen, NotText };

// What WriteExport did, with the failing call of Failed.
struct ExportOutcome {
    ExportOutcome(ExportWrite result, SeamResult error = true) : result(result), error(error) {}
    ExportWrite result;
    SeamResult error;
};

// Writes the sections into the file with one write, all or nothing. A new
// file holds them alone; an existing one is read whole, the sections are
// written into its text as section writes would, and the result replaces
// the file only once written whole. A file that cannot be read, or not as
// text, is left as it is.
ExportOutcome WriteExport(ParameterContext& context, const std::wstring& file,
                          const std::vector<ProfileSection>& sections)
{
    std::string bytes;
    FileReadStatus status = context.files.Read(file, bytes);
    if (status == FileReadStatus::Missing) {
        const std::string newFile = Encode(context, MergeProfileSections({}, sections), ProfileEncoding::Ansi);
        const NewFileOutcome created = context.files.Create(file, newFile);
        switch (created.result) {
        case NewFileResult::Written:
            return ExportWrite::Written;
        case NewFileResult::Failed:
            return {ExportWrite::Failed, created.error};
        case NewFileResult::AlreadyExists:
            status = context.files.Read(file, bytes); // made in the meantime: write into it
            break;
        }
    }
    if (status == FileReadStatus::Missing)
        return ExportWrite::Failed;
    if (status == FileReadStatus::CannotOpen)
        return ExportWrite::CannotOpen;
    std::optional<ProfileFileText> existing = DecodeProfileFile(bytes, context.ansi);
    if (!existing)
        return ExportWrite::NotText;
    std::wstring merged = MergeProfileSections(existing->text, sections);
    const SeamResult replaced = context.files.Replace(file, Encode(context, merged, existing->encoding));
    return replaced ? ExportOutcome(ExportWrite::Written) : ExportOutcome(ExportWrite::Failed, replaced);
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

    // Reading only: a machine without the driver's key keeps it that way.
    if (!context.registry.KeyExists(RegistryRoot::LocalMachine, kDriverParametersPath))
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
    const ExportOutcome written = WriteExport(context, path, sections);
    switch (written.result) {
    case ExportWrite::Written:
        break;
    case ExportWrite::CannotOpen:
        console.Write(context.toConsoleText(path) + " can't be opened, it was left unchanged!\n");
        return Stop(console, "Export failed!\n");
    case ExportWrite::NotText:
        console.Write(context.toConsoleText(path) + " is not a text file, it was left unchanged!\n");
        return Stop(console, "Export failed!\n");
    case ExportWrite::Failed:
        return Stop(console, "Export failed!\n", written.error);
    }
    console.Write("Export completed!\n");
    console.Write(kPressAnyKey);
    return complete ? 0 : 1;
}
