#include "platform/Console_win32.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>

namespace {

constexpr SHORT kBufferLines = 1000;

// Standard output already goes to a file or a pipe (a console answers
// GetConsoleMode; a redirect to NUL looks like a character device, so the
// file type alone does not tell).
bool IsRedirected(HANDLE output)
{
    DWORD mode = 0;
    return output && output != INVALID_HANDLE_VALUE && GetFileType(output) != FILE_TYPE_UNKNOWN &&
           !GetConsoleMode(output, &mode);
}

} // namespace

void CWin32Console::Attach()
{
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    if (IsRedirected(output)) {
        // Keep the redirect: point the runtime's standard output at it in
        // text mode, so that scripts capture what the console face prints.
        HANDLE duplicate = nullptr;
        if (DuplicateHandle(GetCurrentProcess(), output, GetCurrentProcess(), &duplicate, 0, FALSE,
                            DUPLICATE_SAME_ACCESS)) {
            int fd = _open_osfhandle(reinterpret_cast<intptr_t>(duplicate), _O_TEXT | _O_WRONLY);
            if (fd >= 0) {
                if (_fileno(stdout) < 0)
                    std::freopen("NUL", "w", stdout);
                _dup2(fd, _fileno(stdout));
                _close(fd);
            } else {
                CloseHandle(duplicate);
            }
        }
        std::setvbuf(stdout, nullptr, _IONBF, 0);
        m_output = output;
        return;
    }

    // The parent's console. A process that already has one (a terminal under
    // Wine) is refused with ERROR_ACCESS_DENIED: that counts as attached.
    if (!AttachConsole(ATTACH_PARENT_PROCESS) && GetLastError() != ERROR_ACCESS_DENIED)
        return; // no console: output is lost
    HANDLE console = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    if (console == INVALID_HANDLE_VALUE)
        return;
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (GetConsoleScreenBufferInfo(console, &info)) {
        COORD size = {info.dwSize.X < 80 ? SHORT(80) : info.dwSize.X, kBufferLines};
        if (info.dwSize.Y < kBufferLines)
            SetConsoleScreenBufferSize(console, size);
    }
    SetStdHandle(STD_OUTPUT_HANDLE, console);
    std::freopen("CONOUT$", "w", stdout);
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    m_output = console;
}

void CWin32Console::SetTitle(std::wstring_view title)
{
    std::wstring text(title);
    SetConsoleTitleW(text.c_str());
}

bool CWin32Console::IsConsole()
{
    DWORD mode = 0;
    return m_output && GetConsoleMode(m_output, &mode);
}

void CWin32Console::SetCursorPosition(int column, int row)
{
    if (IsConsole())
        SetConsoleCursorPosition(m_output, COORD{static_cast<SHORT>(column), static_cast<SHORT>(row)});
}

void CWin32Console::Clear()
{
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!IsConsole() || !GetConsoleScreenBufferInfo(m_output, &info))
        return;
    DWORD cells = static_cast<DWORD>(info.dwSize.X) * static_cast<DWORD>(info.dwSize.Y), written = 0;
    FillConsoleOutputCharacterW(m_output, L' ', cells, COORD{0, 0}, &written);
    FillConsoleOutputAttribute(m_output, info.wAttributes, cells, COORD{0, 0}, &written);
    SetConsoleCursorPosition(m_output, COORD{0, 0});
}

void CWin32Console::Write(std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

std::string ToConsoleText(std::wstring_view text)
{
    if (text.empty())
        return {};
    int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? static_cast<std::size_t>(size) : 0, '\0');
    if (size > 0)
        WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}
