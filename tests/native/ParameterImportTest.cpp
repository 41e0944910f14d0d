#include "config/ParameterImport.h"
#include "ParameterTestContext.h"
#include "config/ParameterExport.h"
#include "config/ParameterValidation.h"

#include <gtest/gtest.h>

namespace {

const std::string kHeader = "\nPlease don't close console!\n";
const std::string kPress = "Press any key to continue......";
const std::wstring kFile = L"d:\\p.ini";

struct ImportFixture : ParameterFixture, ::testing::Test {
    void Write(const std::wstring& section, const std::wstring& key, const std::wstring& value)
    {
        profile.WriteString(kFile, section, key, value);
    }
    void WriteGoodDriverSection()
    {
        for (const DriverParameterRow& row : kDriverRows)
            Write(L"DriverParameters", row.key, std::to_wstring(row.fallback));
    }
    std::string Opening() { return kHeader + "Import config to file d:\\p.ini \n"; }
};

TEST_F(ImportFixture, FileWithoutDriverSectionLeavesTheDriverValues)
{
    // One touchscreen's calibration alone: touch input and double click stay on.
    Set(kDriverParametersPath, L"EnableTouch", 1);
    Set(kDriverParametersPath, L"EnableDoubleClick", 1);
    Write(L"TouchScreen0", L"M1X", L"100");
    registry.CreateKey(RegistryRoot::LocalMachine, DevicePath(L"TouchScreen0"));
    ASSERT_EQ(ImportParameters(context, kFile), 0);
    EXPECT_EQ(console.output, Opening() + "Import completed!\n" + kPress);
    EXPECT_EQ(Value(kDriverParametersPath, L"EnableTouch"), 1);
    EXPECT_EQ(Value(kDriverParametersPath, L"EnableDoubleClick"), 1);
    EXPECT_EQ(Value(kDriverParametersPath, L"DoubleClickTime"), -999999999999) << "not written";
    // Missing touchscreen keys take their default texts.
    EXPECT_EQ(Value(DevicePath(L"TouchScreen0"), L"M1X"), 100);
    EXPECT_EQ(Value(DevicePath(L"TouchScreen0"), L"MaxX"), 65536);
    EXPECT_EQ(Value(DevicePath(L"TouchScreen0"), L"ScreenWidth"), 1280);
    EXPECT_EQ(Value(DevicePath(L"TouchScreen0"), L"ScreenHeight"), 0);
}

TEST_F(ImportFixture, AnEmptyDriverSectionRewritesEveryDriverValue)
{
    profile.SetFile(kFile, {{L"DriverParameters", {}}, {L"TouchScreen0", {{L"M1X", L"1"}}}});
    registry.CreateKey(RegistryRoot::LocalMachine, kDriverParametersPath);
    registry.CreateKey(RegistryRoot::LocalMachine, DevicePath(L"TouchScreen0"));
    ASSERT_EQ(ImportParameters(context, kFile), 0);
    EXPECT_EQ(console.output, Opening() +
                                  "DoubleClickTime value is incorrect! value = 200-1000\n"
                                  "DoubleClickArea value is incorrect! value = 4-32\n"
                                  "RightClickTime value is incorrect! value =1000-8000\n"
                                  "RightClickArea value is incorrect! value = 4-32\n"
                                  "DragDelayTime value is incorrect! value = 100-1000\n"
                                  "DelayTouchTime value is incorrect! value = 25-250\n"
                                  "BeepFrequency value is incorrect! value =100-7000\n"
                                  "BeepDuration value is incorrect! value =10-100\n"
                                  "Import completed!\n" +
                                  kPress);
    const std::pair<const wchar_t*, int> expected[] = {{L"Mode", 0},
                                                       {L"EnableTouch", 0},
                                                       {L"DoubleClickTime", 500},
                                                       {L"DoubleClickArea", 12},
                                                       {L"RightClickTime", 1000},
                                                       {L"RightClickArea", 8},
                                                       {L"DragDelayTime", 100},
                                                       {L"DelayTouchTime", 25},
                                                       {L"BeepFrequency", 7000},
                                                       {L"BeepDuration", 100},
                                                       {L"EnableDoubleClick", 0}};
    for (auto [name, value] : expected)
        EXPECT_EQ(Value(kDriverParametersPath, name), value) << ToUtf8(name);
}

TEST_F(ImportFixture, BadValuesTakeFallbacksInTableOrder)
{
    WriteGoodDriverSection();
    Write(L"DriverParameters", L"Mode", L"3");
    Write(L"DriverParameters", L"BeepFrequency", L"60");
    Write(L"DriverParameters", L"BeepDuration", L"ten");
    // File order does not matter: the messages follow the table.
    Write(L"TouchScreen0", L"EdgeX", L"x");
    Write(L"TouchScreen0", L"ScreenHeight", L"tall");
    Write(L"TouchScreen0", L"M4X", L"-5");
    Write(L"TouchScreen0", L"M1X", L"-5");
    Write(L"TouchScreen0", L"IsCalibrate", L"yes");
    Write(L"TouchScreen0", L"ScreenX", L"-65536");
    Write(L"TouchScreen0", L"MonitorID", L"2x");
    registry.CreateKey(RegistryRoot::LocalMachine, kDriverParametersPath);
    registry.CreateKey(RegistryRoot::LocalMachine, DevicePath(L"TouchScreen0"));
    ASSERT_EQ(ImportParameters(context, kFile), 0);
    EXPECT_EQ(console.output, Opening() +
                                  "Mode value is incorrect! value = 0,1,2\n"
                                  "BeepDuration value is incorrect! value = 10-100\n"
                                  "M1X value is incorrect!\n"
                                  "M4X value is incorrect!\n"
                                  "ScreenHeight value is incorrect!\n"
                                  "MonitorID value is incorrect!\n"
                                  "Edge value is incorrect!\n"
                                  "Import completed!\n" +
                                  kPress);
    EXPECT_EQ(Value(kDriverParametersPath, L"Mode"), 0);
    EXPECT_EQ(Value(kDriverParametersPath, L"BeepFrequency"), 60);
    EXPECT_EQ(Value(kDriverParametersPath, L"BeepDuration"), 100);
    std::wstring ts = DevicePath(L"TouchScreen0");
    EXPECT_EQ(Value(ts, L"M1X"), 0);
    EXPECT_EQ(Value(ts, L"M4X"), 0);
    EXPECT_EQ(Value(ts, L"IsCalibrate"), 0);
    EXPECT_EQ(Value(ts, L"ScreenHeight"), 1024);
    EXPECT_EQ(Value(ts, L"ScreenX"), -65536);
    EXPECT_EQ(Value(ts, L"EdgeX"), 0);
}

TEST_F(ImportFixture, NewSectionCreatesSubkeyAndOddNamesAreSkipped)
{
    // The driver section spelled in lower case is still the driver section.
    for (const DriverParameterRow& row : kDriverRows)
        Write(L"driverparameters", row.key, std::to_wstring(row.fallback));
    Write(L"Brand New", L"M2Y", L"7");
    Write(L"..\\..\\Other", L"M2Y", L"7");
    Write(L"", L"M2Y", L"7");
    registry.CreateKey(RegistryRoot::LocalMachine, kDriverParametersPath);
    ASSERT_EQ(ImportParameters(context, kFile), 0);
    EXPECT_EQ(console.output, Opening() +
                                  "error 0\n"
                                  "Section ..\\..\\Other is not a touchscreen name, skipped!\n"
                                  "Section  is not a touchscreen name, skipped!\n"
                                  "Import completed!\n" +
                                  kPress);
    EXPECT_EQ(Value(DevicePath(L"Brand New"), L"M2Y"), 7);
    EXPECT_EQ(registry.GetSubkeys(RegistryRoot::LocalMachine, kDeviceParametersPath),
              std::vector<std::wstring>{L"Brand New"});
    EXPECT_EQ(registry.GetSubkeys(RegistryRoot::LocalMachine, kParametersPath),
              (std::vector<std::wstring>{L"DriverParameters", L"DeviceParameters"}));
}

TEST_F(ImportFixture, ReadsEverySectionHoweverMany)
{
    WriteGoodDriverSection();
    for (int i = 0; i < 64; ++i)
        Write(L"TouchScreen" + std::to_wstring(i), L"M1X", std::to_wstring(i));
    registry.CreateKey(RegistryRoot::LocalMachine, kDriverParametersPath);
    for (int i = 0; i < 64; ++i)
        registry.CreateKey(RegistryRoot::LocalMachine, DevicePath(L"TouchScreen" + std::to_wstring(i)));
    ASSERT_EQ(ImportParameters(context, kFile), 0);
    EXPECT_EQ(Value(DevicePath(L"TouchScreen63"), L"M1X"), 63);
    EXPECT_EQ(registry.GetSubkeys(RegistryRoot::LocalMachine, kDeviceParametersPath).size(), 64u);
}

TEST_F(ImportFixture, FileChecksStopBeforeAnyWrite)
{
    struct Case {
        std::wstring value;
        std::string output;
    };
    Write(L"DriverParameters", L"Mode", L"1");
    profile.WriteString(L"C:\\work\\rel.ini", L"DriverParameters", L"Mode", L"1");
    profile.WriteString(L"d:\\p.txt", L"DriverParameters", L"Mode", L"1");
    // Held open by another program without sharing: every read would be a default.
    profile.WriteString(L"d:\\locked.ini", L"DriverParameters", L"Mode", L"1");
    profile.SetLocked(L"d:\\locked.ini", true);
    // Nothing the import knows: empty, sections without a known key (what
    // binary data or UTF-16 without its mark read as), a known key only in a
    // section that is skipped.
    profile.SetFile(L"d:\\empty.ini", {});
    profile.SetFile(L"d:\\unknown.ini",
                    {{L"DriverParameters", {}}, {L"TouchScreen0", {{L"Colour", L"red"}}}, {L"a\\b", {{L"M1X", L"1"}}}});
    const std::string kNothing = "No parameter found in the file,Import exit!" + kPress;
    const Case cases[] = {
        {L"d:\\missing.ini", kHeader + "d:\\missing.ini doesn't exist!"},
        {L"missing.ini", kHeader + "C:\\work\\missing.ini doesn't exist!"},
        {L"d:\\p.txt",
         kHeader + "Import config to file d:\\p.txt \nImport file type must be ini file,Import exit!" + kPress},
        {L"d:\\" + std::wstring(300, L'a') + L".ini", kHeader + "d:\\" + std::string(300, 'a') + ".ini doesn't exist!"},
        {L"d:\\locked.ini", kHeader + "d:\\locked.ini can't be opened!"},
        {L"d:\\empty.ini", kHeader + "Import config to file d:\\empty.ini \n" + kNothing},
        {L"d:\\unknown.ini", kHeader + "Import config to file d:\\unknown.ini \n" + kNothing},
    };
    for (const Case& c : cases) {
        console.output.clear();
        EXPECT_EQ(ImportParameters(context, c.value), 1);
        EXPECT_EQ(console.output, c.output);
    }
    EXPECT_FALSE(registry.KeyExists(RegistryRoot::LocalMachine, kParametersPath));

    // A relative name is read from the current directory; capitals are accepted.
    profile.WriteString(L"D:\\P.INI", L"DriverParameters", L"Mode", L"1");
    console.output.clear();
    EXPECT_EQ(ImportParameters(context, L"rel.ini"), 0);
    EXPECT_NE(console.output.find("Import config to file C:\\work\\rel.ini \n"), std::string::npos);
    EXPECT_EQ(ImportParameters(context, L"D:\\P.INI"), 0);
    EXPECT_EQ(Value(kDriverParametersPath, L"Mode"), 1);

    // A refused file changes nothing that is there either.
    const std::string before = Dump();
    for (const wchar_t* file : {L"d:\\locked.ini", L"d:\\empty.ini", L"d:\\unknown.ini"})
        EXPECT_EQ(ImportParameters(context, file), 1);
    EXPECT_EQ(Dump(), before);
}

// A section larger than one whole-section read holds is read key by key:
// its keys are taken, not replaced by their defaults.
TEST_F(ImportFixture, ASectionTooLargeToReadAtOnceIsReadKeyByKey)
{
    WriteGoodDriverSection();
    ProfileEntries large;
    for (int i = 0; large.size() * 20 < 2 * kWholeSectionReadLimit; ++i)
        large.emplace_back(L"Note" + std::to_wstring(i), L"a long remark");
    large.emplace_back(L"M1X", L"\"123\"");
    large.emplace_back(L"ScreenWidth", L"1920");
    profile.SetFile(L"d:\\large.ini", {{L"TouchScreen0", large}});
    ASSERT_FALSE(profile.GetSection(L"d:\\large.ini", L"TouchScreen0")) << "too large for one read";
    ASSERT_EQ(ImportParameters(context, L"d:\\large.ini"), 0) << console.output;
    EXPECT_EQ(Value(DevicePath(L"TouchScreen0"), L"M1X"), 123);
    EXPECT_EQ(Value(DevicePath(L"TouchScreen0"), L"ScreenWidth"), 1920);
    EXPECT_EQ(Value(DevicePath(L"TouchScreen0"), L"MaxX"), 65536) << "a missing key still takes its default";
}

TEST_F(ImportFixture, FailedRegistryWritesAreReported)
{
    WriteGoodDriverSection();
    Write(L"TouchScreen0", L"M1X", L"1");
    Write(L"TouchScreen1", L"M1X", L"2");
    registry.CreateKey(RegistryRoot::LocalMachine, kDriverParametersPath);
    registry.CreateKey(RegistryRoot::LocalMachine, DevicePath(L"TouchScreen1"));
    registry.DenyWrites(RegistryRoot::LocalMachine, DevicePath(L"TouchScreen0"));
    EXPECT_EQ(ImportParameters(context, kFile), 1);
    EXPECT_EQ(console.output, Opening() + "Import completed with errors!\n" + kPress);
    EXPECT_TRUE(LastMainLogLine().ends_with("Import completed with errors! (RegOpenKeyExW failed with error 5)"))
        << LastMainLogLine();
    // The import goes on past the failure.
    EXPECT_EQ(Value(DevicePath(L"TouchScreen1"), L"M1X"), 2);
}

TEST(ParameterRoundTrip, ExportThenImportRestoresEveryValue)
{
    ParameterFixture f;
    const DriverParameterRow* row = kDriverRows;
    for (int i = 0; i < 18; ++i, ++row)
        f.Set(kDriverParametersPath, row->key, row->min + (i % 2));
    std::int32_t n = 0;
    for (const TouchScreenParameterRow& r : kTouchScreenRows) {
        bool unsignedOnly = !r.allowsMinus;
        f.Set(f.DevicePath(L"TouchScreen3"), r.key, unsignedOnly ? n * 100 : -n * 65536);
        ++n;
    }
    ASSERT_EQ(ExportParameters(f.context, L"d:\\round.ini"), 0);

    ParameterFixture g;
    g.profile.SetFile(L"d:\\round.ini", f.FileSections(L"d:\\round.ini"));
    ASSERT_EQ(ImportParameters(g.context, L"d:\\round.ini"), 0) << g.console.output;
    for (const DriverParameterRow& r : kDriverRows)
        EXPECT_EQ(g.Value(kDriverParametersPath, r.key), f.Value(kDriverParametersPath, r.key)) << ToUtf8(r.key);
    for (const TouchScreenParameterRow& r : kTouchScreenRows)
        EXPECT_EQ(g.Value(g.DevicePath(L"TouchScreen3"), r.key), f.Value(f.DevicePath(L"TouchScreen3"), r.key))
            << ToUtf8(r.key);
}

} // namespace
