#pragma once
// The application object: single instance, console face or dialog face.

#include "win/AppBase.h"

#include <memory>

class CDeviceThread;
class CPelnoCplApp : public CAppBase {
public:
    CPelnoCplApp();
    ~CPelnoCplApp() override;
    bool InitInstance() override;
    int ExitInstance() override;

private:
    // True when another instance runs (it was brought to the front).
    bool AnotherInstanceRuns();

    HANDLE m_instanceMutex = nullptr; // held until the process ends
    std::unique_ptr<CDeviceThread> m_deviceThread;
    int m_exitCode = 0;
};
