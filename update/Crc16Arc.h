#pragma once
// The checksum of console firmware files: CRC-16/ARC (polynomial 0x8005
// reflected as 0xA001, initial value 0, reflected in and out, no final
// exclusive-or). Its check value over the ASCII digits "123456789" is 0xBB3D.

#include <cstdint>
#include <span>

std::uint16_t Crc16Arc(std::span<const std::uint8_t> bytes);
