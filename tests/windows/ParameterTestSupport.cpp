#include "ParameterTestSupport.h"

#include "ProgramRunner.h"

const wchar_t kServiceKey[] = L"SYSTEM\\CurrentControlSet\\Services\\PelnoHID";

void DeleteServiceKey() { RegDeleteTreeW(HKEY_LOCAL_MACHINE, kServiceKey); }

void SetParameter(const std::wstring& path, const wchar_t* name, std::int32_t value)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    DWORD data = static_cast<DWORD>(value);
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
    RegCloseKey(key);
}

CapturedRun RunPelno(const std::wstring& arguments, const std::wstring& currentDirectory)
{
    return RunCaptured(ProgramPath(), arguments, currentDirectory);
}

CapturedRun RunReg(const std::wstring& arguments)
{
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    return RunCaptured(std::wstring(system) + L"\\reg.exe", arguments);
}

std::string RegQueryDword(const std::wstring& path, const wchar_t* name)
{
    CapturedRun run = RunReg(L"query \"HKLM\\" + path + L"\" /v " + name);
    if (run.exitCode != 0)
        return {};
    std::size_t at = run.output.find("REG_DWORD");
    if (at == std::string::npos)
        return {};
    std::size_t start = run.output.find("0x", at);
    std::size_t end = run.output.find_first_of("\r\n", start);
    return run.output.substr(start, end - start);
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }
