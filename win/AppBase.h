#pragma once
// The application base: one object per program, whose InitInstance decides
// whether a message loop runs. As with a class framework's application:
// InitInstance false ends the program at once; true runs the message loop
// until WM_QUIT. Either way ExitInstance gives the exit code.

#include <windows.h>

#include <string>
#include <vector>

class CAppBase {
public:
    CAppBase();
    virtual ~CAppBase();
    CAppBase(const CAppBase&) = delete;
    CAppBase& operator=(const CAppBase&) = delete;

    static CAppBase* Current();

    virtual bool InitInstance() = 0;
    virtual int ExitInstance() { return 0; }

    HINSTANCE Instance() const { return m_instance; }
    // The executable's base name, without folder and extension.
    const std::wstring& AppName() const { return m_appName; }
    // The command-line arguments after the program name, split by the usual rules.
    const std::vector<std::wstring>& Arguments() const { return m_arguments; }
    HWND MainWindow() const { return m_mainWindow; }
    void SetMainWindow(HWND window) { m_mainWindow = window; }

    // Called from wWinMain.
    int Start(HINSTANCE instance);

private:
    int Run();

    HINSTANCE m_instance = nullptr;
    HWND m_mainWindow = nullptr;
    std::wstring m_appName;
    std::vector<std::wstring> m_arguments;
};
