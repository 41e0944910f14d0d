#include "win/AppBase.h"

#include "platform/System_win32.h"
#include "win/Dialog.h"

#include <shellapi.h>

namespace {
CAppBase* g_app = nullptr;
}

CAppBase::CAppBase() { g_app = this; }

CAppBase::~CAppBase()
{
    if (g_app == this)
        g_app = nullptr;
}

CAppBase* CAppBase::Current() { return g_app; }

int CAppBase::Start(HINSTANCE instance)
{
    m_instance = instance;
    std::wstring path = ModulePath(nullptr);
    std::size_t slash = path.find_last_of(L"\\/");
    m_appName = slash == std::wstring::npos ? path : path.substr(slash + 1);
    std::size_t dot = m_appName.find_last_of(L'.');
    if (dot != std::wstring::npos)
        m_appName.resize(dot);

    int count = 0;
    if (LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i)
            m_arguments.emplace_back(argv[i]);
        LocalFree(argv);
    }

    if (InitInstance())
        Run();
    return ExitInstance();
}

int CAppBase::Run()
{
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (CDialog::RouteMessage(msg)) // modeless dialogs see their messages first
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    CAppBase* app = CAppBase::Current();
    return app ? app->Start(instance) : 1;
}
