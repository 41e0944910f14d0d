// Fuzzes the parameter import with arbitrary .ini content: the file is cut
// into sections and keys the way a profile reader would, imported into an
// in-memory registry, and the result is checked against what the import
// promises whatever the file holds.

#include "config/ParameterContext.h"
#include "config/ParameterImport.h"
#include "config/ParameterPaths.h"
#include "config/ParameterValidation.h"
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

std::wstring Trimmed(const std::wstring& text)
{
    std::size_t begin = text.find_first_not_of(L" \t");
    std::size_t end = text.find_last_not_of(L" \t\r");
    return begin == std::wstring::npos ? std::wstring() : text.substr(begin, end - begin + 1);
}

// Lines "[name]" open a section, "key=value" lines fill it; bytes are taken
// as Latin-1 so that every input is some text.
void LoadProfile(CMemoryProfile& profile, const std::uint8_t* data, std::size_t size)
{
    std::wstring section;
    bool inSection = false;
    ProfileEntries entries;
    auto flush = [&] {
        if (inSection)
            profile.WriteSection(kFile, section, entries);
        entries.clear();
    };
    std::wstring line;
    for (std::size_t i = 0; i <= size; ++i) {
        if (i < size && data[i] != '\n') {
            line += static_cast<wchar_t>(data[i]);
            continue;
        }
        std::wstring text = Trimmed(line);
        line.clear();
        if (text.size() >= 2 && text.front() == L'[' && text.find(L']') != std::wstring::npos) {
            flush();
            section = text.substr(1, text.find(L']') - 1);
            inSection = true;
        } else if (std::size_t equals = text.find(L'='); equals != std::wstring::npos && inSection) {
            entries.emplace_back(Trimmed(text.substr(0, equals)), Trimmed(text.substr(equals + 1)));
        }
    }
    flush();
    if (!profile.FileExists(kFile))
        profile.WriteSection(kFile, L"DriverParameters", {});
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
    CMemoryProfile profile;
    LoadProfile(profile, data, size);
    CMemoryRegistry registry;
    CCapturingConsole console;
    ParameterContext context{registry, profile, console, L"C:\\fuzz",
                             [](std::wstring_view text) { return std::string(text.begin(), text.end()); }};

    Check(ImportParameters(context, kFile) == 0);
    const std::string done = "Import completed!\nPress any key to continue......";
    Check(console.output.size() >= done.size() &&
          console.output.compare(console.output.size() - done.size(), done.size(), done) == 0);

    // Every driver value lands inside its range.
    for (const DriverParameterRow& row : kDriverRows) {
        auto value = registry.GetDword(RegistryRoot::LocalMachine, kDriverParametersPath, row.key);
        Check(value.has_value());
        auto v = static_cast<std::int32_t>(*value);
        Check(v >= row.min && v <= row.max);
    }

    // Each touchscreen section became one subkey directly below the
    // touchscreens' key, holding exactly what the number rule gives.
    for (const std::wstring& name : registry.GetSubkeys(RegistryRoot::LocalMachine, kDeviceParametersPath)) {
        std::wstring path = std::wstring(kDeviceParametersPath) + L"\\" + name;
        Check(registry.GetSubkeys(RegistryRoot::LocalMachine, path).empty());
        ProfileEntries section = profile.GetSection(kFile, name);
        for (const TouchScreenParameterRow& row : kTouchScreenRows) {
            auto stored = registry.GetDword(RegistryRoot::LocalMachine, path, row.key);
            Check(stored.has_value());
            std::wstring text = row.defaultText;
            for (const auto& [key, value] : section) {
                bool same = key.size() == std::wcslen(row.key);
                for (std::size_t i = 0; same && i < key.size(); ++i)
                    same = std::towlower(key[i]) == std::towlower(row.key[i]);
                if (same) {
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
