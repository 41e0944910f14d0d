#pragma once
// The export and import over in-memory seams, with the console captured.

#include "TestSeams.h"
#include "common/TextEncoding.h"
#include "config/ParameterContext.h"
#include "config/ParameterPaths.h"
#include "config/ParameterValidation.h"
#include "config/ProfileEncoding.h"
#include "config/ProfileMerge.h"
#include "platform/AnsiCodePage.h"
#include "platform/MemoryFileStore.h"
#include "platform/MemoryProfile.h"
#include "platform/MemoryRegistry.h"

#include <fstream>
#include <string>

// The last line written to Main.Log (in the current folder).
inline std::string LastMainLogLine()
{
    std::ifstream log("Main.Log");
    std::string line, last;
    while (std::getline(log, line))
        last = line;
    return last;
}

struct ParameterFixture {
    CMemoryRegistry registry;
    CMemoryProfile profile;
    CMemoryFileStore files;
    CLatin1CodePage ansi;
    CCapturingConsole console;
    ParameterContext context{registry, profile, files, ansi, console, L"C:\\work", ToUtf8};

    static std::wstring DevicePath(const std::wstring& name)
    {
        return std::wstring(kDeviceParametersPath) + L"\\" + name;
    }
    std::int64_t Value(const std::wstring& path, const std::wstring& name)
    {
        auto v = registry.GetDword(RegistryRoot::LocalMachine, path, name);
        return v ? static_cast<std::int32_t>(*v) : std::int64_t{-999999999999};
    }
    void Set(const std::wstring& path, const std::wstring& name, std::int32_t value)
    {
        registry.CreateKey(RegistryRoot::LocalMachine, path);
        registry.SetDword(RegistryRoot::LocalMachine, path, name, static_cast<std::uint32_t>(value));
    }
    // The sections of a file the export wrote, as a profile reader sees them.
    std::vector<ProfileSection> FileSections(const std::wstring& file)
    {
        auto text = DecodeProfileFile(files.Bytes(file).value_or(""), ansi);
        return text ? ReadProfileSections(text->text) : std::vector<ProfileSection>{};
    }
    // Every parameter below the driver service's key, one line each.
    std::string Dump()
    {
        std::string dump;
        auto values = [&](const std::wstring& path, auto names) {
            for (const wchar_t* name : names)
                if (auto v = registry.GetDword(RegistryRoot::LocalMachine, path, name))
                    dump += ToUtf8(path) + " " + ToUtf8(name) + "=" + std::to_string(*v) + "\n";
        };
        if (registry.KeyExists(RegistryRoot::LocalMachine, kDriverParametersPath))
            dump += "driver key\n";
        values(kDriverParametersPath, DriverKeys());
        for (const std::wstring& name : registry.GetSubkeys(RegistryRoot::LocalMachine, kDeviceParametersPath)) {
            dump += "touchscreen key " + ToUtf8(name) + "\n";
            values(DevicePath(name), TouchScreenKeys());
        }
        return dump;
    }
    static std::vector<const wchar_t*> DriverKeys()
    {
        std::vector<const wchar_t*> keys;
        for (const DriverParameterRow& row : kDriverRows)
            keys.push_back(row.key);
        return keys;
    }
    static std::vector<const wchar_t*> TouchScreenKeys()
    {
        std::vector<const wchar_t*> keys;
        for (const TouchScreenParameterRow& row : kTouchScreenRows)
            keys.push_back(row.key);
        return keys;
    }
};
