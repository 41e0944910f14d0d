#include "platform/System_win32.h"

std::wstring ModulePath(HMODULE module)
{
    // GetModuleFileNameW truncates silently: grow until the path fits.
    for (DWORD size = MAX_PATH;; size *= 2) {
        std::wstring path(size, L'\0');
        DWORD n = GetModuleFileNameW(module, path.data(), size);
        if (n == 0)
            return {};
        if (n < size || size >= 32768 * 2) {
            path.resize(n);
            return path;
        }
    }
}

std::wstring CurrentDirectory()
{
    DWORD size = GetCurrentDirectoryW(0, nullptr);
    std::wstring directory(size, L'\0');
    DWORD length = GetCurrentDirectoryW(size, directory.data());
    directory.resize(length < size ? length : 0);
    return directory;
}

unsigned CWin32System::DefaultLanguageId() { return GetSystemDefaultLangID(); }

std::wstring CWin32System::ProgramFolder()
{
    std::wstring path = ModulePath(nullptr);
    std::size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

bool CWin32System::FileExists(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void CWin32System::Sleep(unsigned milliseconds) { ::Sleep(milliseconds); }

void CWin32System::RaiseCurrentThreadPriority() { SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST); }
