#include "config/ParameterExport.h"
#include "ParameterTestContext.h"
#include "config/ParameterHelpers.h"
#include "config/ParameterValidation.h"

#include <gtest/gtest.h>

namespace {

const std::string kHeader = "\nPlease don't close console!\n";
const std::string kPress = "Press any key to continue......";

struct ExportFixture : ParameterFixture, ::testing::Test {
    void SetUp() override { registry.CreateKey(RegistryRoot::LocalMachine, kDriverParametersPath); }
    std::vector<std::wstring> Keys(const std::wstring& file, const std::wstring& section)
    {
        // The memory profile keeps keys in the order they were first written.
        std::vector<std::wstring> keys;
        for (const auto& [k, v] : profile.GetSection(file, section))
            keys.push_back(k);
        return keys;
    }
};

TEST_F(ExportFixture, FileNameRules)
{
    struct Case {
        const wchar_t* value;
        const char* message; // null: accepted
    };
    const Case cases[] = {
        {L"a.ini", "Export file is invalid!\n"},
        {L"TRUE", "Export file is invalid!\n"},
        {L"d:\\a.ini", nullptr},
        {L"d:\\a.ini   ", nullptr}, // trailing blanks are trimmed first
        {L"D:\\BACKUP.INI", nullptr},
        {L"settings.ini", nullptr},
        {L"d:\\conf\\a.txt", "Export file type must be ini file,Export exit!"},
        {L"d:\\conf\\.ini", "Export file is invalid !\n"},
        {L"d:\\conf\\a*b.ini", "Export file is invalid !\n"},
        {L"d:\\conf\\a?b.ini", "Export file is invalid !\n"},
        {L"d:\\x/yz.ini", "Export file is invalid !\n"},
        {L"d:\\a\"b.ini", "Export file is invalid !\n"},
    };
    for (const Case& c : cases) {
        console.output.clear();
        int code = ExportParameters(context, c.value);
        std::string expected = kHeader + (c.message ? std::string(c.message) + kPress : "Export completed!\n" + kPress);
        EXPECT_EQ(console.output, expected) << ToUtf8(c.value);
        EXPECT_EQ(code, c.message ? 1 : 0) << ToUtf8(c.value);
    }
    EXPECT_TRUE(profile.HasFile(L"C:\\work\\settings.ini")) << "a relative name lands in the current directory";
    EXPECT_TRUE(profile.HasFile(L"D:\\BACKUP.INI"));
    EXPECT_FALSE(profile.HasFile(L"d:\\conf\\.ini"));
}

TEST(ParameterHelpers, FileNamePartLength)
{
    EXPECT_FALSE(IsAcceptableFileName(L"d:\\.ini"));
    EXPECT_TRUE(IsAcceptableFileName(L"d:\\a.ini"));
    EXPECT_TRUE(IsAcceptableFileName(L"d:\\" + std::wstring(251, L'a') + L".ini")); // 255
    EXPECT_FALSE(IsAcceptableFileName(L"d:\\" + std::wstring(252, L'a') + L".ini"));
    EXPECT_EQ(DirectoryPrefix(L"C:\\"), L"C:\\");
    EXPECT_EQ(DirectoryPrefix(L"C:\\work"), L"C:\\work\\");
    EXPECT_EQ(TrimRight(L"a.ini \t\r\n"), L"a.ini");
}

TEST_F(ExportFixture, KeyOrdersAndSignedValues)
{
    Set(kDriverParametersPath, L"BeepDuration", 50);
    Set(kDriverParametersPath, L"Mode", 2);
    Set(DevicePath(L"TouchScreen0"), L"ScreenX", -65536);
    Set(DevicePath(L"TouchScreen0"), L"MaxX", 131072);
    Set(DevicePath(L"TouchScreen1"), L"M1X", 40000);
    ASSERT_EQ(ExportParameters(context, L"d:\\p.ini"), 0);

    std::vector<std::wstring> driverOrder = {L"Mode",
                                             L"EnableTouch",
                                             L"HideCursor",
                                             L"EnableDoubleClick",
                                             L"DoubleClickTime",
                                             L"DoubleClickArea",
                                             L"EnableRightClick",
                                             L"RightClickTime",
                                             L"RightClickArea",
                                             L"EnableDragDelay",
                                             L"DragDelayTime",
                                             L"EnableDelayTouch",
                                             L"DelayTouchTime",
                                             L"EnableBeep",
                                             L"BeepMode",
                                             L"BeepType",
                                             L"BeepFrequency",
                                             L"BeepDuration"};
    EXPECT_EQ(Keys(L"d:\\p.ini", L"DriverParameters"), driverOrder);
    std::vector<std::wstring> touchOrder = {
        L"IsCalibrate",  L"M1X",     L"M1Y",       L"M2X",        L"M2Y",  L"M3X",       L"M3Y",
        L"M4X",          L"M4Y",     L"MaxX",      L"MaxY",       L"MinX", L"MinY",      L"ScreenWidth",
        L"ScreenHeight", L"ScreenX", L"ScreenY",   L"XOff",       L"YOff", L"MonitorID", L"EnableEdge",
        L"EdgeX",        L"EdgeY",   L"EdgeWidth", L"EdgeHeight", L"EdgeA"};
    EXPECT_EQ(Keys(L"d:\\p.ini", L"TouchScreen0"), touchOrder);
    EXPECT_EQ(profile.GetSectionNames(L"d:\\p.ini"),
              (std::vector<std::wstring>{L"DriverParameters", L"TouchScreen0", L"TouchScreen1"}));

    EXPECT_EQ(profile.GetString(L"d:\\p.ini", L"DriverParameters", L"Mode", L"?"), L"2");
    EXPECT_EQ(profile.GetString(L"d:\\p.ini", L"DriverParameters", L"BeepDuration", L"?"), L"50");
    EXPECT_EQ(profile.GetString(L"d:\\p.ini", L"DriverParameters", L"EnableTouch", L"?"), L"0") << "missing: 0";
    EXPECT_EQ(profile.GetString(L"d:\\p.ini", L"TouchScreen0", L"ScreenX", L"?"), L"-65536");
    EXPECT_EQ(profile.GetString(L"d:\\p.ini", L"TouchScreen0", L"MaxX", L"?"), L"131072");
    EXPECT_EQ(profile.GetString(L"d:\\p.ini", L"TouchScreen1", L"M1X", L"?"), L"40000");
}

TEST_F(ExportFixture, ReexportKeepsOneCopyAndOtherKeys)
{
    Set(DevicePath(L"TouchScreen0"), L"MonitorID", 1);
    profile.WriteString(L"d:\\p.ini", L"Notes", L"Owner", L"lab");
    profile.WriteString(L"d:\\p.ini", L"TouchScreen0", L"Comment", L"left");
    ASSERT_EQ(ExportParameters(context, L"d:\\p.ini"), 0);
    Set(DevicePath(L"TouchScreen0"), L"MonitorID", 2);
    ASSERT_EQ(ExportParameters(context, L"d:\\p.ini"), 0);
    EXPECT_EQ(profile.GetSection(L"d:\\p.ini", L"TouchScreen0").size(), 27u);
    EXPECT_EQ(profile.GetSection(L"d:\\p.ini", L"DriverParameters").size(), 18u);
    EXPECT_EQ(profile.GetString(L"d:\\p.ini", L"TouchScreen0", L"MonitorID", L"?"), L"2");
    EXPECT_EQ(profile.GetString(L"d:\\p.ini", L"TouchScreen0", L"Comment", L"?"), L"left");
    EXPECT_EQ(profile.GetString(L"d:\\p.ini", L"Notes", L"Owner", L"?"), L"lab");
}

TEST(ParameterExport, MissingDriverKeyIsCreatedThenExportedAsZeros)
{
    ParameterFixture f;
    EXPECT_EQ(ExportParameters(f.context, L"d:\\p.ini"), 1);
    EXPECT_EQ(f.console.output, kHeader + "error 0\nRead driver data failed!,please retry!" + kPress);
    EXPECT_FALSE(f.profile.HasFile(L"d:\\p.ini"));
    EXPECT_TRUE(f.registry.KeyExists(RegistryRoot::LocalMachine, kDriverParametersPath));

    f.console.output.clear();
    EXPECT_EQ(ExportParameters(f.context, L"d:\\p.ini"), 0);
    EXPECT_EQ(f.console.output, kHeader + "Export completed!\n" + kPress);
    EXPECT_EQ(f.profile.GetSectionNames(L"d:\\p.ini"), std::vector<std::wstring>{L"DriverParameters"});
    for (const DriverParameterRow& row : kDriverRows)
        EXPECT_EQ(f.profile.GetString(L"d:\\p.ini", L"DriverParameters", row.key, L"?"), L"0");
}

TEST(ParameterExport, DriverKeyThatCannotBeCreated)
{
    ParameterFixture f;
    f.registry.DenyWrites(RegistryRoot::LocalMachine, kParametersPath);
    EXPECT_EQ(ExportParameters(f.context, L"d:\\p.ini"), 1);
    EXPECT_EQ(f.console.output, kHeader + "error 5\nRead driver data failed!,please retry!" + kPress);
}

TEST_F(ExportFixture, FailedFileWriteIsReported)
{
    Set(DevicePath(L"TouchScreen0"), L"M1X", 1);
    profile.SetReadOnly(L"d:\\p.ini", true);
    EXPECT_EQ(ExportParameters(context, L"d:\\p.ini"), 1);
    EXPECT_EQ(console.output, kHeader + "Export failed!\n" + kPress);
}

} // namespace

namespace {

TEST(ParameterHelpers, SectionValuesReadAsKeyByKey)
{
    const ProfileEntries section = {
        {L"Mode", L"1"},   {L"mode", L"2"},     {L"Quoted", L"\"12\""}, {L"Single", L"'7'"},
        {L"Half", L"\"3"}, {L"Mixed", L"'4\""}, {L"Lone", L"\""},       {L"Empty", L""},
    };
    struct Case {
        const wchar_t* key;
        const wchar_t* value;
    };
    const Case cases[] = {
        {L"MODE", L"1"},     {L"Quoted", L"12"}, {L"Single", L"7"}, {L"Half", L"\"3"},
        {L"Mixed", L"'4\""}, {L"Lone", L"\""},   {L"Empty", L""},   {L"Missing", L"default"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ProfileValue(section, c.key, L"default"), c.value) << ToUtf8(c.key);
}

TEST(ParameterHelpers, MergeKeepsOtherKeysAndOneCopyOfEach)
{
    ProfileEntries existing = {{L"Comment", L"left"}, {L"m1x", L"1"}, {L"M1X", L"9"}, {L"MaxX", L"5"}};
    ProfileEntries merged = MergeEntries(existing, {{L"M1X", L"2"}, {L"MaxX", L"6"}, {L"MinX", L"0"}});
    EXPECT_EQ(merged, (ProfileEntries{{L"Comment", L"left"}, {L"m1x", L"2"}, {L"MaxX", L"6"}, {L"MinX", L"0"}}));
}

} // namespace

namespace {

TEST_F(ExportFixture, NewFileIsWrittenOnceAndAnExistingOneKeepsItsOtherContent)
{
    for (int t = 0; t < 3; ++t)
        Set(DevicePath(L"TouchScreen" + std::to_wstring(t)), L"M1X", 100 + t);
    ASSERT_EQ(ExportParameters(context, L"d:\\new.ini"), 0);
    EXPECT_EQ(profile.WriteCount(), 1) << "a new file takes one write";
    EXPECT_EQ(profile.GetSectionNames(L"d:\\new.ini"),
              (std::vector<std::wstring>{L"DriverParameters", L"TouchScreen0", L"TouchScreen1", L"TouchScreen2"}));
    EXPECT_EQ(profile.GetString(L"d:\\new.ini", L"TouchScreen2", L"M1X", L"?"), L"102");

    profile.WriteSection(L"d:\\old.ini", L"Notes", {{L"Owner", L"lab"}});
    profile.WriteSection(L"d:\\old.ini", L"touchscreen1", {{L"Extra", L"kept"}, {L"M1X", L"7"}});
    ASSERT_EQ(ExportParameters(context, L"d:\\old.ini"), 0);
    EXPECT_EQ(profile.GetString(L"d:\\old.ini", L"Notes", L"Owner", L"?"), L"lab");
    EXPECT_EQ(profile.GetString(L"d:\\old.ini", L"TouchScreen1", L"Extra", L"?"), L"kept");
    EXPECT_EQ(profile.GetString(L"d:\\old.ini", L"TouchScreen1", L"M1X", L"?"), L"101");
    EXPECT_EQ(profile.GetSectionNames(L"d:\\old.ini").size(), 5u) << "one copy of each section";
}

TEST_F(ExportFixture, NewFileThatCannotBeMadeFails)
{
    Set(DevicePath(L"TouchScreen0"), L"M1X", 1);
    profile.SetMissingFolder(L"d:\\missing\\");
    EXPECT_EQ(ExportParameters(context, L"d:\\missing\\p.ini"), 1);
    EXPECT_EQ(console.output, kHeader + "Export failed!\n" + kPress);
    EXPECT_FALSE(profile.HasFile(L"d:\\missing\\p.ini"));
}

} // namespace
