// The profile file's text: its bytes read as the profile functions read
// them, and sections written into it as a section write writes them.

#include "common/TextEncoding.h"
#include "config/ProfileEncoding.h"
#include "config/ProfileMerge.h"
#include "platform/AnsiCodePage.h"

#include <gtest/gtest.h>

namespace {

const std::vector<ProfileSection> kExport = {{L"B", {{L"M1X", L"-3"}, {L"M1Y", L"4"}}}};

TEST(ProfileMerge, WritesSectionsAsSectionWritesAndKeepsEveryOtherLine)
{
    struct Case {
        const char* what;
        const wchar_t* before;
        const wchar_t* after;
    };
    const Case cases[] = {
        {"an empty text gets the sections", L"", L"[B]\r\nM1X=-3\r\nM1Y=4\r\n"},
        {"keys keep their place and spelling; comments and bare lines of the section go",
         L"[A]\r\nx = 1\r\n[b]\r\n; note\r\nOwner=lab\r\n m1x = 1 \r\nbare\r\nm1X=5\r\n[C]\r\ny=2\r\n",
         L"[A]\r\nx = 1\r\n[b]\r\nOwner=lab\r\nm1x=-3\r\nM1Y=4\r\n[C]\r\ny=2\r\n"},
        {"blank lines after the section and lines before any section stay", L"; top\n\n[B]\nM1Y=0\n\n\n[C]\ny=2\n",
         L"; top\n\n[B]\nM1Y=4\r\nM1X=-3\r\n\n\n[C]\ny=2\n"},
        {"a later copy of the section stays as it is", L"[B]\r\nM1X=1\r\n[B]\r\nM1X=9\r\nZ=3\r\n",
         L"[B]\r\nM1X=-3\r\nM1Y=4\r\n[B]\r\nM1X=9\r\nZ=3\r\n"},
        {"a header that ends the text", L"[A]\r\nx=1\r\n[B]", L"[A]\r\nx=1\r\n[B]\r\nM1X=-3\r\nM1Y=4\r\n"},
        {"a missing section follows the last line", L"[A]\r\nx=1", L"[A]\r\nx=1\r\n[B]\r\nM1X=-3\r\nM1Y=4\r\n"},
        {"a header with blanks and a comment after it", L"  [B]  ; mine\r\nM1X=1\r\n",
         L"  [B]  ; mine\r\nM1X=-3\r\nM1Y=4\r\n"},
        {"blanks around a name do not count; \"[ ]\" ends a section", L"[\t b ]\r\nM1X=1\r\n[ ]\r\nM1X=2\r\n",
         L"[\t b ]\r\nM1X=-3\r\nM1Y=4\r\n[ ]\r\nM1X=2\r\n"},
        {"a lone CR ends a line", L"[A]\rx=1\r[B]\rM1X=1\rZ=2\r", L"[A]\rx=1\r[B]\rM1X=-3\r\nZ=2\r\nM1Y=4\r\n"},
        {"mixed line ends", L"[A]\r\nx=1\r[B]\nM1X=1\r\r\n[C]\ry=2",
         L"[A]\r\nx=1\r[B]\nM1X=-3\r\nM1Y=4\r\n\r\n[C]\ry=2"},
        {"other Unicode spaces are part of names", L"[\x3000B]\r\n\xA0M1X=1\r\n",
         L"[\x3000B]\r\n\xA0M1X=1\r\n[B]\r\nM1X=-3\r\nM1Y=4\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ToUtf8(MergeProfileSections(c.before, kExport)), ToUtf8(c.after)) << c.what;

    // Two sections of one name are written one after the other.
    EXPECT_EQ(MergeProfileSections(L"", {{L"S", {{L"a", L"1"}}}, {L"s", {{L"b", L"2"}, {L"a", L"3"}}}}),
              L"[S]\r\na=3\r\nb=2\r\n");
}

TEST(ProfileMerge, ReadsSectionsAsTheWholeSectionReadGivesThem)
{
    auto sections =
        ReadProfileSections(L"x=0\r\n[A]\r\n; c\r\n  k = v  \r\nbare\r\n=5\r\nq=\"1\"\r\n[]\r\nz=1\r\n[A]\n");
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_EQ(sections[0].name, L"A");
    EXPECT_EQ(sections[0].entries, (ProfileEntries{{L"k", L"v"}, {L"q", L"\"1\""}}));
    EXPECT_TRUE(sections[1].entries.empty());
}

TEST(ProfileEncoding, BytesReadAsTheProfileFunctionsReadThemOrRefused)
{
    CLatin1CodePage ansi;
    struct Case {
        const char* what;
        std::string bytes;
        std::optional<ProfileEncoding> encoding; // nothing: not text
        std::wstring text;
    };
    const Case cases[] = {
        {"ANSI", "[A]\r\nk=caf\xE9", ProfileEncoding::Ansi, L"[A]\r\nk=caf\xE9"},
        {"UTF-8 with its mark", "\xEF\xBB\xBFk=\xE6\x91\xB8", ProfileEncoding::Utf8, L"k=\x6478"},
        {"UTF-16LE with its mark", std::string("\xFF\xFEk\0=\0\xE6\x89", 8), ProfileEncoding::Utf16Le, L"k=\x89E6"},
        {"UTF-16BE with its mark", std::string("\xFE\xFF\0k\0=\x89\xE6", 8), ProfileEncoding::Utf16Be, L"k=\x89E6"},
        {"an empty file", "", ProfileEncoding::Ansi, L""},
        {"UTF-16 without its mark", std::string("k\0=\0", 4), std::nullopt, L""},
        {"binary",
         std::string("\x7F"
                     "ELF\x02\x01\0",
                     7),
         std::nullopt, L""},
        {"an odd UTF-16 length", "\xFF\xFEk", std::nullopt, L""},
        {"invalid UTF-8", "\xEF\xBB\xBFk=\xE6\x91", std::nullopt, L""},
    };
    for (const Case& c : cases) {
        auto read = DecodeProfileFile(c.bytes, ansi);
        ASSERT_EQ(read.has_value(), c.encoding.has_value()) << c.what;
        if (!read)
            continue;
        EXPECT_EQ(read->encoding, *c.encoding) << c.what;
        EXPECT_EQ(read->text, c.text) << c.what;
        EXPECT_EQ(EncodeProfileFile(read->text, read->encoding, ansi), c.bytes) << c.what << ": written back unchanged";
    }
    EXPECT_FALSE(EncodeProfileFile(L"k=\x89E6", ProfileEncoding::Ansi, ansi)) << "ANSI cannot hold it";
    // A character beyond 16 bits is a surrogate pair in UTF-16.
    std::wstring wide(1, static_cast<wchar_t>(0x1F600));
    if (sizeof(wchar_t) == 2)
        wide = L"\xD83D\xDE00";
    EXPECT_EQ(EncodeProfileFile(wide, ProfileEncoding::Utf16Le, ansi), std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6));
    EXPECT_EQ(DecodeProfileFile(std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6), ansi)->text, wide);
}

} // namespace
