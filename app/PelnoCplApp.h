#pragma once
// The application object: single instance, console face or dialog face.

#include "win/AppBase.h"

class CPelnoCplApp : public CAppBase {
public:
    bool InitInstance() override;
    int ExitInstance() override;

private:
    // True when another instance runs (it was brought to the front).
    bool AnotherInstanceRuns();

    HANDLE m_instanceMutex = nullptr; // held until the process ends
    int m_exitCode = 0;
};
