#include "config/ParameterExport.h"
#include "ParameterTestContext.h"
#include "config/ParameterHelpers.h"
#include "config/ParameterImport.h"
#include "config/ParameterValidation.h"

#include <gtest/gtest.h>

namespace {

const std::string kHeader = "\nPlease don't close console!\n";
const std::string kPress = "Press any key to continue......";

struct ExportFixture : ParameterFixture, ::testing::Test {
    void SetUp() override { registry.CreateKey(RegistryRoot::LocalMachine, kDriverParametersPath); }
    const ProfileSection* Section(const std::wstring& file, const std::wstring& name)
    {
        m_sections = FileSections(file);
        for (const ProfileSection& section : m_sections)
            if (section.name == name)
                return &section;
        return nullptr;
    }
    std::vector<std::wstring> Keys(const std::wstring& file, const std::wstring& section)
    {
        std::vector<std::wstring> keys;
        if (const ProfileSection* s = Section(file, section))
            for (const auto& [k, v] : s->entries)
                keys.push_back(k);
        return keys;
    }
    std::wstring Get(const std::wstring& file, const std::wstring& section, const std::wstring& key)
    {
        const ProfileSection* s = Section(file, section);
        return s ? ProfileValue(s->entries, key, L"?") : L"?";
    }
    std::vector<std::wstring> SectionNames(const std::wstring& file)
    {
        std::vector<std::wstring> names;
        for (const ProfileSection& section : FileSections(file))
            names.push_back(section.name);
        return names;
    }

private:
    std::vector<ProfileSection> m_sections;
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
    EXPECT_TRUE(files.Bytes(L"C:\\work\\settings.ini")) << "a relative name lands in the current directory";
    EXPECT_TRUE(files.Bytes(L"D:\\BACKUP.INI"));
    EXPECT_FALSE(files.Bytes(L"d:\\conf\\.ini"));
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
    EXPECT_EQ(SectionNames(L"d:\\p.ini"),
              (std::vector<std::wstring>{L"DriverParameters", L"TouchScreen0", L"TouchScreen1"}));

    EXPECT_EQ(Get(L"d:\\p.ini", L"DriverParameters", L"Mode"), L"2");
    EXPECT_EQ(Get(L"d:\\p.ini", L"DriverParameters", L"BeepDuration"), L"50");
    EXPECT_EQ(Get(L"d:\\p.ini", L"DriverParameters", L"EnableTouch"), L"0") << "missing: 0";
    EXPECT_EQ(Get(L"d:\\p.ini", L"TouchScreen0", L"ScreenX"), L"-65536");
    EXPECT_EQ(Get(L"d:\\p.ini", L"TouchScreen0", L"MaxX"), L"131072");
    EXPECT_EQ(Get(L"d:\\p.ini", L"TouchScreen1", L"M1X"), L"40000");
    // A new file is ANSI text laid out as the section writes lay it out.
    EXPECT_TRUE(files.Bytes(L"d:\\p.ini")->starts_with("[DriverParameters]\r\nMode=2\r\nEnableTouch=0\r\n"));
}

TEST_F(ExportFixture, ReexportKeepsOneCopyAndOtherKeys)
{
    Set(DevicePath(L"TouchScreen0"), L"MonitorID", 1);
    files.Put(L"d:\\p.ini", "[Notes]\r\nOwner=lab\r\n[TouchScreen0]\r\nComment=left\r\n");
    ASSERT_EQ(ExportParameters(context, L"d:\\p.ini"), 0);
    Set(DevicePath(L"TouchScreen0"), L"MonitorID", 2);
    ASSERT_EQ(ExportParameters(context, L"d:\\p.ini"), 0);
    EXPECT_EQ(Section(L"d:\\p.ini", L"TouchScreen0")->entries.size(), 27u);
    EXPECT_EQ(Section(L"d:\\p.ini", L"DriverParameters")->entries.size(), 18u);
    EXPECT_EQ(Get(L"d:\\p.ini", L"TouchScreen0", L"MonitorID"), L"2");
    EXPECT_EQ(Get(L"d:\\p.ini", L"TouchScreen0", L"Comment"), L"left");
    EXPECT_EQ(Get(L"d:\\p.ini", L"Notes", L"Owner"), L"lab");
    EXPECT_TRUE(files.Bytes(L"d:\\p.ini")->starts_with("[Notes]\r\nOwner=lab\r\n[TouchScreen0]\r\nComment=left\r\n"));
}

TEST(ParameterExport, MissingDriverKeyFailsWithoutCreatingItAnExistingEmptyOneExportsZeros)
{
    ParameterFixture f;
    EXPECT_EQ(ExportParameters(f.context, L"d:\\p.ini"), 1);
    EXPECT_EQ(f.console.output, kHeader + "Read driver data failed!,please retry!" + kPress);
    EXPECT_FALSE(f.files.Bytes(L"d:\\p.ini"));
    EXPECT_FALSE(f.registry.KeyExists(RegistryRoot::LocalMachine, kDriverParametersPath)) << "an export writes no key";

    f.registry.CreateKey(RegistryRoot::LocalMachine, kDriverParametersPath);
    f.console.output.clear();
    EXPECT_EQ(ExportParameters(f.context, L"d:\\p.ini"), 0);
    EXPECT_EQ(f.console.output, kHeader + "Export completed!\n" + kPress);
    std::string expected = "[DriverParameters]\r\n";
    for (const DriverParameterRow& row : kDriverRows)
        expected += ToUtf8(row.key) + "=0\r\n";
    EXPECT_EQ(f.files.Bytes(L"d:\\p.ini"), expected);
}

TEST(ParameterExport, DriverKeyThatCannotBeCreated)
{
    ParameterFixture f;
    f.registry.DenyWrites(RegistryRoot::LocalMachine, kParametersPath);
    EXPECT_EQ(ExportParameters(f.context, L"d:\\p.ini"), 1);
    EXPECT_EQ(f.console.output, kHeader + "Read driver data failed!,please retry!" + kPress);
}

// A write that cannot be completed leaves the file exactly as it was (or no
// file at all) and says so; a file that is not text is not merged into.
TEST_F(ExportFixture, AFailedWriteLeavesTheFileAsItWas)
{
    for (int t = 0; t < 3; ++t)
        Set(DevicePath(L"TouchScreen" + std::to_wstring(t)), L"M1X", 100 + t);
    const std::string kOwn =
        "; the lab's settings\r\n[Notes]\r\nOwner=lab\r\n\r\n[TouchScreen1]\r\nM1X=7\r\n[Later]\r\nx=1";
    struct Case {
        const char* what;
        std::optional<std::string> existing; // nothing: no file yet
        std::size_t freeSpace;               // for the new bytes
        bool locked;
        std::string message;
        bool readOnly = false;
        std::string logged = {}; // how Main.Log's last line ends, when a failed call caused the message
    };
    const std::string kFailed = "Export failed!\n" + kPress;
    const std::string kDiskFull = "Export failed! (WriteFile failed with error 112)";
    const Case cases[] = {
        {"a full disk halfway through a new file", std::nullopt, 200, false, kFailed, false, kDiskFull},
        {"a full disk halfway through the merged file", kOwn, 200, false, kFailed, false, kDiskFull},
        {"a full disk at the first byte", kOwn, 0, false, kFailed, false, kDiskFull},
        {"a read-only file", kOwn, 1 << 20, false, kFailed, true,
         "Export failed! (GetFileAttributesW failed with error 5)"},
        {"a file held open without sharing", kOwn, 1 << 20, true,
         "d:\\p.ini can't be opened, it was left unchanged!\n" + kFailed},
        {"UTF-16 without a byte-order mark", std::string("[\0N\0]\0\r\0\n\0", 10), 1 << 20, false,
         "d:\\p.ini is not a text file, it was left unchanged!\n" + kFailed},
        {"binary data", std::string("MZ\x90\0\x03\0\0\0", 8) + "[TouchScreen1]", 1 << 20, false,
         "d:\\p.ini is not a text file, it was left unchanged!\n" + kFailed},
        {"an odd length after a UTF-16 mark", "\xFF\xFE[\0N\0]", 1 << 20, false,
         "d:\\p.ini is not a text file, it was left unchanged!\n" + kFailed},
    };
    for (const Case& c : cases) {
        ParameterFixture f;
        f.registry.CreateKey(RegistryRoot::LocalMachine, kDriverParametersPath);
        f.Set(DevicePath(L"TouchScreen1"), L"M1X", 5);
        if (c.existing)
            f.files.Put(L"d:\\p.ini", *c.existing);
        f.files.SetLocked(L"d:\\p.ini", c.locked);
        f.files.SetReadOnly(L"d:\\p.ini", c.readOnly);
        f.files.SetFreeSpace(c.freeSpace);
        const std::size_t filesBefore = f.files.FileCount();
        EXPECT_EQ(ExportParameters(f.context, L"d:\\p.ini"), 1) << c.what;
        EXPECT_EQ(f.console.output, kHeader + c.message) << c.what;
        EXPECT_TRUE(LastMainLogLine().ends_with(c.logged)) << c.what << ": " << LastMainLogLine();
        if (c.existing) {
            f.files.SetLocked(L"d:\\p.ini", false);
            EXPECT_EQ(f.files.Bytes(L"d:\\p.ini"), c.existing) << c.what << ": byte for byte as it was";
        }
        EXPECT_EQ(f.files.FileCount(), filesBefore) << c.what << ": no file left behind";
    }
}

TEST_F(ExportFixture, NewFileIsWrittenOnceAndAnExistingOneKeepsItsOtherContent)
{
    for (int t = 0; t < 3; ++t)
        Set(DevicePath(L"TouchScreen" + std::to_wstring(t)), L"M1X", 100 + t);
    ASSERT_EQ(ExportParameters(context, L"d:\\new.ini"), 0);
    EXPECT_EQ(files.WriteCount(), 1) << "a new file takes one write";
    EXPECT_EQ(SectionNames(L"d:\\new.ini"),
              (std::vector<std::wstring>{L"DriverParameters", L"TouchScreen0", L"TouchScreen1", L"TouchScreen2"}));
    EXPECT_EQ(Get(L"d:\\new.ini", L"TouchScreen2", L"M1X"), L"102");

    // Everything outside the rewritten sections stays byte for byte, and the
    // whole file is written once.
    const std::string before = "; written by hand\r\n"
                               "[Notes]\r\n  Owner = lab  \r\n\r\n"
                               "[touchscreen1]\r\nExtra=kept\r\n; dropped with the section's rewrite\r\nM1X=7\r\n\r\n"
                               "[Tail]\r\nlast=1";
    files.Put(L"d:\\old.ini", before);
    ASSERT_EQ(ExportParameters(context, L"d:\\old.ini"), 0);
    EXPECT_EQ(files.WriteCount(), 2);
    std::string after = *files.Bytes(L"d:\\old.ini");
    EXPECT_TRUE(after.starts_with("; written by hand\r\n[Notes]\r\n  Owner = lab  \r\n\r\n"
                                  "[touchscreen1]\r\nExtra=kept\r\nM1X=101\r\nIsCalibrate=0\r\n"))
        << after;
    EXPECT_NE(after.find("EdgeA=0\r\n\r\n[Tail]\r\nlast=1\r\n[DriverParameters]\r\n"), std::string::npos) << after;
    EXPECT_EQ(SectionNames(L"d:\\old.ini"),
              (std::vector<std::wstring>{L"Notes", L"touchscreen1", L"Tail", L"DriverParameters", L"TouchScreen0",
                                         L"TouchScreen2"}))
        << "one copy of each section";
}

// A name the ANSI code page cannot hold makes the file UTF-16 (ANSI would
// turn it into question marks); the import reads it back under its name.
TEST(ParameterExport, NamesTheCodePageCannotHoldMakeTheFileUtf16)
{
    const std::wstring kName = L"TouchScreen\x89E6\x6478";
    ParameterFixture f;
    f.Set(kDriverParametersPath, L"DoubleClickTime", 600);
    f.Set(f.DevicePath(kName), L"M1X", 321);
    f.Set(f.DevicePath(L"TouchScreen\xE9"), L"M1X", 9); // Latin-1 holds this one
    ASSERT_EQ(ExportParameters(f.context, L"d:\\wide.ini"), 0);
    std::string bytes = *f.files.Bytes(L"d:\\wide.ini");
    ASSERT_TRUE(bytes.starts_with(std::string("\xFF\xFE[\0D\0r\0", 8))) << "UTF-16LE with its byte-order mark";

    ParameterFixture g;
    g.profile.SetFile(L"d:\\wide.ini", f.FileSections(L"d:\\wide.ini"));
    ASSERT_EQ(ImportParameters(g.context, L"d:\\wide.ini"), 0) << g.console.output;
    EXPECT_EQ(g.Value(g.DevicePath(kName), L"M1X"), 321);
    EXPECT_EQ(g.Value(g.DevicePath(L"TouchScreen\xE9"), L"M1X"), 9);
    EXPECT_EQ(g.Value(kDriverParametersPath, L"DoubleClickTime"), 600);

    // Written into an existing file, the same names turn it into UTF-16 with
    // all it held; a UTF-16 file stays UTF-16 with ANSI names alone.
    ParameterFixture h;
    h.Set(h.DevicePath(kName), L"M1X", 1);
    h.registry.CreateKey(RegistryRoot::LocalMachine, kDriverParametersPath);
    h.files.Put(L"d:\\old.ini", "[Notes]\r\nOwner=caf\xE9\r\n");
    ASSERT_EQ(ExportParameters(h.context, L"d:\\old.ini"), 0);
    auto old = DecodeProfileFile(*h.files.Bytes(L"d:\\old.ini"), h.ansi);
    ASSERT_TRUE(old);
    EXPECT_EQ(old->encoding, ProfileEncoding::Utf16Le);
    EXPECT_TRUE(old->text.starts_with(L"[Notes]\r\nOwner=caf\xE9\r\n"));

    ParameterFixture k;
    k.registry.CreateKey(RegistryRoot::LocalMachine, kDriverParametersPath);
    k.Set(k.DevicePath(L"TouchScreen0"), L"M1X", 1);
    k.files.Put(L"d:\\u.ini", *EncodeProfileFile(L"[Notes]\r\nOwner=lab\r\n", ProfileEncoding::Utf16Le, k.ansi));
    ASSERT_EQ(ExportParameters(k.context, L"d:\\u.ini"), 0);
    EXPECT_EQ(DecodeProfileFile(*k.files.Bytes(L"d:\\u.ini"), k.ansi)->encoding, ProfileEncoding::Utf16Le);
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
