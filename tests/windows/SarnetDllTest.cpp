// Sarnet.dll as the program uses it: linked through its import library,
// storing into the test prefix's registry.

#include "ParameterTestSupport.h"
#include "libs/sarnet/Sarnet.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstring>

namespace {

struct SarnetDll : ::testing::Test {
    void SetUp() override { DeleteServiceKey(); }
    void TearDown() override { DeleteServiceKey(); }
};

TEST_F(SarnetDll, DriverRecordRoundTrips)
{
    std::array<std::int32_t, 18> slots;
    for (int i = 0; i < 18; ++i)
        slots[i] = i * 111 - 500;
    DriverConfig out = std::bit_cast<DriverConfig>(slots);
    ASSERT_EQ(SetDriverConfig(out), 1);
    DriverConfig in;
    ASSERT_EQ(GetDriverConfig(&in), 1);
    EXPECT_EQ(std::memcmp(&in, &out, sizeof in), 0);
    std::wstring path = std::wstring(kServiceKey) + L"\\Parameters\\DriverParameters";
    EXPECT_EQ(RegQueryDword(path, L"Mode"), "0xfffffe0c");       // slot 0: -500
    EXPECT_EQ(RegQueryDword(path, L"DoubleClickArea"), "0x56b"); // slot 17: 1387
}

TEST_F(SarnetDll, DeviceRecordRoundTripsEveryStoredSlot)
{
    DeviceConfigSlots slots{};
    for (std::size_t i = 0; i < slots.size(); ++i)
        slots[i] = static_cast<std::int32_t>(i * 65536 + i) * (i % 2 ? -1 : 1);
    DeviceConfig out = FromSlots(slots);
    out.TouchScreenNumber = 9;
    ASSERT_EQ(SetDeviceConfig(123, out), 1);

    DeviceConfig in;
    in.TouchScreenNumber = 9;
    ASSERT_EQ(GetDeviceConfig(&in), 1);
    DeviceConfigSlots got = ToSlots(in), expected = ToSlots(out);
    for (std::size_t slot = 0; slot < kDeviceConfigSlots; ++slot) {
        bool unstored = (slot >= 4 && slot <= 6) || (slot >= 15 && slot <= 18);
        EXPECT_EQ(got[slot], unstored ? 0 : expected[slot]) << "slot " << slot;
    }
    std::wstring path = std::wstring(kServiceKey) + L"\\Parameters\\DeviceParameters\\TouchScreen9";
    EXPECT_EQ(RegQueryDword(path, L"M1X"), "0xfff8fff9");         // slot 7
    EXPECT_EQ(RegQueryDword(path, L"MaxY"), "0xffdeffdf");        // slot 33
    EXPECT_EQ(RegQueryDword(path, L"IsCalibrate"), "0xffe8ffe9"); // slot 23

    DeviceConfig other;
    other.TouchScreenNumber = 10;
    EXPECT_EQ(GetDeviceConfig(&other), 0) << "no record for another touchscreen";
}

} // namespace
