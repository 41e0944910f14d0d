// Reading firmware files: the hex text, the CRC, the console file's checks
// and the dialog's file.

#include "update/FirmwareFile.h"
#include "FirmwareMaker.h"
#include "update/Crc16Arc.h"
#include "update/HexText.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Hex(const std::string& text, std::size_t limit = kFirmwareImageCapacity,
          HexReadResult expected = HexReadResult::Complete)
{
    std::istringstream in(text);
    Bytes bytes;
    EXPECT_EQ(ReadHexBytes(in, bytes, limit), expected) << text;
    return bytes;
}

ConsoleFirmware Checked(Bytes bytes, bool expectReady)
{
    ConsoleFirmware firmware;
    firmware.image.bytes = std::move(bytes);
    EXPECT_EQ(CheckConsoleFirmware(firmware), expectReady);
    return firmware;
}

// A console file's bytes with a correct CRC over whatever precedes it.
Bytes WithCrc(Bytes bytes)
{
    std::uint16_t crc = FirmwareCrc(bytes);
    bytes.push_back(static_cast<std::uint8_t>(crc >> 8));
    bytes.push_back(static_cast<std::uint8_t>(crc));
    return bytes;
}

Bytes HeaderWithSize(std::uint32_t size)
{
    Bytes header(16, 0x5A);
    for (int shift = 24; shift >= 0; shift -= 8)
        header.push_back(static_cast<std::uint8_t>(size >> shift));
    return header;
}

class TempFile {
public:
    explicit TempFile(const std::string& name, const std::string& content = {})
        : m_path(std::filesystem::temp_directory_path() / ("pelno_fw_" + name))
    {
        std::ofstream(m_path, std::ios::binary) << content;
    }
    ~TempFile() { std::filesystem::remove(m_path); }
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

} // namespace

TEST(HexText, TwoDigitNumbersInEitherCaseWithAnyWhiteSpace)
{
    EXPECT_EQ(Hex("0A1B 2c"), (Bytes{0x0A, 0x1B, 0x2C}));
    EXPECT_EQ(Hex("ff FF fF"), (Bytes{0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(Hex(" \t01\r\n02\n\n\t 03  "), (Bytes{1, 2, 3}));
    // One digit alone is a number; blanks end a number.
    EXPECT_EQ(Hex("abc"), (Bytes{0xAB, 0x0C}));
    EXPECT_EQ(Hex("A B\t1"), (Bytes{0x0A, 0x0B, 0x01}));
    EXPECT_TRUE(Hex("").empty());
    EXPECT_TRUE(Hex(" \r\n ").empty());
}

TEST(HexText, ReadingStopsAtTheFirstTextThatIsNotHex)
{
    EXPECT_EQ(Hex("0A 1B zz 2C"), (Bytes{0x0A, 0x1B}));
    EXPECT_EQ(Hex("0A1Bg2C"), (Bytes{0x0A, 0x1B}));
    EXPECT_EQ(Hex("12,34"), (Bytes{0x12}));
    EXPECT_TRUE(Hex("-1 02").empty());
}

TEST(HexText, MoreBytesThanTheLimitIsReported)
{
    EXPECT_EQ(Hex("01 02 03", 3), (Bytes{1, 2, 3}));
    EXPECT_EQ(Hex("01 02 03 04", 3, HexReadResult::TooLong), (Bytes{1, 2, 3}));
    EXPECT_EQ(Hex("01 02 03 zz 04", 3), (Bytes{1, 2, 3}));
}

TEST(FirmwareCrc, CheckValueOfBothImplementations)
{
    const std::string digits = "123456789";
    Bytes bytes(digits.begin(), digits.end());
    EXPECT_EQ(Crc16Arc(bytes), 0xBB3D);
    EXPECT_EQ(FirmwareCrc(bytes), 0xBB3D);
    EXPECT_EQ(Crc16Arc({}), 0);
    Bytes random = {0x00, 0xFF, 0x80, 0x01, 0x7E, 0x51, 0x41};
    EXPECT_EQ(Crc16Arc(random), FirmwareCrc(random));
}

TEST(ConsoleFirmware, AWellFormedFileGivesItsHeaderAndPayload)
{
    FirmwareHeader header{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    FirmwareRecords records = {{0xA1, 0xA2, 0xA3}, {}, Bytes(60, 0x77)};
    ConsoleFirmware firmware = Checked(MakeConsoleFirmware(header, records), true);
    EXPECT_EQ(firmware.payloadSize, 5u + 2 + 62);
    EXPECT_EQ(Bytes(firmware.header.begin(), firmware.header.begin() + 16), Bytes(header.begin(), header.end()));
    EXPECT_EQ(Bytes(firmware.header.begin() + 16, firmware.header.end()), (Bytes{0, 0, 0, 69}));
    auto payload = firmware.Payload();
    EXPECT_EQ(Bytes(payload.begin(), payload.end()), MakeRecordSequence(records));

    // An empty payload is a valid file.
    EXPECT_EQ(Checked(MakeConsoleFirmware(header, {}), true).Payload().size(), 0u);
}

TEST(ConsoleFirmware, AnyChangedByteIsRejected)
{
    Bytes good = MakeConsoleFirmware({}, {{1, 2, 3, 4}, {5, 6}});
    for (std::size_t i = 0; i < good.size(); ++i) {
        Bytes bad = good;
        bad[i] ^= 0x10;
        Checked(bad, false);
    }
}

TEST(ConsoleFirmware, SizesThatDoNotAddUpAreRejected)
{
    // Shorter than header and CRC, whatever the CRC says.
    Checked(Bytes{}, false);
    Checked(WithCrc({}), false);
    Checked(WithCrc(Bytes(19, 0)), false);
    Checked(WithCrc(HeaderWithSize(0)), true);

    // An announced payload larger than the bytes between header and CRC.
    Bytes record = {0x00, 0x02, 0xAB, 0xCD};
    Bytes bytes = HeaderWithSize(5);
    bytes.insert(bytes.end(), record.begin(), record.end());
    Checked(WithCrc(bytes), false);
    bytes = HeaderWithSize(0xFFFFFFFF);
    bytes.insert(bytes.end(), record.begin(), record.end());
    Checked(WithCrc(bytes), false);

    // Records running past the payload: a length cut in half, or a record longer than what is left.
    for (Bytes payload : {Bytes{0x00, 0x02, 0xAB, 0xCD, 0x00}, Bytes{0x00, 0x05, 0xAB, 0xCD}}) {
        bytes = HeaderWithSize(static_cast<std::uint32_t>(payload.size()));
        bytes.insert(bytes.end(), payload.begin(), payload.end());
        Checked(WithCrc(bytes), false);
    }

    // Bytes after the payload and before the CRC are allowed.
    bytes = HeaderWithSize(4);
    bytes.insert(bytes.end(), record.begin(), record.end());
    bytes.insert(bytes.end(), {0xEE, 0xEE});
    EXPECT_EQ(Checked(WithCrc(bytes), true).payloadSize, 4u);
}

TEST(ConsoleFirmware, FilesAreFoundOpenedAndDecoded)
{
    ConsoleFirmware firmware;
    EXPECT_EQ(ReadConsoleFirmware(std::filesystem::temp_directory_path() / "pelno_fw_none.bin", firmware),
              FirmwareFileStatus::Missing);
    EXPECT_EQ(ReadConsoleFirmware(std::filesystem::temp_directory_path(), firmware), FirmwareFileStatus::CannotOpen);

    FirmwareRecords records = {{1, 2, 3}, {4, 5}};
    std::string text = ToHexText(MakeConsoleFirmware({}, records));
    TempFile good("good.bin", text);
    ASSERT_EQ(ReadConsoleFirmware(good.Path(), firmware), FirmwareFileStatus::Ready);
    EXPECT_EQ(firmware.payloadSize, 9u);

    // Text that stops being hex early leaves the bytes before it: the CRC then fails.
    TempFile cut("cut.bin", text.substr(0, text.size() - 6) + " end of file" + text.substr(text.size() - 6));
    EXPECT_EQ(ReadConsoleFirmware(cut.Path(), firmware), FirmwareFileStatus::Damaged);
    TempFile empty("empty.bin");
    EXPECT_EQ(ReadConsoleFirmware(empty.Path(), firmware), FirmwareFileStatus::Damaged);
}

TEST(ConsoleFirmware, ContentBeyondTheImageIsRejected)
{
    ConsoleFirmware firmware;
    auto largest = FillRecords(kFirmwareImageCapacity - 22, 1000, 7);
    ASSERT_TRUE(largest);
    TempFile full("full.bin", ToHexText(MakeConsoleFirmware({}, *largest)));
    EXPECT_EQ(ReadConsoleFirmware(full.Path(), firmware), FirmwareFileStatus::Ready);
    EXPECT_EQ(firmware.image.bytes.size(), kFirmwareImageCapacity);

    auto larger = FillRecords(kFirmwareImageCapacity - 21, 1000, 7);
    ASSERT_TRUE(larger);
    TempFile over("over.bin", ToHexText(MakeConsoleFirmware({}, *larger)));
    EXPECT_EQ(ReadConsoleFirmware(over.Path(), firmware), FirmwareFileStatus::Damaged);
}

TEST(DialogFirmware, TheWholeFileIsTheRecordSequenceWithoutAnyCheck)
{
    FirmwareImage image;
    image.bytes = {9, 9};
    EXPECT_FALSE(LoadDialogFirmware(image, std::filesystem::temp_directory_path() / "pelno_fw_no_kolvane"));

    TempFile empty("kolvane_empty");
    ASSERT_TRUE(LoadDialogFirmware(image, empty.Path()));
    EXPECT_TRUE(image.bytes.empty());

    TempFile some("kolvane", "00 03 41 42 43\r\n00 00 zz 01");
    ASSERT_TRUE(LoadDialogFirmware(image, some.Path()));
    EXPECT_EQ(image.bytes, (Bytes{0, 3, 0x41, 0x42, 0x43, 0, 0}));

    TempFile over("kolvane_over", std::string(2 * kFirmwareImageCapacity + 2, '7'));
    EXPECT_FALSE(LoadDialogFirmware(image, over.Path()));
}

TEST(FirmwareMaker, RecordListsAndFilledPayloads)
{
    std::istringstream list("0A 1B 2c\n\n# comment\n-\n  00112233  \n");
    std::string error;
    auto records = ParseRecordList(list, error);
    ASSERT_TRUE(records) << error;
    EXPECT_EQ(*records, (FirmwareRecords{{0x0A, 0x1B, 0x2C}, {}, {0x00, 0x11, 0x22, 0x33}}));
    std::istringstream bad("0A 1B\n0A zz\n");
    EXPECT_FALSE(ParseRecordList(bad, error));
    EXPECT_EQ(error.rfind("line 2:", 0), 0u) << error;

    // Filled payloads have exactly the size asked for, whatever is left for the last record.
    for (std::size_t size : {0, 2, 3, 1000, 1025, 1026, 262122}) {
        auto filled = FillRecords(size, 1022, 1);
        ASSERT_TRUE(filled) << size;
        EXPECT_EQ(MakeRecordSequence(*filled).size(), size);
        for (const FirmwareRecord& record : *filled)
            EXPECT_LE(record.size(), 1022u);
    }
    EXPECT_FALSE(FillRecords(1, 1022, 1));
    EXPECT_EQ(ConsoleFrameCount(*FillRecords(262122, 1022, 1)), 5632u);
}
