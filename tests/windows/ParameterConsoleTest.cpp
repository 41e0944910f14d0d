// Export and import through the real executable and the test prefix's
// registry, checked with reg.exe and the files written.

#include "ParameterTestSupport.h"
#include "ProgramRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

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

TEST_F(ParameterConsole, ExportWithoutDriverKeyFailsAndWritesNoKeyWithAnEmptyKeyExportsZeros)
{
    std::wstring file = folder + L"\\first.ini";
    DeleteFileW(file.c_str());
    CapturedRun first = RunPelno(L"-e " + file);
    EXPECT_EQ(first.exitCode, 1);
    EXPECT_EQ(first.output, kHeader + "Read driver data failed!,please retry!" + kPress);
    EXPECT_EQ(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(RunReg(L"query \"HKLM\\" + kDriverPath + L"\"").exitCode, 0) << "an export writes no key";
    ASSERT_EQ(RunReg(L"add \"HKLM\\" + kDriverPath + L"\" /f").exitCode, 0);

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

// A lone CR ends a line for the profile reads, after a UTF-8 mark too.
TEST_F(ParameterConsole, ExportIntoAFileWithLoneCrLineEndsReadsBackTheNewValues)
{
    SetParameter(kDriverPath, L"EnableTouch", 1);
    const std::wstring file = folder + L"\\cr.ini";
    WriteFileBytes(file, "\xEF\xBB\xBF[Notes]\rOwner=lab\r[DriverParameters]\rEnableTouch=0\rMode=3\r");
    ASSERT_EQ(RunPelno(L"-e " + file).exitCode, 0);
    EXPECT_EQ(Count(ReadFileBytes(file), "[DriverParameters]"), 1u);
    EXPECT_EQ(GetPrivateProfileIntW(L"DriverParameters", L"EnableTouch", -1, file.c_str()), 1u);
}

TEST_F(ParameterConsole, ExportThatCannotWriteTheFileFails)
{
    SetParameter(kDriverPath, L"Mode", 1);
    // A folder that does not exist: the private-profile write fails.
    CapturedRun run = RunPelno(L"-e " + folder + L"\\missing\\p.ini");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, kHeader + "Export failed!\r\n" + kPress);
    // A read-only file keeps its bytes, whatever the rights of the user.
    const std::wstring readOnly = folder + L"\\readonly.ini";
    WriteFileBytes(readOnly, "[DriverParameters]\r\nMode=0\r\n");
    ASSERT_TRUE(SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    CapturedRun refused = RunPelno(L"-e " + readOnly);
    SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.output, kHeader + "Export failed!\r\n" + kPress);
    EXPECT_EQ(ReadFileBytes(readOnly), "[DriverParameters]\r\nMode=0\r\n");
}

TEST_F(ParameterConsole, ImportOfAFileWithoutDriverSectionLeavesTheDriverValues)
{
    // One touchscreen's calibration alone: touch input and double click stay on.
    SetParameter(kDriverPath, L"EnableTouch", 1);
    SetParameter(kDriverPath, L"EnableDoubleClick", 1);
    SetParameter(kDriverPath, L"DoubleClickTime", 700);
    std::wstring file = folder + L"\\nodriver.ini";
    WriteFileBytes(file, "[TouchScreen0]\r\nM1X=100\r\nScreenX=-65536\r\n");
    CapturedRun run = RunPelno(L"-i " + file);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, kHeader + "Import config to file " + Narrow(file) + " \r\n" +
                              "error 0\r\n" // TouchScreen0 created
                              "Import completed!\r\n" +
                              kPress);
    EXPECT_EQ(RegQueryDword(kDriverPath, L"EnableTouch"), "0x1");
    EXPECT_EQ(RegQueryDword(kDriverPath, L"EnableDoubleClick"), "0x1");
    EXPECT_EQ(RegQueryDword(kDriverPath, L"DoubleClickTime"), "0x2bc");
    EXPECT_EQ(RegQueryDword(kDriverPath, L"Mode"), "") << "not written";
    EXPECT_EQ(RegQueryDword(kDevicePath + L"\\TouchScreen0", L"M1X"), "0x64");
    EXPECT_EQ(RegQueryDword(kDevicePath + L"\\TouchScreen0", L"ScreenX"), "0xffff0000");
    EXPECT_EQ(RegQueryDword(kDevicePath + L"\\TouchScreen0", L"MaxX"), "0x10000");
    EXPECT_EQ(RegQueryDword(kDevicePath + L"\\TouchScreen0", L"ScreenHeight"), "0x0");
}

// A file the import cannot read, or reads nothing from, is refused before
// anything is written; the export leaves such a file as it is.
TEST_F(ParameterConsole, UnreadableFilesAreRefusedAndLeftAsTheyAre)
{
    SetParameter(kDriverPath, L"Mode", 1);
    SetParameter(kDevicePath + L"\\TouchScreen0", L"M1X", 5);
    struct Case {
        const wchar_t* name;
        std::string bytes;
        std::string importLine; // after the opening lines
        const char* exportLine; // after the file's name
    };
    const std::string nothing = "No parameter found in the file,Import exit!" + kPress;
    const std::wstring wide = L"[TouchScreen0]\r\nM1X=7\r\n";
    const std::string utf16NoMark(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
    const Case cases[] = {
        {L"empty.ini", "", nothing, nullptr},
        {L"nobom.ini", utf16NoMark, nothing, " is not a text file, it was left unchanged!\r\n"},
        {L"binary.ini", std::string("MZ\x90\0\x03\0\0\0", 8) + "[TouchScreen0]\r\nM1X=7\r\n", nothing,
         " is not a text file, it was left unchanged!\r\n"},
    };
    for (const Case& c : cases) {
        std::wstring file = folder + L"\\" + c.name;
        WriteFileBytes(file, c.bytes);
        CapturedRun import = RunPelno(L"-i " + file);
        EXPECT_EQ(import.exitCode, 1) << Narrow(c.name);
        EXPECT_EQ(import.output, kHeader + "Import config to file " + Narrow(file) + " \r\n" + c.importLine);
        EXPECT_EQ(RegQueryDword(kDevicePath + L"\\TouchScreen0", L"MaxX"), "") << "nothing written";
        if (!c.exportLine)
            continue;
        CapturedRun exported = RunPelno(L"-e " + file);
        EXPECT_EQ(exported.exitCode, 1) << Narrow(c.name);
        EXPECT_EQ(exported.output, kHeader + Narrow(file) + c.exportLine + "Export failed!\r\n" + kPress);
        EXPECT_EQ(ReadFileBytes(file), c.bytes) << Narrow(c.name) << ": byte for byte as it was";
    }

    // Held open by another program without sharing.
    std::wstring locked = folder + L"\\locked.ini";
    const std::string text = "[TouchScreen0]\r\nM1X=7\r\n";
    WriteFileBytes(locked, text);
    HANDLE held = CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    CapturedRun import = RunPelno(L"-i " + locked);
    CapturedRun exported = RunPelno(L"-e " + locked);
    CloseHandle(held);
    EXPECT_EQ(import.exitCode, 1);
    EXPECT_EQ(import.output, kHeader + Narrow(locked) + " can't be opened!");
    EXPECT_EQ(RegQueryDword(kDevicePath + L"\\TouchScreen0", L"MaxX"), "");
    EXPECT_EQ(exported.exitCode, 1);
    EXPECT_EQ(exported.output,
              kHeader + Narrow(locked) + " can't be opened, it was left unchanged!\r\nExport failed!\r\n" + kPress);
    EXPECT_EQ(ReadFileBytes(locked), text);
}

TEST_F(ParameterConsole, ASectionTooLargeForOneReadIsImportedKeyByKey)
{
    std::string text = "[TouchScreen0]\r\n";
    for (int i = 0; text.size() < 40000; ++i)
        text += "Remark" + std::to_string(i) + "=measured by the lab\r\n";
    text += "M1X=\"321\"\r\nScreenWidth=1920\r\n";
    std::wstring file = folder + L"\\large.ini";
    WriteFileBytes(file, text);
    CapturedRun run = RunPelno(L"-i " + file);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(RegQueryDword(kDevicePath + L"\\TouchScreen0", L"M1X"), "0x141");
    EXPECT_EQ(RegQueryDword(kDevicePath + L"\\TouchScreen0", L"ScreenWidth"), "0x780");
    EXPECT_EQ(RegQueryDword(kDevicePath + L"\\TouchScreen0", L"MaxX"), "0x10000") << "a missing key: its default";
}

// A touchscreen name outside the ANSI code page makes the export UTF-16;
// the import brings it back under the same name.
TEST_F(ParameterConsole, NamesOutsideTheCodePageSurviveExportAndImport)
{
    const std::wstring name = L"\x89E6\x6478\x5C4F 2";
    SetParameter(kDriverPath, L"DoubleClickTime", 700);
    SetParameter(kDevicePath + L"\\" + name, L"M1X", 1234);
    std::wstring file = folder + L"\\wide.ini";
    DeleteFileW(file.c_str());
    ASSERT_EQ(RunPelno(L"-e " + file).exitCode, 0);
    std::string bytes = ReadFileBytes(file);
    ASSERT_TRUE(bytes.starts_with("\xFF\xFE")) << "UTF-16LE with its byte-order mark";
    const std::wstring section = L"[" + name + L"]\r\nIsCalibrate=0\r\nM1X=1234\r\n";
    EXPECT_NE(bytes.find(std::string(reinterpret_cast<const char*>(section.data()), section.size() * 2)),
              std::string::npos);

    // Exported again, the file stays UTF-16 and keeps one copy of everything.
    ASSERT_EQ(RunPelno(L"-e " + file).exitCode, 0);
    EXPECT_EQ(ReadFileBytes(file), bytes);

    DeleteServiceKey();
    CapturedRun run = RunPelno(L"-i " + file);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(RegQueryDword(kDevicePath + L"\\" + name, L"M1X"), "0x4d2");
    EXPECT_EQ(RegQueryDword(kDriverPath, L"DoubleClickTime"), "0x2bc");
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

namespace {

// Fills the disk of the folder but for about `left` bytes.
void FillDisk(const std::wstring& filler, std::size_t left)
{
    HANDLE file = CreateFileW(filler.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    const std::string block(4096, 'x');
    DWORD written = 0;
    while (WriteFile(file, block.data(), static_cast<DWORD>(block.size()), &written, nullptr) && written > 0) {
    }
    LARGE_INTEGER size{};
    GetFileSizeEx(file, &size);
    size.QuadPart = size.QuadPart > LONGLONG(left) ? size.QuadPart - LONGLONG(left) : 0;
    SetFilePointerEx(file, size, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
}

std::vector<std::wstring> FilesIn(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(data.cFileName);
    while (FindNextFileW(find, &data));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

// The export into an existing file on a disk too full for the merged file:
// the user's file stays byte for byte, and the export says it failed. The
// disk is a 64 KiB tmpfs that tests/windows/with-small-disk.sh mounts.
TEST(FullDisk, ExportIntoAnExistingFileLeavesItUnchanged)
{
    const wchar_t* disk = _wgetenv(L"PELNO_SMALL_DISK");
    if (!disk || !*disk)
        GTEST_SKIP() << "no small disk: mounting a tmpfs needs root (tests/windows/with-small-disk.sh)";
    DeleteServiceKey();
    SetParameter(kDriverPath, L"Mode", 1);
    for (int t = 0; t < 16; ++t)
        for (int k = 0; k < 26; ++k)
            SetParameter(kDevicePath + L"\\TouchScreen" + std::to_wstring(t), kTouchKeys[k], t * 1000 + k);
    const std::wstring file = std::wstring(disk) + L"\\settings.ini";
    std::string text = "; the lab's own settings\r\n[Notes]\r\nOwner=lab\r\n";
    for (int i = 0; i < 200; ++i)
        text += "[Room" + std::to_string(i) + "]\r\nScreens=" + std::to_string(i % 3) + "\r\n";
    text += "[TouchScreen3]\r\nM1X=1\r\n[Tail]\r\nlast=1\r\n";
    WriteFileBytes(file, text);
    ASSERT_EQ(ReadFileBytes(file), text);
    FillDisk(std::wstring(disk) + L"\\filler", 4096);

    CapturedRun run = RunPelno(L"-e " + file);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, kHeader + "Export failed!\r\n" + kPress);
    EXPECT_EQ(ReadFileBytes(file), text) << "byte for byte as it was";
    EXPECT_EQ(FilesIn(disk), (std::vector<std::wstring>{L"filler", L"settings.ini"})) << "no temporary file left";

    // With room again, the same export succeeds.
    DeleteFileW((std::wstring(disk) + L"\\filler").c_str());
    EXPECT_EQ(RunPelno(L"-e " + file).exitCode, 0);
    std::string merged = ReadFileBytes(file);
    EXPECT_TRUE(merged.starts_with(text.substr(0, text.find("[TouchScreen3]")))) << "the user's lines stay";
    EXPECT_NE(merged.find("[TouchScreen15]\r\nIsCalibrate=15000\r\n"), std::string::npos);
    DeleteFileW(file.c_str());
    DeleteServiceKey();
}
