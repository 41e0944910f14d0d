#pragma once
// Reading firmware files: numbers of at most two hexadecimal digits (either
// case), separated by any white space or by nothing, one byte each. Reading
// ends without an error at the end of the text or at the first text that is
// not a hexadecimal digit, so "0A1B 2c" gives 0x0A 0x1B 0x2C and "0A zz 1B"
// gives 0x0A alone.

#include <cstddef>
#include <cstdint>
#include <istream>
#include <vector>

enum class HexReadResult {
    Complete, // the text ended, or stopped being hex
    TooLong,  // more than the limit of bytes: the bytes hold the first `limit`
};

// Appends the bytes of the text to `bytes`, at most `limit` of them.
HexReadResult ReadHexBytes(std::istream& text, std::vector<std::uint8_t>& bytes, std::size_t limit);
