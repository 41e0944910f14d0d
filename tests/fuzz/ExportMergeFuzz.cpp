// Fuzzes the export into an existing file: arbitrary bytes are the file,
// the registry holds a few touchscreens (with the first byte's low bit, one
// whose name the ANSI code page cannot hold), and the file the export leaves
// is checked against what the export promises whatever the file held.

#include "config/ParameterContext.h"
#include "config/ParameterExport.h"
#include "config/ParameterHelpers.h"
#include "config/ParameterPaths.h"
#include "config/ProfileEncoding.h"
#include "config/ProfileMerge.h"
#include "platform/AnsiCodePage.h"
#include "platform/MemoryFileStore.h"
#include "platform/MemoryProfile.h"
#include "platform/MemoryRegistry.h"
#include "platform/TextCase.h"
#include "tests/native/TestSeams.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

const std::wstring kFile = L"C:\\fuzz\\settings.ini";
const std::wstring kWideName = L"TouchScreen\x89E6";

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

const ProfileSection* FirstOfName(const std::vector<ProfileSection>& sections, const std::wstring& name)
{
    for (const ProfileSection& section : sections)
        if (EqualsNoCase(section.name, name))
            return &section;
    return nullptr;
}

// The sections whose names the export does not write, in file order.
std::vector<ProfileSection> Untouched(const std::vector<ProfileSection>& sections,
                                      const std::vector<std::wstring>& exported)
{
    std::vector<ProfileSection> kept;
    for (const ProfileSection& section : sections) {
        bool written = false;
        for (const std::wstring& name : exported)
            written |= EqualsNoCase(section.name, name);
        if (!written)
            kept.push_back(section);
    }
    return kept;
}

// The sections the export writes: the driver's and one per touchscreen.
std::vector<std::wstring> Exported(bool wideName)
{
    std::vector<std::wstring> names = {L"DriverParameters", L"TouchScreen0", L"touchscreen7"};
    if (wideName)
        names.push_back(kWideName);
    return names;
}

bool SameSections(const std::vector<ProfileSection>& a, const std::vector<ProfileSection>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].name != b[i].name || a[i].entries != b[i].entries)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const bool wideName = data[0] & 1;
    const std::string original(reinterpret_cast<const char*>(data) + 1, size - 1);

    const std::vector<std::wstring> exported = Exported(wideName);
    CMemoryRegistry registry;
    registry.CreateKey(RegistryRoot::LocalMachine, kDriverParametersPath);
    registry.SetDword(RegistryRoot::LocalMachine, kDriverParametersPath, L"Mode", 2);
    for (std::size_t i = 1; i < exported.size(); ++i) {
        std::wstring path = std::wstring(kDeviceParametersPath) + L"\\" + exported[i];
        registry.CreateKey(RegistryRoot::LocalMachine, path);
        registry.SetDword(RegistryRoot::LocalMachine, path, L"M1X", static_cast<std::uint32_t>(-7 * int(i)));
    }

    CMemoryProfile profile;
    CMemoryFileStore files;
    files.Put(kFile, original);
    CLatin1CodePage ansi;
    CCapturingConsole console;
    ParameterContext context{registry, profile, files, ansi, console, L"C:\\fuzz", [](std::wstring_view text) {
                                 return std::string(text.begin(), text.end());
                             }};

    const std::optional<ProfileFileText> before = DecodeProfileFile(original, ansi);
    const int exitCode = ExportParameters(context, kFile);
    const std::string written = *files.Bytes(kFile);
    Check(files.FileCount() == 1); // no temporary file is left
    if (!before) {
        // Not text: left byte for byte as it was.
        Check(exitCode == 1 && written == original);
        return 0;
    }
    Check(exitCode == 0);
    const std::optional<ProfileFileText> after = DecodeProfileFile(written, ansi);
    Check(after.has_value());
    // The file keeps its encoding unless ANSI cannot hold a name.
    const bool widened = before->encoding == ProfileEncoding::Ansi && wideName;
    Check(after->encoding == (widened ? ProfileEncoding::Utf16Le : before->encoding));

    const std::vector<ProfileSection> oldSections = ReadProfileSections(before->text);
    const std::vector<ProfileSection> newSections = ReadProfileSections(after->text);
    // Sections the export does not write read back exactly as they were.
    Check(SameSections(Untouched(newSections, exported), Untouched(oldSections, exported)));
    for (const std::wstring& name : exported) {
        // The first section of the name holds the values, and every other
        // key it had.
        const ProfileSection* section = FirstOfName(newSections, name);
        Check(section != nullptr);
        const std::vector<std::wstring> keys = name == L"DriverParameters"
                                                   ? std::vector<std::wstring>{L"Mode", L"BeepDuration"}
                                                   : std::vector<std::wstring>{L"M1X", L"EdgeA"};
        for (const std::wstring& key : keys) {
            auto value = FindProfileValue(section->entries, key);
            Check(value.has_value() && (key == L"Mode" ? *value == L"2" : !value->empty()));
        }
        if (const ProfileSection* old = FirstOfName(oldSections, name))
            for (const auto& [key, value] : old->entries)
                Check(FindProfileValue(section->entries, key).has_value());
    }

    // Exporting the same values again changes nothing.
    console.output.clear();
    Check(ExportParameters(context, kFile) == 0);
    Check(*files.Bytes(kFile) == written);
    return 0;
}
