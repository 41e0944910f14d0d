#include "config/DeviceKey.h"
#include "config/ParameterPaths.h"
#include "libs/sarnet/Sarnet.h"
#include "platform/MemoryRegistry.h"
#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

struct SarnetFixture : ::testing::Test {
    CMemoryRegistry registry;
    void SetUp() override
    {
        PlatformServices services;
        services.registry = &registry;
        SetPlatform(services);
    }
    void TearDown() override { SetPlatform(PlatformServices{}); }
    std::optional<std::uint32_t> Value(const std::wstring& path, const std::wstring& name)
    {
        return registry.GetDword(RegistryRoot::LocalMachine, path, name);
    }
};

DeviceConfig NumberedRecord(std::int32_t number)
{
    DeviceConfigSlots slots{};
    for (std::size_t i = 0; i < slots.size(); ++i)
        slots[i] = static_cast<std::int32_t>(1000 * (i + 1)) * (i % 2 ? -1 : 1);
    DeviceConfig config = FromSlots(slots);
    config.TouchScreenNumber = number;
    return config;
}

TEST_F(SarnetFixture, DriverRecordRoundTripsUnderItsValueNames)
{
    DriverConfig out;
    out.Mode = 2;
    out.EnableTouch = 1;
    out.RightClickTime = 8000;
    out.BeepFrequency = -7; // stored as the same 32 bits
    out.DoubleClickArea = 32;
    ASSERT_EQ(SetDriverConfig(out), 1);
    EXPECT_EQ(Value(kDriverParametersPath, L"RightClickTime"), 8000u);
    EXPECT_EQ(Value(kDriverParametersPath, L"DoubleClickArea"), 32u);
    EXPECT_EQ(Value(kDriverParametersPath, L"BeepFrequency"), 0xFFFFFFF9u);

    DriverConfig in;
    in.HideCursor = 99;
    ASSERT_EQ(GetDriverConfig(&in), 1);
    EXPECT_EQ(std::memcmp(&in, &out, sizeof in), 0);
}

TEST_F(SarnetFixture, DeviceRecordRoundTripsEveryStoredSlot)
{
    DeviceConfig out = NumberedRecord(7);
    ASSERT_EQ(SetDeviceConfig(DeviceKeyFromObjectName(L"\\Device\\0000007a"), out), 1);
    std::wstring path = std::wstring(kDeviceParametersPath) + L"\\TouchScreen7";
    EXPECT_EQ(registry.GetSubkeys(RegistryRoot::LocalMachine, kDeviceParametersPath),
              std::vector<std::wstring>{L"TouchScreen7"});
    // A few values under the names the export and import use.
    EXPECT_EQ(Value(path, L"M1X"), static_cast<std::uint32_t>(out.M1X));
    EXPECT_EQ(Value(path, L"MaxX"), static_cast<std::uint32_t>(out.AreaRightScaled));
    EXPECT_EQ(Value(path, L"ScreenWidth"), static_cast<std::uint32_t>(out.AreaWidth));
    EXPECT_EQ(Value(path, L"MonitorID"), static_cast<std::uint32_t>(out.MonitorID));

    DeviceConfig in;
    in.TouchScreenNumber = 7;
    in.Reserved4[1] = 55;
    ASSERT_EQ(GetDeviceConfig(&in), 1);
    DeviceConfigSlots expected = ToSlots(out), got = ToSlots(in);
    for (std::size_t slot = 0; slot < kDeviceConfigSlots; ++slot) {
        bool unstored = (slot >= 4 && slot <= 6) || (slot >= 15 && slot <= 18);
        EXPECT_EQ(got[slot], unstored ? 0 : expected[slot]) << "slot " << slot;
    }
}

TEST_F(SarnetFixture, ReadsThatFindNothingLeaveTheRecord)
{
    DeviceConfig in = NumberedRecord(3);
    DeviceConfig before = in;
    EXPECT_EQ(GetDeviceConfig(&in), 0) << "no subkey yet";
    EXPECT_EQ(std::memcmp(&in, &before, sizeof in), 0);
    for (std::int32_t number : {-1, 255}) {
        DeviceConfig out = NumberedRecord(number);
        EXPECT_EQ(SetDeviceConfig(1, out), 0);
        EXPECT_EQ(GetDeviceConfig(&out), 0);
    }
    EXPECT_FALSE(registry.KeyExists(RegistryRoot::LocalMachine, kDeviceParametersPath));
    DriverConfig driver;
    driver.Mode = 2;
    EXPECT_EQ(GetDriverConfig(&driver), 0);
    EXPECT_EQ(driver.Mode, 2);
    EXPECT_EQ(GetDriverConfig(nullptr), 0);
}

TEST_F(SarnetFixture, RefusedWritesAreReported)
{
    registry.DenyWrites(RegistryRoot::LocalMachine, kParametersPath);
    EXPECT_EQ(SetDriverConfig(DriverConfig{}), 0);
    EXPECT_EQ(SetDeviceConfig(1, NumberedRecord(0)), 0);
}

TEST(DeviceKey, FromObjectName)
{
    EXPECT_EQ(DeviceKeyFromObjectName(L"\\Device\\0000007a"), 123u);
    EXPECT_EQ(DeviceKeyFromObjectName(L"\\Device\\0000007A"), 123u);
    EXPECT_EQ(DeviceKeyFromObjectName(L"\\Device\\00000100"), 257u);
    EXPECT_EQ(DeviceKeyFromObjectName(L"7a"), 0x7Bu);
    EXPECT_EQ(DeviceKeyFromObjectName(L""), 1u);
    EXPECT_EQ(DeviceKeyFromObjectName(L"\\Device\\ffffffff"), 0u);
    EXPECT_EQ(DeviceKeyFromObjectName(L"\\Device\\0000_01a"), 1u); // stops at the first non-digit
}

} // namespace
