#include "update/HexText.h"

namespace {

int HexDigitValue(int c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool IsBlank(int c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

} // namespace

HexReadResult ReadHexBytes(std::istream& text, std::vector<std::uint8_t>& bytes, std::size_t limit)
{
    std::streambuf* in = text.rdbuf();
    if (!in)
        return HexReadResult::Complete;
    constexpr int kEnd = std::char_traits<char>::eof();
    std::size_t read = 0;
    for (;;) {
        int c = in->sgetc();
        while (c != kEnd && IsBlank(c))
            c = in->snextc();
        int high = c == kEnd ? -1 : HexDigitValue(c);
        if (high < 0)
            return HexReadResult::Complete;
        int value = high;
        c = in->snextc();
        if (int low = c == kEnd ? -1 : HexDigitValue(c); low >= 0) {
            value = high * 16 + low;
            in->sbumpc();
        }
        if (read == limit)
            return HexReadResult::TooLong;
        bytes.push_back(static_cast<std::uint8_t>(value));
        ++read;
    }
}
