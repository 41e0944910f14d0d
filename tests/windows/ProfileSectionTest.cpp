// The export and import read and write whole sections; the values they take
// from a section must be those the key-by-key profile reads give, and the
// export's merge of a file must read back as the section writes leave it.

#include "ParameterTestSupport.h"
#include "ProgramRunner.h"
#include "config/ParameterHelpers.h"
#include "config/ProfileMerge.h"
#include "platform/Profile_win32.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// What the profile reads see of a file: every section name and, for each,
// the whole-section read.
std::wstring ProfileView(const std::wstring& file)
{
    std::wstring view;
    std::vector<wchar_t> buffer(1 << 16);
    DWORD n = GetPrivateProfileSectionNamesW(buffer.data(), static_cast<DWORD>(buffer.size()), file.c_str());
    for (const wchar_t* name = buffer.data(); name < buffer.data() + n && *name; name += wcslen(name) + 1) {
        std::vector<wchar_t> section(1 << 16);
        DWORD m = GetPrivateProfileSectionW(name, section.data(), static_cast<DWORD>(section.size()), file.c_str());
        std::replace(section.begin(), section.begin() + m, L'\0', L'|');
        view += L"[" + std::wstring(name) + L"] " + std::wstring(section.data(), m) + L"\n";
    }
    return view;
}

std::wstring ReadWide(const std::wstring& file)
{
    std::string bytes = ReadFileBytes(file);
    return std::wstring(bytes.begin(), bytes.end()); // ASCII test files
}

} // namespace

TEST(Win32Profile, SectionReadAgreesWithKeyReads)
{
    std::wstring file = MakeTempFolder(L"pelno_sections") + L"\\odd.ini";
    WriteFileBytes(file, "[Other]\r\nM1X=5\r\n"
                         "[TouchScreen0]\r\n"
                         "; a comment\r\n"
                         "  M1X  =  12  \r\n"
                         "m1x=13\r\n"
                         "MaxX=\"65536\"\r\n"
                         "MinX='-4'\r\n"
                         "MinY=\"7\r\n"
                         "ScreenX=\r\n"
                         "Bare\r\n"
                         "EdgeA=1=2\r\n"
                         "[touchscreen0]\r\nEdgeX=9\r\n");
    CWin32Profile profile;
    std::optional<ProfileEntries> section = profile.GetSection(file, L"TouchScreen0");
    ASSERT_TRUE(section);
    for (const wchar_t* key : {L"M1X", L"MaxX", L"MinX", L"MinY", L"ScreenX", L"Bare", L"EdgeA", L"EdgeX", L"Nope"})
        EXPECT_EQ(ProfileValue(*section, key, L"dflt"), profile.GetString(file, L"TouchScreen0", key, L"dflt"))
            << Narrow(key);
}

// The export writes its sections into the file's text in memory; the
// profile reads must find there what the section writes would have left.
TEST(Win32Profile, MergeReadsBackAsTheSectionWritesLeaveTheFile)
{
    const std::string text = "; a comment before any section\r\n\r\n"
                             "[A]\r\n  x = 1  \r\nbare\r\n\r\n"
                             "[B]\r\n; c\r\nOwner=lab\r\nM1X=1\r\nm1x=5\r\n\t\r\n"
                             "[C]\r\ny=2\r\n"
                             "[b]\r\nM1X=9\r\nZ=3\r\n"
                             "  [ D ]  ; note\r\nq = \"1\"\r\n"
                             "[\tE ] x\r\nk=0\r\n"
                             "[F]";
    const std::vector<ProfileSection> sections = {{L"B", {{L"M1X", L"-3"}, {L"M1Y", L"4"}}},
                                                  {L"E", {{L"k", L"v"}}},
                                                  {L"f", {{L"z", L"1"}}},
                                                  {L"New", {{L"a", L"1"}, {L"b", L"2"}}}};
    const std::wstring folder = MakeTempFolder(L"pelno_sections");
    const std::wstring written = folder + L"\\sectionwrites.ini", merged = folder + L"\\merged.ini";
    WriteFileBytes(written, text);
    WriteFileBytes(merged, text);

    CWin32Profile profile;
    for (const ProfileSection& section : sections) {
        std::wstring block;
        for (const auto& [key, value] : MergeEntries(*profile.GetSection(written, section.name), section.entries))
            block += key + L'=' + value + L'\0';
        block += L'\0';
        ASSERT_TRUE(WritePrivateProfileSectionW(section.name.c_str(), block.c_str(), written.c_str()));
    }
    const std::wstring result = MergeProfileSections(ReadWide(merged), sections);
    WriteFileBytes(merged, std::string(result.begin(), result.end()));

    EXPECT_EQ(ProfileView(merged), ProfileView(written)) << Narrow(result);
    for (const wchar_t* key : {L"x", L"Owner", L"M1X", L"M1Y", L"Z", L"k"})
        EXPECT_EQ(profile.GetString(merged, L"B", key, L"-"), profile.GetString(written, L"B", key, L"-"));
}

TEST(Win32Profile, ASectionTooLargeForOneReadIsReportedAndReadKeyByKey)
{
    std::wstring file = MakeTempFolder(L"pelno_sections") + L"\\large.ini";
    std::string text = "[Small]\r\nM1X=1\r\n[Large]\r\n";
    for (int i = 0; text.size() < 40000; ++i)
        text += "Note" + std::to_string(i) + "=a long remark\r\n";
    WriteFileBytes(file, text + "M1X=123\r\n");
    CWin32Profile profile;
    EXPECT_EQ(profile.GetSection(file, L"Small"), (ProfileEntries{{L"M1X", L"1"}}));
    EXPECT_FALSE(profile.GetSection(file, L"Large"));
    EXPECT_EQ(profile.GetString(file, L"Large", L"M1X", L"-"), L"123");
}

TEST(Win32Profile, CheckFileTellsMissingFoldersAndLockedFiles)
{
    std::wstring folder = MakeTempFolder(L"pelno_sections");
    std::wstring file = folder + L"\\check.ini";
    WriteFileBytes(file, "[A]\r\nx=1\r\n");
    CWin32Profile profile;
    EXPECT_EQ(profile.CheckFile(file), ProfileFileStatus::Readable);
    EXPECT_EQ(profile.CheckFile(folder + L"\\none.ini"), ProfileFileStatus::Missing);
    CreateDirectoryW((folder + L"\\folder.ini").c_str(), nullptr);
    EXPECT_EQ(profile.CheckFile(folder + L"\\folder.ini"), ProfileFileStatus::Missing);
    HANDLE held = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(profile.CheckFile(file), ProfileFileStatus::CannotOpen);
    CloseHandle(held);
}
