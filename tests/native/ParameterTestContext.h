#pragma once
// The export and import over in-memory seams, with the console captured.

#include "TestSeams.h"
#include "common/TextEncoding.h"
#include "config/ParameterContext.h"
#include "config/ParameterPaths.h"
#include "platform/MemoryProfile.h"
#include "platform/MemoryRegistry.h"

#include <string>

struct ParameterFixture {
    CMemoryRegistry registry;
    CMemoryProfile profile;
    CCapturingConsole console;
    ParameterContext context{registry, profile, console, L"C:\\work", ToUtf8};

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
};
