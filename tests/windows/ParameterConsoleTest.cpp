// Export and import through the real executable and the test prefix's
// registry, checked with reg.exe and the files written.

#include "ParameterTestSupport.h"
#include "ProgramRunner.h"

#include <gtest/gtest.h>

namespace {

const std::wstring kDriverPath = std::wstring(kServiceKey) + L"\\Parameters\\DriverParameters";
const std::wstring kDevicePath = std::wstring(kServiceKey) + L"\\Parameters\\DeviceParameters";
const std::string kHeader = "\r\nPlease don't close console!\r\n";
const std::string kPress = "Press any key to continue......";

const wchar_t* const kTouchKeys[26] = {
    L"IsCalibrate",  L"M1X",     L"M1Y",       L"M2X",        L"M2Y",  L"M3X",       L"M3Y",
    L"M4X",          L"M4Y",     L"MaxX",      L"MaxY",       L"MinX", L"MinY",      L"ScreenWidth",
    L"ScreenHeight", L"ScreenX", L"ScreenY",   L"XOff",       L"YOff", L"MonitorID", L"EnableEdge",
    L"EdgeX",        L"EdgeY",   L"EdgeWidth", L"EdgeHeight", L"EdgeA"};
const wchar_t* const kDriverKeys[18] = {L"Mode",
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

std::size_t Count(const std::string& text, const std::string& part)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

struct ParameterConsole : ::testing::Test {
    std::wstring folder;
    void SetUp() override
    {
        DeleteServiceKey();
        folder = MakeTempFolder(L"pelno_params");
    }
    void TearDown() override { DeleteServiceKey(); }
};

TEST_F(ParameterConsole, ExportWithoutDriverKeyCreatesItThenExportsZeros)
{
    std::wstring file = folder + L"\\first.ini";
    DeleteFileW(file.c_str());
    CapturedRun first = RunPelno(L"-e " + file);
    EXPECT_EQ(first.exitCode, 1);
    EXPECT_EQ(first.output, kHeader + "error 0\r\nRead driver data failed!,please retry!" + kPress);
    EXPECT_EQ(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(RunReg(L"query \"HKLM\\" + kDriverPath + L"\"").exitCode, 0) << "the key now exists";

    CapturedRun second = RunPelno(L"-e " + file);
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_EQ(second.output, kHeader + "Export completed!\r\n" + kPress);
    std::string expected = "[DriverParameters]\r\n";
    for (const wchar_t* key : kDriverKeys)
        expected += Narrow(key) + "=0\r\n";
    EXPECT_EQ(ReadFileBytes(file), expected);
}

TEST_F(ParameterConsole, ExportOfThreeTouchScreensAndReexportToTheSameFile)
{
    SetParameter(kDriverPath, L"Mode", 2);
    SetParameter(kDriverPath, L"BeepFrequency", 60);
    for (int t = 0; t < 3; ++t)
        for (int k = 0; k < 26; ++k)
            SetParameter(kDevicePath + L"\\TouchScreen" + std::to_wstring(t), kTouchKeys[k],
                         (k % 3 - 1) * (t * 100 + k));
    std::wstring file = folder + L"\\three.ini";
    DeleteFileW(file.c_str());
    // A relative name lands in the current directory.
    CapturedRun run = RunPelno(L"-E three.ini", folder);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, kHeader + "Export completed!\r\n" + kPress);
    std::string once = ReadFileBytes(file);
    for (int t = 0; t < 3; ++t) {
        std::string section = "[TouchScreen" + std::to_string(t) + "]\r\n";
        std::size_t at = once.find(section);
        ASSERT_NE(at, std::string::npos) << section;
        std::string expected = section;
        for (int k = 0; k < 26; ++k)
            expected += Narrow(kTouchKeys[k]) + "=" + std::to_string((k % 3 - 1) * (t * 100 + k)) + "\r\n";
        EXPECT_EQ(once.substr(at, expected.size()), expected);
    }
    EXPECT_NE(once.find("Mode=2\r\n"), std::string::npos);
    EXPECT_NE(once.find("BeepFrequency=60\r\n"), std::string::npos);

    SetParameter(kDevicePath + L"\\TouchScreen1", L"MonitorID", 5);
    ASSERT_EQ(RunPelno(L"-e " + file).exitCode, 0);
    std::string twice = ReadFileBytes(file);
    EXPECT_EQ(Count(twice, "[TouchScreen1]"), 1u);
    EXPECT_EQ(Count(twice, "\nM1X="), 3u);
    EXPECT_EQ(Count(twice, "\nMode="), 1u);
    EXPECT_NE(twice.find("MonitorID=5\r\n"), std::string::npos);
    EXPECT_EQ(twice.size(), once.size());
}

TEST_F(ParameterConsole, ExportThatCannotWriteTheFileFails)
{
    SetParameter(kDriverPath, L"Mode", 1);
    // A folder that does not exist: the private-profile write fails.
    CapturedRun run = RunPelno(L"-e " + folder + L"\\missing\\p.ini");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, kHeader + "Export failed!\r\n" + kPress);
}

TEST_F(ParameterConsole, ImportOfAFileWithoutDriverSection)
{
    std::wstring file = folder + L"\\nodriver.ini";
    WriteFileBytes(file, "[TouchScreen0]\r\nM1X=100\r\nScreenX=-65536\r\n");
    CapturedRun run = RunPelno(L"-i " + file);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, kHeader + "Import config to file " + Narrow(file) + " \r\n" +
                              "error 0\r\n" // DriverParameters created
                              "DoubleClickTime value is incorrect! value = 200-1000\r\n"
                              "DoubleClickArea value is incorrect! value = 4-32\r\n"
                              "RightClickTime value is incorrect! value =1000-8000\r\n"
                              "RightClickArea value is incorrect! value = 4-32\r\n"
                              "DragDelayTime value is incorrect! value = 100-1000\r\n"
                              "DelayTouchTime value is incorrect! value = 25-250\r\n"
                              "BeepFrequency value is incorrect! value =100-7000\r\n"
                              "BeepDuration value is incorrect! value =10-100\r\n"
                              "error 0\r\n" // TouchScreen0 created
                              "Import completed!\r\n" +
                              kPress);
    EXPECT_EQ(RegQueryDword(kDriverPath, L"DoubleClickTime"), "0x1f4");
    EXPECT_EQ(RegQueryDword(kDriverPath, L"BeepFrequency"), "0x1b58");
    EXPECT_EQ(RegQueryDword(kDriverPath, L"EnableTouch"), "0x0");
    EXPECT_EQ(RegQueryDword(kDevicePath + L"\\TouchScreen0", L"M1X"), "0x64");
    EXPECT_EQ(RegQueryDword(kDevicePath + L"\\TouchScreen0", L"ScreenX"), "0xffff0000");
    EXPECT_EQ(RegQueryDword(kDevicePath + L"\\TouchScreen0", L"MaxX"), "0x10000");
    EXPECT_EQ(RegQueryDword(kDevicePath + L"\\TouchScreen0", L"ScreenHeight"), "0x0");
}

TEST_F(ParameterConsole, ImportOfBadValuesNewAndForbiddenSectionNames)
{
    std::string text = "[DriverParameters]\r\n";
    for (const wchar_t* key : kDriverKeys)
        text += Narrow(key) + "=" + (std::wstring(key) == L"Mode" ? "3" : "1") + "\r\n";
    text += "[Lab Frame]\r\nM1X=-5\r\nScreenHeight=tall\r\nIsCalibrate=1\r\n";
    text += "[Lab Frame\\Nested]\r\nM1X=2\r\n";
    std::wstring file = folder + L"\\BAD.INI";
    WriteFileBytes(file, text);
    CapturedRun run = RunPelno(L"-i " + file);
    EXPECT_EQ(run.exitCode, 0);
    // Every driver row but Mode and the two flags that accept 1 is out of range.
    EXPECT_EQ(Count(run.output, "Mode value is incorrect! value = 0,1,2\r\n"), 1u);
    EXPECT_NE(run.output.find("M1X value is incorrect!\r\nScreenHeight value is incorrect!\r\n"), std::string::npos);
    EXPECT_NE(run.output.find("Section Lab Frame\\Nested is not a touchscreen name, skipped!\r\n"), std::string::npos);
    EXPECT_TRUE(run.output.ends_with("Import completed!\r\n" + kPress)) << run.output;
    EXPECT_EQ(RegQueryDword(kDriverPath, L"Mode"), "0x0");
    EXPECT_EQ(RegQueryDword(kDriverPath, L"EnableBeep"), "0x1");
    std::wstring lab = kDevicePath + L"\\Lab Frame";
    EXPECT_EQ(RegQueryDword(lab, L"M1X"), "0x0");
    EXPECT_EQ(RegQueryDword(lab, L"ScreenHeight"), "0x400");
    EXPECT_EQ(RegQueryDword(lab, L"IsCalibrate"), "0x1");
    EXPECT_EQ(RegQueryDword(lab, L"ScreenWidth"), "0x500");
    // Nothing was written outside the touchscreen's own subkey.
    CapturedRun keys = RunReg(L"query \"HKLM\\" + kDevicePath + L"\"");
    EXPECT_EQ(Count(keys.output, "DeviceParameters\\"), 1u) << keys.output;
    EXPECT_NE(RunReg(L"query \"HKLM\\" + lab + L"\\Nested\"").exitCode, 0);
}

TEST_F(ParameterConsole, ImportStopsOnMissingOrWrongFile)
{
    CapturedRun missing = RunPelno(L"-i " + folder + L"\\missing.ini");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.output, kHeader + Narrow(folder) + "\\missing.ini doesn't exist!");
    std::wstring txt = folder + L"\\values.txt";
    WriteFileBytes(txt, "[DriverParameters]\r\nMode=1\r\n");
    CapturedRun wrong = RunPelno(L"-i " + txt);
    EXPECT_EQ(wrong.exitCode, 1);
    EXPECT_EQ(wrong.output, kHeader + "Import config to file " + Narrow(txt) +
                                " \r\nImport file type must be ini file,Import exit!" + kPress);
    EXPECT_NE(RunReg(L"query \"HKLM\\" + std::wstring(kServiceKey) + L"\"").exitCode, 0) << "nothing written";
}

TEST_F(ParameterConsole, ImportWhoseRegistryWritesFailReportsErrors)
{
    // A key name longer than the registry allows cannot be created.
    std::wstring file = folder + L"\\long.ini";
    WriteFileBytes(file, "[DriverParameters]\r\nDoubleClickTime=500\r\n[" + std::string(300, 'L') +
                             "]\r\nM1X=1\r\n[TouchScreen2]\r\nM1X=2\r\n");
    CapturedRun run = RunPelno(L"-i " + file);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.output.ends_with("Import completed with errors!\r\n" + kPress)) << run.output;
    EXPECT_EQ(RegQueryDword(kDevicePath + L"\\TouchScreen2", L"M1X"), "0x2") << "later sections still imported";
}

TEST_F(ParameterConsole, ExportedFileImportsBackUnchanged)
{
    for (int k = 0; k < 18; ++k)
        SetParameter(kDriverPath, kDriverKeys[k], 0);
    SetParameter(kDriverPath, L"DoubleClickTime", 700);
    SetParameter(kDriverPath, L"DoubleClickArea", 12);
    SetParameter(kDriverPath, L"RightClickTime", 1000);
    SetParameter(kDriverPath, L"RightClickArea", 8);
    SetParameter(kDriverPath, L"DragDelayTime", 100);
    SetParameter(kDriverPath, L"DelayTouchTime", 25);
    SetParameter(kDriverPath, L"BeepFrequency", 7000);
    SetParameter(kDriverPath, L"BeepDuration", 100);
    for (int k = 0; k < 26; ++k)
        SetParameter(kDevicePath + L"\\TouchScreen4", kTouchKeys[k], k < 9 ? k * 1000 : -k * 65536);
    std::wstring file = folder + L"\\round.ini";
    DeleteFileW(file.c_str());
    ASSERT_EQ(RunPelno(L"-e " + file).exitCode, 0);
    DeleteServiceKey();
    CapturedRun run = RunPelno(L"-i " + file);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(Count(run.output, "incorrect"), 0u) << run.output;
    for (int k = 0; k < 26; ++k) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%x", static_cast<unsigned>(k < 9 ? k * 1000 : -k * 65536));
        EXPECT_EQ(RegQueryDword(kDevicePath + L"\\TouchScreen4", kTouchKeys[k]), hex) << Narrow(kTouchKeys[k]);
    }
    EXPECT_EQ(RegQueryDword(kDriverPath, L"DoubleClickTime"), "0x2bc");
}

} // namespace
