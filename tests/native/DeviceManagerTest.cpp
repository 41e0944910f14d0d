#include "device/DeviceManager.h"
#include "TestSeams.h"
#include "device/HidScan.h"
#include "device/RemovalNotice.h"
#include "platform/Messages.h"
#include "platform/Monitors.h"
#include "sim/SimHidPort.h"

#include <gtest/gtest.h>

namespace {

SimScenario Frames(std::initializer_list<SimFrameSetup> setups)
{
    return SimScenario{std::vector<SimFrameSetup>(setups), {}};
}

SimFrameSetup Frame(unsigned i, std::uint16_t vendor = 0x6615)
{
    SimFrameSetup setup = DefaultSimFrame(i);
    setup.vendorId = vendor;
    return setup;
}

struct Fixture {
    explicit Fixture(SimScenario scenario) : port(std::move(scenario))
    {
        monitors.monitors = {{0, 0, 1920, 1080}, {1920, 0, 3200, 1024}};
    }
    CSimHidPort port;
    CFixedMonitors monitors;
    CRecordingMessenger messenger;
};

std::vector<std::wstring> Names(CDeviceManager& manager)
{
    std::vector<std::wstring> names;
    for (unsigned i = 0; i < manager.Count(); ++i)
        manager.WithRecord(i, [&](TouchScreenRecord& r) { names.push_back(r.deviceObjectName); });
    return names;
}

} // namespace

TEST(HidScan, AcceptsByVendorIdOnlyAndSkipsInterfacesThatFailToOpen)
{
    SimFrameSetup other = Frame(1, 0x845E);
    SimFrameSetup locked = Frame(2);
    locked.openFails = true;
    SimFrameSetup oddProduct = Frame(3);
    oddProduct.productId = 0xBEEF;
    oddProduct.versionNumber = 0;
    Fixture f(Frames({Frame(0), other, locked, oddProduct}));
    CDeviceManager manager(f.port, f.monitors, f.messenger);

    EXPECT_TRUE(manager.ScanCompleted());
    ASSERT_EQ(manager.Count(), 2u);
    EXPECT_EQ(Names(manager), (std::vector<std::wstring>{L"\\Device\\USBPDO-3", L"\\Device\\USBPDO-6"}));
    manager.WithRecord(1, [](TouchScreenRecord& r) {
        EXPECT_EQ(r.hid.attributes.productId, 0xBEEF);
        EXPECT_EQ(r.openFlag, 1);
        EXPECT_EQ(r.hid.openedOverlapped, 1u);
        EXPECT_EQ(r.hid.openedExclusive, 0u);
        EXPECT_EQ(r.identity, r.hid.handle);
    });
    // The rejected interface's query handle was closed again.
    EXPECT_EQ(f.port.OpenHandleCount(), 2u);
}

TEST(HidScan, NothingFoundAndFailuresKeepEarlierTouchScreens)
{
    Fixture none(Frames({Frame(0, 0x1234)}));
    CDeviceManager empty(none.port, none.monitors, none.messenger);
    EXPECT_EQ(empty.Count(), 0u);
    EXPECT_EQ(empty.HandleOf(0), kInvalidDeviceHandle);

    SimScenario failing = Frames({Frame(0), Frame(1), Frame(2)});
    failing.enumerationFailsAt = 2;
    Fixture f(failing);
    CDeviceManager manager(f.port, f.monitors, f.messenger);
    EXPECT_FALSE(manager.ScanCompleted());
    EXPECT_EQ(manager.Count(), 2u);

    SimFrameSetup nameless = Frame(0);
    nameless.nameUnreadable = true;
    Fixture g(Frames({nameless}));
    testing::internal::CaptureStdout();
    CDeviceManager accepted(g.port, g.monitors, g.messenger);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "SetupDiGetDeviceRegistryProperty failed, Error: 13");
    ASSERT_EQ(accepted.Count(), 1u);
    EXPECT_EQ(Names(accepted), std::vector<std::wstring>{L""});
}

TEST(HidScan, StopsAddingAt64TouchScreens)
{
    Fixture f(MakeCountedScenario(70));
    CDeviceManager manager(f.port, f.monitors, f.messenger);
    EXPECT_EQ(manager.Count(), 64u);
    EXPECT_EQ(f.port.OpenHandleCount(), 64u);
    EXPECT_EQ(Names(manager).back(), L"\\Device\\USBPDO-66");
}

TEST(DeviceManager, UnplugSlotZeroOfThreeMovesTheOthersDownWithTheirMonitors)
{
    Fixture f(MakeCountedScenario(3));
    CDeviceManager manager(f.port, f.monitors, f.messenger);
    for (unsigned i = 0; i < 3; ++i)
        manager.SetMapping(i, MappingEntry{manager.HandleOf(i), static_cast<int>(10 + i), static_cast<int>(i)});
    DeviceHandle first = manager.HandleOf(0), second = manager.HandleOf(1), third = manager.HandleOf(2);

    auto removed = manager.RemoveComplete(first);
    ASSERT_TRUE(removed);
    EXPECT_EQ(removed->slot, 0u);
    EXPECT_EQ(removed->remainingCount, 2u);
    EXPECT_EQ(manager.Count(), 2u);
    EXPECT_EQ(manager.HandleOf(0), second);
    EXPECT_EQ(manager.HandleOf(1), third);
    EXPECT_EQ(manager.Mapping(0), (MappingEntry{second, 11, 0}));
    EXPECT_EQ(manager.Mapping(1), (MappingEntry{third, 12, 1}));
    EXPECT_EQ(manager.Mapping(2), MappingEntry{});
    EXPECT_EQ(f.port.OpenHandleCount(), 2u);

    // The notice goes to this program's windows only, with its key: a
    // receiver tells it from another program's 0x46F.
    ASSERT_EQ(f.messenger.posted.size(), 1u);
    EXPECT_TRUE(f.messenger.posted[0].toOwnWindows);
    EXPECT_EQ(f.messenger.posted[0].message, WM_TOUCHSCREEN_REMOVED);
    EXPECT_EQ(f.messenger.posted[0].lParam, 0);
    EXPECT_TRUE(IsOwnRemovalNotice(f.messenger.posted[0].wParam));
    for (std::uintptr_t foreign : {std::uintptr_t(0), std::uintptr_t(1), RemovalNoticeKey() ^ 1})
        EXPECT_FALSE(IsOwnRemovalNotice(foreign)) << foreign;
    EXPECT_TRUE(f.messenger.quits.empty());

    // A handle no record holds changes nothing.
    EXPECT_FALSE(manager.RemoveComplete(first));
    EXPECT_EQ(manager.Count(), 2u);
}

TEST(DeviceManager, QueryRemoveThenRemoveCompleteDropsTheRecordAndTheLastEndsTheProgram)
{
    Fixture f(MakeCountedScenario(2));
    CDeviceManager manager(f.port, f.monitors, f.messenger);
    DeviceHandle last = manager.HandleOf(1);

    manager.QueryRemove(last);
    manager.WithRecord(1, [](TouchScreenRecord& r) {
        EXPECT_EQ(r.openFlag, 0);
        EXPECT_EQ(r.hid.handle, kInvalidDeviceHandle);
    });
    EXPECT_EQ(manager.Count(), 2u);
    EXPECT_EQ(f.port.OpenHandleCount(), 1u);

    // The closed record is still recognised by its handle value.
    auto removed = manager.RemoveComplete(last);
    ASSERT_TRUE(removed);
    EXPECT_EQ(removed->slot, 1u);
    EXPECT_EQ(manager.Count(), 1u);
    EXPECT_EQ(manager.Mapping(1).monitorNumber, -1);

    manager.RemoveComplete(manager.HandleOf(0));
    EXPECT_EQ(manager.Count(), 0u);
    EXPECT_EQ(f.messenger.quits, std::vector<int>{0});
    EXPECT_EQ(f.port.OpenHandleCount(), 0u);
}

TEST(DeviceManager, ARefusedRemovalOpensTheTouchScreenAgain)
{
    Fixture f(MakeCountedScenario(2));
    CDeviceManager manager(f.port, f.monitors, f.messenger);
    WindowHandle const window = reinterpret_cast<WindowHandle>(0x100);
    manager.RegisterNotifications(window);
    const DeviceHandle old = manager.HandleOf(1);
    NotificationHandle oldNotification = nullptr;
    manager.WithRecord(1, [&](TouchScreenRecord& r) { oldNotification = r.notification; });
    manager.SetMapping(1, MappingEntry{old, 2, 1});

    EXPECT_FALSE(manager.QueryRemoveFailed(old, window)) << "still open: nothing to do";
    manager.QueryRemove(old);
    ASSERT_EQ(f.port.OpenHandleCount(), 1u);
    EXPECT_EQ(manager.QueryRemoveFailed(old, window), oldNotification) << "the old notification, to unregister";

    const DeviceHandle reopened = manager.HandleOf(1);
    EXPECT_NE(reopened, kInvalidDeviceHandle);
    EXPECT_EQ(f.port.OpenHandleCount(), 2u);
    manager.WithRecord(1, [&](TouchScreenRecord& r) {
        EXPECT_EQ(r.openFlag, 1);
        EXPECT_EQ(r.identity, reopened);
        EXPECT_NE(r.notification, nullptr);
        EXPECT_NE(r.notification, oldNotification);
        EXPECT_EQ(r.deviceObjectName, L"\\Device\\USBPDO-4");
    });
    EXPECT_EQ(manager.Mapping(1), (MappingEntry{reopened, 2, 1}));
    std::uint8_t report[100] = {0x31, 0x6F, 0x00};
    EXPECT_TRUE(f.port.SendOutputReport(reopened, report, sizeof report)) << "usable again";

    // Its removal is recognised by the new handle.
    EXPECT_FALSE(manager.QueryRemoveFailed(old, window));
    ASSERT_TRUE(manager.RemoveComplete(reopened));
    EXPECT_EQ(manager.Count(), 1u);
}

TEST(DeviceManager, WritesByHandleAreDroppedOnceTheTouchScreenMoved)
{
    Fixture f(MakeCountedScenario(2));
    CDeviceManager manager(f.port, f.monitors, f.messenger);
    DeviceHandle first = manager.HandleOf(0), second = manager.HandleOf(1);
    EXPECT_TRUE(manager.WithRecord(1, second, [](TouchScreenRecord& r) { r.touchScreenNumber = 7; }));
    manager.RemoveComplete(first);
    // Slot 1 is gone and slot 0 now holds the other touchscreen.
    EXPECT_FALSE(manager.WithRecord(1, second, [](TouchScreenRecord& r) { r.touchScreenNumber = 9; }));
    EXPECT_FALSE(manager.WithRecord(0, first, [](TouchScreenRecord& r) { r.touchScreenNumber = 9; }));
    manager.WithRecord(0, [](TouchScreenRecord& r) { EXPECT_EQ(r.touchScreenNumber, 7); });
}

TEST(DeviceManager, RegistrationFailureDropsThatTouchScreen)
{
    SimFrameSetup refusing = Frame(1);
    refusing.notificationFails = true;
    Fixture f(Frames({Frame(0), refusing, Frame(2)}));
    CDeviceManager manager(f.port, f.monitors, f.messenger);
    manager.RegisterNotifications(reinterpret_cast<WindowHandle>(0x100));
    ASSERT_EQ(manager.Count(), 2u);
    EXPECT_EQ(Names(manager), (std::vector<std::wstring>{L"\\Device\\USBPDO-3", L"\\Device\\USBPDO-5"}));
    manager.WithRecord(1, [](TouchScreenRecord& r) { EXPECT_NE(r.notification, nullptr); });
    EXPECT_EQ(f.port.OpenHandleCount(), 2u);
}

TEST(DeviceManager, MonitorsAreNumberedAnewOnEveryEnumerationAndCappedAt64)
{
    Fixture f(MakeCountedScenario(1));
    CDeviceManager manager(f.port, f.monitors, f.messenger);
    auto monitors = manager.Monitors();
    ASSERT_EQ(monitors.size(), 2u);
    EXPECT_EQ(monitors[1].left, 1920);
    EXPECT_EQ(monitors[1].right, 3200);
    EXPECT_EQ(monitors[1].index, 1);

    f.monitors.monitors = {{-1280, 0, 0, 1024}};
    manager.RefreshMonitors();
    monitors = manager.Monitors();
    ASSERT_EQ(monitors.size(), 1u);
    EXPECT_EQ(monitors[0].left, -1280);
    EXPECT_EQ(monitors[0].index, 0);

    f.monitors.monitors.assign(70, MonitorRect{0, 0, 640, 480});
    manager.RefreshMonitors();
    EXPECT_EQ(manager.MonitorCount(), 64u);
    EXPECT_EQ(manager.Monitors().back().index, 63);
}
