#pragma once
// The process-wide set of seams, filled once at start-up (Win32 or simulated
// implementations) and read by portable code that is not handed a seam.

class IHidPort;
class IRegistry;
class IProfile;
class IFileStore;
class IAnsiCodePage;
class IConsole;
class IMonitorSource;
class IWindowMessenger;
class ISystem;
class ISystemMouse;

struct PlatformServices {
    IHidPort* hid = nullptr;
    IRegistry* registry = nullptr;
    IProfile* profile = nullptr;
    IFileStore* files = nullptr;
    IAnsiCodePage* ansi = nullptr;
    IConsole* console = nullptr;
    IMonitorSource* monitors = nullptr;
    IWindowMessenger* messenger = nullptr;
    ISystem* system = nullptr;
    ISystemMouse* mouse = nullptr; // the user's double-click settings and cursor scheme
};

// Installs the services; call before any other thread starts.
void SetPlatform(const PlatformServices& services);
const PlatformServices& GetPlatform();
