// Checks the shipped language files: the encoding the profile functions expect, one text for every key
// a window looks up (a missing key would show its number instead of the text), and the Chinese and
// Japanese files holding exactly the English file's keys.
#include <gtest/gtest.h>

#include <cstddef>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

const char* const kKeysInUse[] = {
    // main dialog, its title and the Help boxes
    "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15", "100", "101", "79", "70", "73",
    "74",
    // no touchscreen at start
    "71", "72",
    // Settings
    "16", "17", "18", "19", "20", "21", "22", "23", "24", "25", "26", "27", "28", "29", "30", "31", "32", "33", "34",
    "35", "36", "37", "38", "39", "40", "41", "42", "43", "44", "45", "77", "170",
    // calibration and the region hint
    "46", "47", "48", "49", "50", "51", "52", "53", "54", "150",
    // About
    "55", "56", "57", "78", "80", "81", "82",
    // Diagnostics
    "58", "59", "60", "61", "160", "161",
    // Properties
    "62", "63", "64", "65", "66", "67", "68", "69", "75", "76",
    // re-fitted calibrations (the console's -r lines, the list's reasons)
    "180", "181", "182", "183", "184", "185", "186", "187", "188", "189"};

constexpr std::size_t kMaxTextLength = 511; // the lookup reads into 512 wide characters

std::vector<unsigned char> ReadLanguageFile(const std::string& name = "1033.ini")
{
    std::ifstream in(PELNO_SOURCE_DIR "/res/Language/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::u16string Trim(const std::u16string& s)
{
    const auto first = s.find_first_not_of(u" \t");
    if (first == std::u16string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(u" \t") - first + 1);
}

// Splits UTF-16LE text (after the byte-order mark) into lines; false on an odd byte count, a broken
// surrogate pair or a line break other than CR LF.
bool DecodeLines(const std::vector<unsigned char>& bytes, std::vector<std::u16string>& lines)
{
    if (bytes.size() % 2 != 0)
        return false;
    std::u16string text;
    for (std::size_t i = 2; i < bytes.size(); i += 2)
        text += static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8);
    std::u16string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 == text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF)
                return false;
            line += c;
            line += text[++i];
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            return false;
        } else if (c == u'\r') {
            if (i + 1 == text.size() || text[i + 1] != u'\n')
                return false;
            lines.push_back(line);
            line.clear();
            ++i;
        } else if (c == u'\n') {
            return false;
        } else {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return true;
}

std::u16string Widen(const char* s) { return std::u16string(s, s + std::char_traits<char>::length(s)); }

// For failure messages only; the keys and section names are ASCII.
std::string Narrow(const std::u16string& s)
{
    std::string out;
    for (char16_t c : s)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

using LanguageTexts = std::map<std::u16string, std::u16string>;

// Reads one language file as the profile functions see it; a fatal failure names what is wrong.
void ParseLanguageFile(const std::string& name, LanguageTexts& texts)
{
    SCOPED_TRACE(name);
    const std::vector<unsigned char> bytes = ReadLanguageFile(name);
    ASSERT_GE(bytes.size(), 2u) << "res/Language/" << name << " is missing or empty";
    ASSERT_EQ(bytes[0], 0xFF);
    ASSERT_EQ(bytes[1], 0xFE);
    std::vector<std::u16string> lines;
    ASSERT_TRUE(DecodeLines(bytes, lines)) << "not UTF-16LE text with CR LF line ends";

    int sections = 0;
    bool inLanguage = false;
    for (const std::u16string& raw : lines) {
        const std::u16string line = Trim(raw);
        if (line.empty() || line[0] == u';')
            continue;
        if (line[0] == u'[') {
            ++sections;
            inLanguage = line == u"[Language]";
            EXPECT_TRUE(inLanguage) << "unexpected section line " << Narrow(line);
            continue;
        }
        ASSERT_TRUE(inLanguage) << "entry outside the Language section";
        const auto eq = line.find(u'=');
        ASSERT_NE(eq, std::u16string::npos) << "line without '='";
        const std::u16string key = Trim(line.substr(0, eq));
        std::u16string value = Trim(line.substr(eq + 1));
        // The profile functions drop one pair of enclosing quotes; they keep a trailing blank.
        if (value.size() >= 2 && value.front() == u'"' && value.back() == u'"')
            value = value.substr(1, value.size() - 2);
        ASSERT_FALSE(key.empty());
        EXPECT_EQ(key.find_first_not_of(u"0123456789"), std::u16string::npos)
            << "key is not a decimal number: " << Narrow(key);
        EXPECT_TRUE(texts.emplace(key, value).second) << "key appears twice: " << Narrow(key);
    }
    EXPECT_EQ(sections, 1);
}

// The format directives of a text (%d, %s, %ls ...), in order: a translation must take the same
// arguments in the same order.
std::vector<std::u16string> FormatDirectives(const std::u16string& text)
{
    std::vector<std::u16string> directives;
    for (std::size_t i = text.find(u'%'); i != std::u16string::npos; i = text.find(u'%', i)) {
        std::size_t end = text.find_first_of(u"%cdilsuxX", i + 1);
        if (end == std::u16string::npos)
            end = text.size() - 1;
        directives.push_back(text.substr(i, end - i + 1));
        i = end + 1;
    }
    return directives;
}

} // namespace

TEST(LanguageFile, IsUtf16WithOneLanguageSectionOfUniqueDecimalKeys)
{
    LanguageTexts texts;
    ASSERT_NO_FATAL_FAILURE(ParseLanguageFile("1033.ini", texts));

    for (const char* key : kKeysInUse) {
        const auto it = texts.find(Widen(key));
        if (it == texts.end()) {
            ADD_FAILURE() << "no text for key " << key;
            continue;
        }
        EXPECT_FALSE(it->second.empty()) << "empty text for key " << key;
    }
    for (const auto& [key, text] : texts)
        EXPECT_LE(text.size(), kMaxTextLength) << "text of key " << Narrow(key) << " would be cut";

    // A second start finds the running window by this exact title.
    EXPECT_EQ(texts[u"79"], u"TouchScreen Control Panel");
    // The list's group box text ends in a blank, which survives only inside quotes.
    EXPECT_EQ(texts[u"9"], u"TouchScreen List ");
}

TEST(LanguageFile, ChineseAndJapaneseHoldEveryEnglishKeyAndNoOther)
{
    LanguageTexts english;
    ASSERT_NO_FATAL_FAILURE(ParseLanguageFile("1033.ini", english));
    for (const char* name : {"2052.ini", "1041.ini"}) {
        SCOPED_TRACE(name);
        LanguageTexts translated;
        ASSERT_NO_FATAL_FAILURE(ParseLanguageFile(name, translated));
        for (const auto& [key, text] : english) {
            const auto it = translated.find(key);
            if (it == translated.end()) {
                ADD_FAILURE() << "no text for key " << Narrow(key);
                continue;
            }
            EXPECT_FALSE(it->second.empty()) << "empty text for key " << Narrow(key);
            EXPECT_LE(it->second.size(), kMaxTextLength) << "text of key " << Narrow(key) << " would be cut";
            EXPECT_EQ(FormatDirectives(it->second), FormatDirectives(text))
                << "key " << Narrow(key) << " takes other arguments";
            // A trailing blank (the list's group box) is part of the layout in every language.
            EXPECT_EQ(!it->second.empty() && it->second.back() == u' ', !text.empty() && text.back() == u' ')
                << "key " << Narrow(key) << " differs in its trailing blank";
        }
        for (const auto& entry : translated)
            EXPECT_TRUE(english.count(entry.first)) << "key " << Narrow(entry.first) << " is not in 1033.ini";
    }
}
