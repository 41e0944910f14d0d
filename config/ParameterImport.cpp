#include "config/ParameterImport.h"

#include "common/MainLog.h"
#include "config/ParameterContext.h"
#include "config/ParameterHelpers.h"
#include "config/ParameterPaths.h"
#include "config/ParameterValidation.h"
#include "platform/Console.h"
#include "platform/Profile.h"
#include "platform/Registry.h"
#include "platform/TextCase.h"

#include <optional>
#include <utility>
#include <vector>

namespace {

// The longest value text a key yields, as the profile read buffer holds it.
constexpr std::size_t kMaxValueText = 255;
// Paths this long have no file status.
constexpr std::size_t kMaxPath = 260;
// A default no value can hold (a line break ends every line of the file):
// a key-by-key read that returns it found no key.
constexpr wchar_t kNoKey[] = L"\n";

// One row table's texts read from a section, in table order: a key's text
// as a key-by-key read with a 256-character buffer gives it, or nothing
// when the section lacks the key.
using SectionTexts = std::vector<std::optional<std::wstring>>;

template <class Row, std::size_t N>
SectionTexts ReadSection(ParameterContext& context, const std::wstring& file, const std::wstring& section,
                         const Row (&rows)[N])
{
    SectionTexts texts;
    // The section is read as a whole, once; one too large for that is read
    // key by key, so that its keys are not taken for missing ones.
    std::optional<ProfileEntries> entries = context.profile.GetSection(file, section);
    for (const Row& row : rows) {
        std::optional<std::wstring> text;
        if (entries) {
            text = FindProfileValue(*entries, row.key);
        } else {
            std::wstring read = context.profile.GetString(file, section, row.key, kNoKey);
            if (read != kNoKey)
                text = std::move(read);
        }
        if (text && text->size() > kMaxValueText)
            text->resize(kMaxValueText);
        texts.push_back(std::move(text));
    }
    return texts;
}

bool AnyKey(const SectionTexts& texts)
{
    for (const auto& text : texts)
        if (text)
            return true;
    return false;
}

// A touchscreen section names a subkey of its own: an empty name or a
// backslash would reach another key.
bool IsTouchScreenName(const std::wstring& name) { return !name.empty() && name.find(L'\\') == std::wstring::npos; }

// What the file holds for the import, read before anything is written.
struct ParameterFile {
    std::optional<SectionTexts> driver; // nothing: the file has no driver section
    struct TouchScreen {
        std::wstring name;
        std::optional<SectionTexts> texts; // nothing: not a touchscreen name, skipped
    };
    std::vector<TouchScreen> touchScreens; // in file order

    bool AnyKnownKey() const
    {
        if (driver && AnyKey(*driver))
            return true;
        for (const TouchScreen& touchScreen : touchScreens)
            if (touchScreen.texts && AnyKey(*touchScreen.texts))
                return true;
        return false;
    }
};

ParameterFile ReadParameterFile(ParameterContext& context, const std::wstring& file)
{
    ParameterFile content;
    for (const std::wstring& section : context.profile.GetSectionNames(file)) {
        // The driver section in whatever case it is spelled; its first copy.
        if (EqualsNoCase(section, kDriverSection)) {
            if (!content.driver)
                content.driver = ReadSection(context, file, kDriverSection, kDriverRows);
            continue;
        }
        std::optional<SectionTexts> texts;
        if (IsTouchScreenName(section))
            texts = ReadSection(context, file, section, kTouchScreenRows);
        content.touchScreens.push_back({section, std::move(texts)});
    }
    return content;
}

// Opens the key, creating it first when it is missing.
void OpenOrCreateTwice(ParameterContext& context, const std::wstring& path)
{
    if (!OpenOrCreateKey(context, path))
        OpenOrCreateKey(context, path);
}

SeamResult ImportDriverSection(ParameterContext& context, const SectionTexts& texts)
{
    OpenOrCreateTwice(context, kDriverParametersPath);
    std::vector<std::pair<std::wstring, std::uint32_t>> values;
    for (std::size_t i = 0; i < std::size(kDriverRows); ++i) {
        const DriverParameterRow& row = kDriverRows[i];
        ValidatedValue v = ValidateDriverValue(row, texts[i].value_or(L"0"));
        if (v.message)
            context.console.Write(v.message);
        values.emplace_back(row.key, static_cast<std::uint32_t>(v.value));
    }
    return context.registry.SetDwords(RegistryRoot::LocalMachine, kDriverParametersPath, values);
}

SeamResult ImportTouchScreenSection(ParameterContext& context, const std::wstring& section, const SectionTexts& texts)
{
    std::wstring keyPath = std::wstring(kDeviceParametersPath) + L"\\" + section;
    OpenOrCreateTwice(context, keyPath);
    std::vector<std::pair<std::wstring, std::uint32_t>> values;
    for (std::size_t i = 0; i < std::size(kTouchScreenRows); ++i) {
        const TouchScreenParameterRow& row = kTouchScreenRows[i];
        ValidatedValue v = ValidateTouchScreenValue(row, texts[i].value_or(row.defaultText));
        if (v.message)
            context.console.Write(v.message);
        values.emplace_back(row.key, static_cast<std::uint32_t>(v.value));
    }
    return context.registry.SetDwords(RegistryRoot::LocalMachine, keyPath, values);
}

int Stop(IConsole& console, const char* message)
{
    console.Write(message);
    console.Write(kPressAnyKey);
    return 1;
}

} // namespace

int ImportParameters(ParameterContext& context, const std::wstring& value)
{
    IConsole& console = context.console;
    console.Write("\n");
    console.Write("Please don't close console!\n");

    std::wstring path = InDirectoryUnlessQualified(context.currentDirectory, value);
    ProfileFileStatus status = path.size() >= kMaxPath ? ProfileFileStatus::Missing : context.profile.CheckFile(path);
    if (status == ProfileFileStatus::Missing) {
        console.Write(context.toConsoleText(path) + " doesn't exist!");
        return 1;
    }
    // Read from a file held open without sharing, every value would be a default.
    if (status == ProfileFileStatus::CannotOpen) {
        console.Write(context.toConsoleText(path) + " can't be opened!");
        return 1;
    }
    std::string shown = context.toConsoleText(path);
    if (shown.size() > 255)
        shown.resize(255);
    console.Write("Import config to file " + shown + " \n");

    if (!HasIniExtension(TrimRight(value)))
        return Stop(console, "Import file type must be ini file,Import exit!");

    // Everything is read before anything is written: a file with no value
    // to import (empty, binary, UTF-16 without its byte-order mark) would
    // otherwise set every value to its default.
    ParameterFile content = ReadParameterFile(context, path);
    if (!content.AnyKnownKey())
        return Stop(console, "No parameter found in the file,Import exit!");

    // Without a driver section the driver values stay as they are.
    // The first failed write is the one Main.Log names.
    SeamResult stored = content.driver ? ImportDriverSection(context, *content.driver) : SeamResult();
    for (const ParameterFile::TouchScreen& touchScreen : content.touchScreens) {
        if (!touchScreen.texts) {
            console.Write("Section " + context.toConsoleText(touchScreen.name) +
                          " is not a touchscreen name, skipped!\n");
            continue;
        }
        if (SeamResult one = ImportTouchScreenSection(context, touchScreen.name, *touchScreen.texts); !one && stored)
            stored = one;
    }
    console.Write(stored ? "Import completed!\n" : "Import completed with errors!\n");
    if (!stored)
        LogShownFailure(L"Import completed with errors!", stored);
    console.Write(kPressAnyKey);
    return stored ? 0 : 1;
}
