#pragma once
// The real main dialog in this process, as the tests and benchmarks run it:
// the Win32 platform services (the language files of the runnable tree),
// virtual frames, the device manager and thread, and Sarnet.dll with Wine's
// registry. The touchscreens' stored records are cleared when the rig is
// made and when it goes; the dialog goes before the device thread stops.

#include "BinFolder.h"
#include "DialogPump.h"
#include "OwnedDialog.h"
#include "app/OvamerDlg_win32.h"
#include "device/DeviceManager.h"
#include "device/DeviceThread.h"
#include "device/ProtocolState.h"
#include "libs/sarnet/SarnetLibrary.h"
#include "platform/Monitors.h"
#include "platform/Profile_win32.h"
#include "platform/WindowMessenger_win32.h"
#include "res/resource.h"
#include "sim/SimHidPort.h"
#include "win/ListView.h"

#include <cstdint>
#include <memory>

// Stores touchscreen 0's record through Sarnet.dll.
void StoreParameters(std::int32_t number, std::int32_t monitor, std::int32_t calibrated);

class CDeviceRig {
public:
    CDeviceRig();
    ~CDeviceRig();
    CDeviceRig(const CDeviceRig&) = delete;
    CDeviceRig& operator=(const CDeviceRig&) = delete;

    // The virtual frames of the scenario and the device thread over them,
    // in place of those of an earlier start.
    void StartDevices(SimScenario scenario);
    void StopDevices();
    RequestPoster Poster();
    MainPanelServices Services();

    CWin32Profile profile;
    CBinFolderSystem system;
    CWin32Messenger messenger;
    CFixedMonitors monitors;
    std::unique_ptr<CSimHidPort> port;
    std::unique_ptr<CDeviceManager> devices;
    std::unique_ptr<CProtocolState> state; // anew for each start, as for a new run
    std::unique_ptr<CDeviceThread> thread;
    CSarnetLibrary configuration;
};

// Dialog: COvamerDlg or a class derived from it for a test.
template <class Dialog = COvamerDlg> class CMainDialogRig : public CDeviceRig {
public:
    ~CMainDialogRig() { dialog.reset(); }

    // The devices started and the dialog made, its window not yet created;
    // a dialog of an earlier start goes first, before the devices it uses.
    void Start(SimScenario scenario)
    {
        dialog.reset();
        StartDevices(std::move(scenario));
        dialog = std::make_unique<Dialog>(Services());
    }
    // The dialog created, shown and brought to the front, its list filled
    // within that time (the start-up query pauses 500 ms a touchscreen).
    bool Open(DWORD milliseconds = 10000)
    {
        if (!dialog->Create())
            return false;
        dialog->ShowWindow(SW_SHOW);
        SetForegroundWindow(*dialog);
        return WaitReady(milliseconds);
    }
    bool WaitReady(DWORD milliseconds = 10000)
    {
        return PumpUntil([&] { return dialog->Panel().ListIsReady(); }, milliseconds);
    }
    CListView List() const { return CListView(dialog->GetDlgItem(IDC_TOUCHSCREEN_LIST)); }
    // A click on the button, as its BN_CLICKED notification.
    void Press(int id) const
    {
        dialog->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(dialog->GetDlgItem(id)));
    }

    // The first dialog the main dialog opens, read and answered (see OwnedDialog.h).
    OwnedDialog OpenedBy(const std::function<void()>& trigger, std::function<void(HWND)> handle = {},
                         DWORD wait = 10000) const
    {
        return ::OpenedBy(*dialog, trigger, std::move(handle), wait);
    }

    std::unique_ptr<Dialog> dialog;
};
