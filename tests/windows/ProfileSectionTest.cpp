// The export and import read and write whole sections; the values they take
// from a section must be those the key-by-key profile reads give.

#include "ParameterTestSupport.h"
#include "ProgramRunner.h"
#include "config/ParameterHelpers.h"
#include "platform/Profile_win32.h"

#include <gtest/gtest.h>

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
    ProfileEntries section = profile.GetSection(file, L"TouchScreen0");
    for (const wchar_t* key : {L"M1X", L"MaxX", L"MinX", L"MinY", L"ScreenX", L"Bare", L"EdgeA", L"EdgeX", L"Nope"})
        EXPECT_EQ(ProfileValue(section, key, L"dflt"), profile.GetString(file, L"TouchScreen0", key, L"dflt"))
            << Narrow(key);
}

TEST(Win32Profile, SectionWriteReplacesKeysInPlace)
{
    std::wstring file = MakeTempFolder(L"pelno_sections") + L"\\write.ini";
    WriteFileBytes(file, "[A]\r\nx=1\r\n[B]\r\nOwner=lab\r\nM1X=1\r\n[C]\r\ny=2\r\n");
    CWin32Profile profile;
    ASSERT_TRUE(profile.WriteSection(file, L"B",
                                     MergeEntries(profile.GetSection(file, L"B"), {{L"M1X", L"-3"}, {L"M1Y", L"4"}})));
    EXPECT_EQ(ReadFileBytes(file), "[A]\r\nx=1\r\n[B]\r\nOwner=lab\r\nM1X=-3\r\nM1Y=4\r\n[C]\r\ny=2\r\n");
    EXPECT_FALSE(profile.WriteSection(MakeTempFolder(L"pelno_sections") + L"\\missing\\x.ini", L"B", {{L"a", L"1"}}));
}
