#include "update/FirmwareFile.h"

#include "update/Crc16Arc.h"
#include "update/HexText.h"

#include <algorithm>
#include <fstream>
#include <system_error>

const wchar_t kDialogFirmwarePath[] = L"update\\kolvane";

namespace {

// Opens a file for reading its hex text; directories do not count.
bool OpenForReading(const std::filesystem::path& path, std::ifstream& in)
{
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        return false;
    in.open(path, std::ios::binary);
    return in.is_open();
}

std::uint32_t BigEndian32(const std::uint8_t* bytes)
{
    return std::uint32_t(bytes[0]) << 24 | std::uint32_t(bytes[1]) << 16 | std::uint32_t(bytes[2]) << 8 | bytes[3];
}

} // namespace

bool CheckConsoleFirmware(ConsoleFirmware& firmware)
{
    const std::vector<std::uint8_t>& bytes = firmware.image.bytes;
    const std::size_t n = bytes.size();
    if (n < kFirmwareHeaderSize + kFirmwareCrcSize)
        return false;
    const std::uint16_t stored = static_cast<std::uint16_t>(bytes[n - 2] << 8 | bytes[n - 1]);
    if (Crc16Arc(FirmwarePayload(bytes).first(n - kFirmwareCrcSize)) != stored)
        return false;
    const std::uint32_t payloadSize = BigEndian32(bytes.data() + 16);
    if (payloadSize > n - kFirmwareHeaderSize - kFirmwareCrcSize)
        return false;
    if (!RecordsFillPayload(FirmwarePayload(bytes).subspan(kFirmwareHeaderSize, payloadSize)))
        return false;
    std::copy(bytes.begin(), bytes.begin() + kFirmwareHeaderSize, firmware.header.begin());
    firmware.payloadSize = payloadSize;
    return true;
}

FirmwareFileStatus ReadConsoleFirmware(const std::filesystem::path& path, ConsoleFirmware& firmware)
{
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        return FirmwareFileStatus::Missing;
    std::ifstream in;
    if (!OpenForReading(path, in))
        return FirmwareFileStatus::CannotOpen;
    firmware = ConsoleFirmware{};
    if (ReadHexBytes(in, firmware.image.bytes, kFirmwareImageCapacity) == HexReadResult::TooLong)
        return FirmwareFileStatus::Damaged;
    return CheckConsoleFirmware(firmware) ? FirmwareFileStatus::Ready : FirmwareFileStatus::Damaged;
}

bool LoadDialogFirmware(FirmwareImage& image, const std::filesystem::path& path)
{
    std::ifstream in;
    if (!OpenForReading(path, in))
        return false;
    image.bytes.clear();
    return ReadHexBytes(in, image.bytes, kFirmwareImageCapacity) == HexReadResult::Complete;
}
