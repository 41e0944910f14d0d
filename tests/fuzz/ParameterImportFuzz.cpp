// Fuzzes the parameter import with arbitrary .ini content: the file's bytes
// are read and cut into sections and keys as the profile functions would
// (Latin-1 standing in for the ANSI code page), imported into an in-memory
// registry, and the result is checked against what the import promises
// whatever the file holds.

#include "config/ParameterContext.h"
#include "config/ParameterImport.h"
#include "config/ParameterPaths.h"
#include "config/ParameterValidation.h"
#include "config/ProfileEncoding.h"
#include "config/ProfileMerge.h"
#include "platform/AnsiCodePage.h"
#include "platform/MemoryFileStore.h"
#include "platform/MemoryProfile.h"
#include "platform/MemoryRegistry.h"
#include "tests/native/TestSeams.h"

#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <cwctype>
#include <limits>
#include <string>

namespace {

const std::wstring kFile = L"C:\\fuzz\\input.ini";

bool SameName(const std::wstring& a, const std::wstring& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::towlower(a[i]) != std::towlower(b[i]))
            return false;
    return true;
}

// The number rule, said a second way: digits only (one leading minus when
// allowed), empty is 0, beyond 32 bits saturates.
bool ReferenceParse(const std::wstring& text, bool allowMinus, std::int32_t& value)
{
    std::wstring digits = text;
    bool negative = allowMinus && !digits.empty() && digits[0] == L'-';
    if (negative)
        digits.erase(0, 1);
    if (negative && digits.empty())
        return false;
    for (wchar_t c : digits)
        if (c < L'0' || c > L'9')
            return false;
    std::size_t first = digits.find_first_not_of(L'0');
    std::wstring significant = first == std::wstring::npos ? L"" : digits.substr(first);
    long long magnitude = significant.size() > 12 ? (1LL << 40) : (significant.empty() ? 0 : std::stoll(significant));
    long long signedValue = negative ? -magnitude : magnitude;
    if (signedValue > std::numeric_limits<std::int32_t>::max())
        signedValue = std::numeric_limits<std::int32_t>::max();
    if (signedValue < std::numeric_limits<std::int32_t>::min())
        signedValue = std::numeric_limits<std::int32_t>::min();
    value = static_cast<std::int32_t>(signedValue);
    return true;
}

// The calibration points and the calibrated flag are never negative; every
// other touchscreen value may be.
bool MayBeNegative(const std::wstring& key)
{
    bool point = key.size() == 3 && key[0] == L'M' && key[1] >= L'1' && key[1] <= L'4';
    return !point && key != L"IsCalibrate";
}

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CLatin1CodePage ansi;
    CMemoryProfile profile;
    // Bytes that are no text read as a file without sections.
    auto text = DecodeProfileFile(std::string_view(reinterpret_cast<const char*>(data), size), ansi);
    profile.SetFile(kFile, text ? ReadProfileSections(text->text) : std::vector<ProfileSection>{});
    CMemoryRegistry registry;
    CMemoryFileStore files;
    CCapturingConsole console;
    ParameterContext context{registry, profile, files, ansi, console, L"C:\\fuzz", [](std::wstring_view text) {
                                 return std::string(text.begin(), text.end());
                             }};

    // Which sections the import takes: the driver section in any case, and
    // every other one named without a backslash.
    bool driverSection = false, anyKnownKey = false;
    for (const std::wstring& name : profile.GetSectionNames(kFile)) {
        ProfileEntries section = profile.GetSection(kFile, name).value_or(ProfileEntries{});
        bool driver = SameName(name, L"DriverParameters");
        driverSection |= driver;
        if (!driver && (name.empty() || name.find(L'\\') != std::wstring::npos))
            continue;
        for (const auto& [key, value] : section) {
            for (const DriverParameterRow& row : kDriverRows)
                anyKnownKey |= driver && SameName(key, row.key);
            for (const TouchScreenParameterRow& row : kTouchScreenRows)
                anyKnownKey |= !driver && SameName(key, row.key);
        }
    }

    const int exitCode = ImportParameters(context, kFile);
    if (!anyKnownKey) {
        // Refused before any write.
        Check(exitCode == 1);
        Check(!registry.KeyExists(RegistryRoot::LocalMachine, kParametersPath));
        return 0;
    }
    Check(exitCode == 0);
    const std::string done = "Import completed!\nPress any key to continue......";
    Check(console.output.size() >= done.size() &&
          console.output.compare(console.output.size() - done.size(), done.size(), done) == 0);

    // Every driver value lands inside its range; without a driver section
    // none is written.
    Check(registry.KeyExists(RegistryRoot::LocalMachine, kDriverParametersPath) == driverSection);
    for (const DriverParameterRow& row : kDriverRows) {
        auto value = registry.GetDword(RegistryRoot::LocalMachine, kDriverParametersPath, row.key);
        Check(value.has_value() == driverSection);
        if (!value)
            continue;
        auto v = static_cast<std::int32_t>(*value);
        Check(v >= row.min && v <= row.max);
    }

    // Each touchscreen section became one subkey directly below the
    // touchscreens' key, holding exactly what the number rule gives.
    for (const std::wstring& name : registry.GetSubkeys(RegistryRoot::LocalMachine, kDeviceParametersPath)) {
        std::wstring path = std::wstring(kDeviceParametersPath) + L"\\" + name;
        Check(registry.GetSubkeys(RegistryRoot::LocalMachine, path).empty());
        ProfileEntries section = profile.GetSection(kFile, name).value_or(ProfileEntries{});
        for (const TouchScreenParameterRow& row : kTouchScreenRows) {
            auto stored = registry.GetDword(RegistryRoot::LocalMachine, path, row.key);
            Check(stored.has_value());
            std::wstring text = row.defaultText;
            for (const auto& [key, value] : section) {
                if (SameName(key, row.key)) {
                    text = value;
                    break;
                }
            }
            if (text.size() >= 2 && (text.front() == L'"' || text.front() == L'\'') && text.back() == text.front())
                text = text.substr(1, text.size() - 2);
            if (text.size() > 255)
                text.resize(255);
            std::int32_t expected = row.fallback;
            if (!ReferenceParse(text, MayBeNegative(row.key), expected))
                expected = row.fallback;
            Check(static_cast<std::int32_t>(*stored) == expected);
        }
    }
    return 0;
}
