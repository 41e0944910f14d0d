#pragma once
// The two firmware files. The console's file (the -u command) is a 16-byte
// header, the payload size P (big-endian, 4 bytes), P bytes of records and a
// CRC-16/ARC of everything before it (big-endian, 2 bytes). The dialog's
// file is the record sequence alone, with no header and no check.

#include "update/FirmwareImage.h"

#include <array>
#include <cstdint>
#include <filesystem>

constexpr std::size_t kFirmwareHeaderSize = 20; // 16 free bytes, then P
constexpr std::size_t kFirmwareCrcSize = 2;

enum class FirmwareFileStatus { Ready, Missing, CannotOpen, Damaged };

struct ConsoleFirmware {
    FirmwareImage image; // every byte decoded from the file
    std::array<std::uint8_t, kFirmwareHeaderSize> header{};
    std::uint32_t payloadSize = 0; // P
    // The records; empty until a file was checked.
    FirmwarePayload Payload() const
    {
        if (image.bytes.size() < kFirmwareHeaderSize + payloadSize)
            return {};
        return FirmwarePayload(image.bytes).subspan(kFirmwareHeaderSize, payloadSize);
    }
};

// Checks the decoded bytes of a console file and takes its header and
// payload size. False (damaged) when the file is shorter than header and
// CRC, the CRC does not match, P is larger than the bytes between header
// and CRC, or the records do not fill the payload exactly.
bool CheckConsoleFirmware(ConsoleFirmware& firmware);

// Reads and checks a console file.
FirmwareFileStatus ReadConsoleFirmware(const std::filesystem::path& path, ConsoleFirmware& firmware);

// The dialog's file, relative to the current directory.
extern const wchar_t kDialogFirmwarePath[];

// Reads the dialog's file whole into the image: true when it could be opened,
// whatever it held (possibly nothing); false when it cannot be opened or
// decodes to more than the image holds.
bool LoadDialogFirmware(FirmwareImage& image, const std::filesystem::path& path = kDialogFirmwarePath);
