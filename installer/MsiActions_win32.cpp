// The custom actions of PelnoCpl.msi (installer/PelnoCpl.wxs), in a DLL the
// package carries in its Binary table and never installs:
//   FindInvisibleCursor  whether %WINDIR%\Cursors\null.cur is there before
//                        the installation (then it is neither installed nor
//                        removed, as the NSIS installer does)
//   ImportSiteSettings   runs the installed program's own import, `-i`, on the
//                        file of the CONFIG property; its output goes to the
//                        installer's log, and a refusal fails the installation
//                        so that it is rolled back
//   RestoreCursors       at removal, puts back the cursor scheme values
//                        "Hide Cursor" replaced, as the NSIS uninstaller does

#include "config/SystemMouseSettings.h"

#include <windows.h>

#include <msi.h>
#include <msiquery.h>

#include <string>

namespace {

std::wstring Property(MSIHANDLE install, const wchar_t* name)
{
    DWORD size = 0;
    wchar_t empty[1] = L"";
    if (MsiGetPropertyW(install, name, empty, &size) != ERROR_MORE_DATA)
        return {};
    std::wstring value(size + 1, L'\0');
    size = static_cast<DWORD>(value.size());
    if (MsiGetPropertyW(install, name, value.data(), &size) != ERROR_SUCCESS)
        return {};
    value.resize(size);
    return value;
}

// One line in the installer's log (msiexec /l*v).
void Log(MSIHANDLE install, const std::wstring& text)
{
    PMSIHANDLE record = MsiCreateRecord(0);
    MsiRecordSetStringW(record, 0, text.c_str());
    MsiProcessMessage(install, INSTALLMESSAGE_INFO, record);
}

std::wstring InvisibleCursorFile()
{
    wchar_t windows[MAX_PATH] = L"";
    const UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    return std::wstring(windows) + L"\\Cursors\\null.cur";
}

// Runs the command line with its output captured; the exit code, or -1 when
// it could not be started.
long RunCaptured(std::wstring command, std::string& output)
{
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return -1;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                        nullptr, &startup, &process);
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(readEnd);
        return -1;
    }
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(readEnd, buffer, sizeof(buffer), &read, nullptr) && read > 0)
        output.append(buffer, read);
    CloseHandle(readEnd);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<long>(code);
}

// The program prints in the system's ANSI code page.
std::wstring FromAnsi(const std::string& text)
{
    const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(size > 0 ? size : 0, L'\0');
    if (size > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

bool ReadUserString(HKEY key, const wchar_t* path, const wchar_t* name, std::wstring& value)
{
    wchar_t buffer[1024];
    DWORD size = sizeof(buffer);
    if (RegGetValueW(key, path, name, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr, buffer, &size) !=
        ERROR_SUCCESS)
        return false;
    value = buffer;
    return true;
}

// Deletes the key of the current user when it holds no value and no key.
void DeleteKeyIfEmpty(const wchar_t* path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return;
    DWORD keys = 1, values = 1;
    const bool empty = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &keys, nullptr, nullptr, &values, nullptr,
                                        nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
                       keys == 0 && values == 0;
    RegCloseKey(key);
    if (empty)
        RegDeleteKeyW(HKEY_CURRENT_USER, path);
}

} // namespace

extern "C" __declspec(dllexport) UINT __stdcall FindInvisibleCursor(MSIHANDLE install)
{
    const std::wstring file = InvisibleCursorFile();
    if (!file.empty() && GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES)
        MsiSetPropertyW(install, L"PELNO_CURSOR_FOUND", L"1");
    return ERROR_SUCCESS;
}

// CustomActionData: "<PelnoCpl.exe>|<the site's .ini file>".
extern "C" __declspec(dllexport) UINT __stdcall ImportSiteSettings(MSIHANDLE install)
{
    const std::wstring data = Property(install, L"CustomActionData");
    const std::size_t bar = data.find(L'|');
    if (bar == std::wstring::npos) {
        Log(install, L"PelnoCpl: no program or settings file to import: " + data);
        return ERROR_INSTALL_FAILURE;
    }
    const std::wstring program = data.substr(0, bar), file = data.substr(bar + 1);
    Log(install, L"PelnoCpl: importing the site settings " + file);
    std::string output;
    const long code = RunCaptured(L"\"" + program + L"\" -i \"" + file + L"\"", output);
    std::wstring text = FromAnsi(output);
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos)
            end = text.size();
        std::wstring line = text.substr(start, end - start);
        if (!line.empty() && line.back() == L'\r')
            line.pop_back();
        if (!line.empty())
            Log(install, L"PelnoCpl -i: " + line);
        start = end + 1;
    }
    if (code == 0)
        return ERROR_SUCCESS;
    if (code == -1) {
        Log(install, L"PelnoCpl: " + program + L" could not be started; the installation is rolled back");
        return ERROR_INSTALL_FAILURE;
    }
    Log(install, L"PelnoCpl: the import refused " + file + L" (exit code " + std::to_wstring(code) +
                     L"); the installation is rolled back");
    return ERROR_INSTALL_FAILURE;
}

// Each scheme value that still names the invisible cursor gets the value kept
// for it (empty, the system's default, when none was kept); values the user
// chose since are left alone. Then the system reloads the scheme and the kept
// values go. Only the removing user's scheme is reached.
extern "C" __declspec(dllexport) UINT __stdcall RestoreCursors(MSIHANDLE)
{
    HKEY cursors = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Cursors", 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &cursors) ==
        ERROR_SUCCESS) {
        bool changed = false;
        for (const wchar_t* name : kCursorNames) {
            std::wstring value;
            if (!ReadUserString(cursors, nullptr, name, value) ||
                CompareStringOrdinal(value.c_str(), -1, kInvisibleCursorPath, -1, TRUE) != CSTR_EQUAL)
                continue;
            std::wstring kept;
            ReadUserString(HKEY_CURRENT_USER, kKeptCursorsPath, name, kept);
            RegSetValueExW(cursors, name, 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(kept.c_str()),
                           static_cast<DWORD>((kept.size() + 1) * sizeof(wchar_t)));
            changed = true;
        }
        RegCloseKey(cursors);
        if (changed)
            SystemParametersInfoW(SPI_SETCURSORS, 0, nullptr, 0);
    }
    // The kept values, then the program's and the maker's keys when nothing else is in them.
    RegDeleteKeyW(HKEY_CURRENT_USER, kKeptCursorsPath);
    DeleteKeyIfEmpty(L"Software\\Pelno Touch Systems\\TouchScreen Control Panel");
    DeleteKeyIfEmpty(L"Software\\Pelno Touch Systems");
    return ERROR_SUCCESS;
}
