#pragma once

#include <cstdint>

// The record signatures, methods and extra-field tags of the ZIP format that the writer and the
// reader both use.
inline constexpr uint32_t kZipLocalSignature = 0x04034b50;
inline constexpr uint32_t kZipCentralSignature = 0x02014b50;
inline constexpr uint32_t kZipEndSignature = 0x06054b50;
inline constexpr uint32_t kZip64EndSignature = 0x06064b50;
inline constexpr uint32_t kZip64LocatorSignature = 0x07064b50;
inline constexpr uint16_t kZipMethodStored = 0;
inline constexpr uint16_t kZipMethodDeflated = 8;
inline constexpr uint16_t kZipExtendedTimeTag = 0x5455;  // "UT": modification, access, creation times
