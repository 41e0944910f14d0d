#include "ProgramRunner.h"

#include "common/LanguageText.h"
#include "platform/Profile_win32.h"

#include <fstream>
#include <iterator>

std::wstring ProgramPath() { return BinFolder() + L"\\PelnoCpl.exe"; }

std::wstring EnglishText(const wchar_t* key)
{
    CWin32Profile profile;
    return LookUpLanguageText(profile, BinFolder(), 1033, key);
}

std::wstring UniqueOutputFile()
{
    static int counter = 0;
    return MakeTempFolder(L"pelno_output") + L"\\out" + std::to_wstring(++counter) + L".txt";
}

std::wstring MakeTempFolder(const std::wstring& name)
{
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    std::wstring folder = std::wstring(temp) + name + L"_" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::string ReadFileBytes(const std::wstring& path)
{
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::string bytes;
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(file, buffer, sizeof buffer, &n, nullptr) && n > 0)
        bytes.append(buffer, n);
    CloseHandle(file);
    return bytes;
}

ProgramRun::~ProgramRun()
{
    if (process.hProcess) {
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(process.hProcess, 99);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
}

int ProgramRun::Wait(DWORD milliseconds)
{
    if (!process.hProcess)
        return -1;
    if (WaitForSingleObject(process.hProcess, milliseconds) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 99);
        WaitForSingleObject(process.hProcess, 5000);
        return -1;
    }
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    return static_cast<int>(code);
}

bool Launch(const LaunchOptions& options, ProgramRun& run)
{
    std::vector<std::pair<std::wstring, std::wstring>> saved;
    for (const auto& [name, value] : options.environment) {
        wchar_t old[4096];
        DWORD n = GetEnvironmentVariableW(name.c_str(), old, 4096);
        saved.emplace_back(name, n ? std::wstring(old, n) : std::wstring(L"\x01"));
        SetEnvironmentVariableW(name.c_str(), value.empty() ? nullptr : value.c_str());
    }

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    HANDLE output = INVALID_HANDLE_VALUE;
    if (!options.outputFile.empty()) {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        output = CreateFileW(options.outputFile.c_str(), GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherit, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        if (output == INVALID_HANDLE_VALUE)
            return false;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = output;
        startup.hStdError = output;
    }
    std::wstring commandLine = L"\"" + options.program + L"\" " + options.arguments;
    BOOL started = CreateProcessW(
        options.program.c_str(), commandLine.data(), nullptr, nullptr, output != INVALID_HANDLE_VALUE, 0, nullptr,
        options.currentDirectory.empty() ? nullptr : options.currentDirectory.c_str(), &startup, &run.process);
    if (output != INVALID_HANDLE_VALUE)
        CloseHandle(output);

    for (const auto& [name, value] : saved)
        SetEnvironmentVariableW(name.c_str(), value == L"\x01" ? nullptr : value.c_str());
    return started != 0;
}

CapturedRun RunCaptured(const std::wstring& program, const std::wstring& arguments,
                        const std::wstring& currentDirectory,
                        const std::vector<std::pair<std::wstring, std::wstring>>& environment)
{
    LaunchOptions options;
    options.program = program;
    options.arguments = arguments;
    options.outputFile = UniqueOutputFile();
    options.currentDirectory = currentDirectory;
    options.environment = environment;
    ProgramRun run;
    CapturedRun result;
    if (!Launch(options, run))
        return result;
    result.exitCode = run.Wait(30000);
    result.output = ReadFileBytes(options.outputFile);
    return result;
}

std::string WithCrLf(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

HWND WaitForWindow(const wchar_t* className, const std::wstring& caption, DWORD milliseconds)
{
    for (DWORD waited = 0; waited <= milliseconds; waited += 100) {
        if (HWND window = FindWindowW(className, caption.c_str()))
            return window;
        Sleep(100);
    }
    return nullptr;
}

std::wstring WindowText(HWND window)
{
    int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    return text;
}
