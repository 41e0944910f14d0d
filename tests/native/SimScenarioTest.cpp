#include "sim/SimScenario.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

TEST(SimScenario, CountGivesDefaultFrames)
{
    std::string error;
    auto scenario = LoadScenario(L"2", error);
    ASSERT_TRUE(scenario) << error;
    ASSERT_EQ(scenario->frames.size(), 2u);
    EXPECT_EQ(scenario->frames[1].vendorId, 0x6615);
    EXPECT_EQ(scenario->frames[1].touchScreenNumber, 1);
    EXPECT_EQ(scenario->frames[1].monitor, 1);
    EXPECT_EQ(scenario->frames[0].deviceObjectName, L"\\Device\\USBPDO-3");
    EXPECT_TRUE(LoadScenario(L"0", error)->frames.empty());
    EXPECT_FALSE(LoadScenario(L"100000", error));
}

TEST(SimScenario, FileDescribesEachFrame)
{
    auto path = std::filesystem::temp_directory_path() / "pelno_scenario_test.ini";
    {
        std::ofstream out(path, std::ios::binary);
        out << "\xEF\xBB\xBF; two frames and a mouse\r\n"
               "[Scenario]\r\nEnumerationFailsAt=9\r\n"
               "[Frame1]\r\nVendorId=0x6615\r\nProductId=0x0c20\r\nDeviceObjectName=\\Device\\USBPDO-11\r\n"
               "Version=A1B2\r\nSerial=XK-77\r\nNumber=5\r\nMonitor=1\r\n"
               "[Frame2]\r\nVendorId=33886\r\nOpenFails=yes\r\n"
               "[Fingers]\r\nLater=1\r\n";
    }
    std::string error;
    auto scenario = LoadScenario(path.wstring(), error);
    std::filesystem::remove(path);
    ASSERT_TRUE(scenario) << error;
    ASSERT_EQ(scenario->frames.size(), 2u);
    const SimFrameSetup& a = scenario->frames[0];
    EXPECT_EQ(a.productId, 0x0C20);
    EXPECT_EQ(a.deviceObjectName, L"\\Device\\USBPDO-11");
    EXPECT_EQ(a.versionText, "A1B2");
    EXPECT_EQ(a.serialNumber, "XK-77");
    EXPECT_EQ(a.touchScreenNumber, 5);
    EXPECT_EQ(a.monitor, 1);
    EXPECT_EQ(scenario->frames[1].vendorId, 0x845E);
    EXPECT_TRUE(scenario->frames[1].openFails);
    EXPECT_EQ(scenario->enumerationFailsAt, 9u);
}

TEST(SimScenario, BadScenariosAreRejectedWithTheLine)
{
    const std::pair<const char*, const char*> cases[] = {
        {"[Frame0]\nNumber=256\n", "line 2"},
        {"[Frame0]\nVersion=abc\n", "line 2"},
        {"[Frame0]\nColour=red\n", "unknown key"},
        {"Number=1\n", "outside a section"},
        {"[Frame0\n", "without ]"},
        {"[Frame0]\nOpenFails=maybe\n", "not 0 or 1"},
    };
    for (auto [text, expected] : cases) {
        std::string error;
        EXPECT_FALSE(ParseScenario(text, error)) << text;
        EXPECT_NE(error.find(expected), std::string::npos) << error;
    }
    std::string error;
    EXPECT_FALSE(LoadScenario(L"/nonexistent/scenario.ini", error));
    EXPECT_NE(error.find("cannot open"), std::string::npos);
}
