#include "common/LanguageText.h"
#include "platform/MemoryProfile.h"
#include "platform/Platform.h"
#include "platform/System.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

class CFakeSystem : public ISystem {
public:
    unsigned languageId = 1033;
    std::wstring folder = L"C:\\Program Files\\Touch";
    unsigned DefaultLanguageId() override { return languageId; }
    std::wstring ProgramFolder() override { return folder; }
    std::vector<std::wstring> files;
    bool FileExists(const std::wstring& path) override
    {
        return std::find(files.begin(), files.end(), path) != files.end();
    }
    void Sleep(unsigned) override {}
};

class LanguageTextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (auto [id, text] : {std::pair{L"2052", L"chinese"}, {L"1041", L"japanese"}, {L"1033", L"english"}})
            profile.WriteString(system.folder + L"\\Language\\" + id + L".ini", L"Language", L"72", text);
        PlatformServices services;
        services.profile = &profile;
        services.system = &system;
        SetPlatform(services);
    }
    void TearDown() override { SetPlatform(PlatformServices{}); }

    CMemoryProfile profile;
    CFakeSystem system;
};

} // namespace

TEST_F(LanguageTextTest, LanguageIdChoosesTheFileAndOthersFallBackToEnglish)
{
    const std::pair<unsigned, const wchar_t*> cases[] = {
        {2052, L"chinese"}, {1041, L"japanese"}, {1033, L"english"}, {1028, L"english"}, {1031, L"english"}};
    for (auto [id, expected] : cases) {
        system.languageId = id;
        EXPECT_EQ(GetLanguageText(L"72"), expected) << id;
    }
    EXPECT_EQ(LanguageFileFor(2052), L"\\Language\\2052.ini");
    EXPECT_EQ(LanguageFileFor(0), L"\\Language\\1033.ini");
}

TEST_F(LanguageTextTest, HelpOpensTheManualOfTheShownLanguageElseTheEnglishOne)
{
    const std::wstring english = system.folder + L"\\UserManual.pdf";
    const std::wstring chinese = system.folder + L"\\UserManual-2052.pdf";
    const std::wstring japanese = system.folder + L"\\UserManual-1041.pdf";
    system.files = {english, chinese, japanese};
    const std::pair<unsigned, std::wstring> cases[] = {
        {2052, chinese}, {1041, japanese}, {1033, english}, {1028, english}, {1031, english}};
    for (const auto& [id, expected] : cases) {
        system.languageId = id;
        EXPECT_EQ(ManualPath(system), expected) << id;
    }
    system.files = {english, japanese};
    system.languageId = 2052;
    EXPECT_EQ(ManualPath(system), english) << "no Chinese manual installed";
}

TEST_F(LanguageTextTest, MissingKeyFileOrSeamYieldsTheKey)
{
    EXPECT_EQ(GetLanguageText(L"71"), L"71");
    system.folder = L"D:\\elsewhere";
    EXPECT_EQ(GetLanguageText(L"72"), L"72");
    SetPlatform(PlatformServices{});
    EXPECT_EQ(GetLanguageText(L"79"), L"79");
}

TEST_F(LanguageTextTest, TextsAreCutAt511CharactersAndLongFoldersWork)
{
    system.folder = L"C:\\" + std::wstring(300, L'd');
    std::wstring file = system.folder + L"\\Language\\1033.ini";
    profile.WriteString(file, L"Language", L"10", std::wstring(600, L'x'));
    profile.WriteString(file, L"Language", L"11", std::wstring(511, L'y'));
    EXPECT_EQ(GetLanguageText(L"10"), std::wstring(511, L'x'));
    EXPECT_EQ(GetLanguageText(L"11"), std::wstring(511, L'y'));
}

TEST_F(LanguageTextTest, SeveralTextsAtOnceAreTheTextsOneByOne)
{
    const std::wstring file = system.folder + L"\\Language\\1033.ini";
    profile.WriteString(file, L"Language", L"16", L"\"Modes\"");
    profile.WriteString(file, L"Language", L"17", L"'Click' On Touch");
    profile.WriteString(file, L"Language", L"18", std::wstring(600, L'x'));
    profile.WriteString(file, L"Language", L"19", L"\"");
    const std::vector<std::wstring_view> keys = {L"72", L"16", L"17", L"18", L"19", L"20", L"72"};
    std::vector<std::wstring> expected;
    for (std::wstring_view key : keys)
        expected.push_back(GetLanguageText(key));
    EXPECT_EQ(GetLanguageTexts(keys), expected);
    EXPECT_EQ(expected[1], L"Modes");
    system.folder = L"D:\\elsewhere";
    EXPECT_EQ(GetLanguageTexts({L"16", L"77"}), (std::vector<std::wstring>{L"16", L"77"})) << "no file";
}
