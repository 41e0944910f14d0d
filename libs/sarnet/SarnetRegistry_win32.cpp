#include "libs/sarnet/SarnetRegistry.h"

#include "platform/Registry_win32.h"

// The DLL has no share in the program's seams: it keeps a registry of its own.
IRegistry* SarnetRegistry()
{
    static CWin32Registry registry;
    return &registry;
}
