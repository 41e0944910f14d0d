// make-firmware: writes a firmware file as hex text from a list of records.
// See `make-firmware --help`.

#include "FirmwareMaker.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>

namespace {

const char kUsage[] = "usage: make-firmware [options] [RECORDS]\n"
                      "Writes a console firmware file (the -u command's): 16 header bytes, the payload size,\n"
                      "the records and their CRC, as hex text. RECORDS holds one record a line as hex\n"
                      "bytes (# comments, - for an empty record); standard input when not given.\n"
                      "  --dialog            write the update dialog's file instead: the records alone\n"
                      "  --header HEX        the 16 header bytes as 32 hex digits (default all zero)\n"
                      "  --fill SIZE,LENGTH  no record list: pseudo-random records of LENGTH bytes filling a\n"
                      "                      payload of SIZE bytes (the last record shorter)\n"
                      "  --seed N            seed of --fill (default 1)\n"
                      "  -o FILE             write to FILE instead of standard output\n"
                      "A summary (records, payload, file size, console frames) goes to standard error.\n";

int Fail(const std::string& message)
{
    std::cerr << "make-firmware: " << message << "\n";
    return 2;
}

bool ParseHeader(const char* text, FirmwareHeader& header)
{
    if (std::strlen(text) != 32)
        return false;
    for (int i = 0; i < 16; ++i) {
        char pair[3] = {text[2 * i], text[2 * i + 1], 0};
        char* end = nullptr;
        header[i] = static_cast<std::uint8_t>(std::strtoul(pair, &end, 16));
        if (*end != 0)
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    bool dialog = false;
    FirmwareHeader header{};
    const char* fill = nullptr;
    std::uint32_t seed = 1;
    const char* output = nullptr;
    const char* input = nullptr;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        } else if (arg == "--dialog") {
            dialog = true;
        } else if (arg == "--header" && hasValue) {
            if (!ParseHeader(argv[++i], header))
                return Fail("--header takes 32 hex digits");
        } else if (arg == "--fill" && hasValue) {
            fill = argv[++i];
        } else if (arg == "--seed" && hasValue) {
            seed = static_cast<std::uint32_t>(std::strtoul(argv[++i], nullptr, 10));
        } else if (arg == "-o" && hasValue) {
            output = argv[++i];
        } else if (arg[0] != '-' && !input) {
            input = argv[i];
        } else {
            std::cerr << kUsage;
            return 2;
        }
    }

    std::optional<FirmwareRecords> records;
    if (fill) {
        unsigned long size = 0, length = 0;
        if (std::sscanf(fill, "%lu,%lu", &size, &length) != 2)
            return Fail("--fill takes SIZE,LENGTH");
        records = FillRecords(size, length, seed);
        if (!records)
            return Fail("no record sequence is that long (or LENGTH exceeds 65535)");
    } else {
        std::string error;
        if (input) {
            std::ifstream in(input);
            if (!in)
                return Fail(std::string("cannot read ") + input);
            records = ParseRecordList(in, error);
        } else {
            records = ParseRecordList(std::cin, error);
        }
        if (!records)
            return Fail(error);
    }

    std::vector<std::uint8_t> bytes = dialog ? MakeRecordSequence(*records) : MakeConsoleFirmware(header, *records);
    std::string text = ToHexText(bytes);
    if (output) {
        std::ofstream out(output, std::ios::binary);
        out << text;
        if (!out)
            return Fail(std::string("cannot write ") + output);
    } else {
        std::cout << text;
    }
    std::size_t payload = MakeRecordSequence(*records).size();
    std::cerr << records->size() << " records, payload " << payload << " bytes, file " << bytes.size()
              << " bytes decoded, " << ConsoleFrameCount(*records) << " console frames\n";
    if (bytes.size() > 262144)
        std::cerr << "make-firmware: warning: more than 262144 bytes, the program rejects the file\n";
    return 0;
}
