#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Builds version information blocks in the VS_VERSIONINFO layout. A block is a tree of
// nodes; every node starts on a 4-byte boundary of the block and is
//   uint16 wLength       bytes of the node: header, key, padding, value and children
//                        (padding after the node's last byte is not counted)
//   uint16 wValueLength  bytes of a binary value, characters (terminating 0 included) of a text
//   uint16 wType         0 binary value, 1 text value
//   UTF-16LE key, zero-ended, then zero padding to a 4-byte boundary
//   value, then zero padding to a 4-byte boundary
//   children
// The tree this builder makes:
//   "VS_VERSION_INFO"  value: the 52-byte fixed file information
//     "StringFileInfo"
//       "%04X%04X" of language and code page, e.g. "040904E4"
//         one text node per string entry, e.g. "FileVersion" = "0.3.6.340"
//     "VarFileInfo"
//       "Translation"  value: uint16 language, uint16 code page

// One entry of the string table; key and value are Windows-1252 text.
struct VersionStringEntry {
    std::string key;
    std::string value;
};

// The fixed file information's fields, in their order (13 little-endian uint32 values).
inline constexpr uint32_t kFixedFileInfoSignature = 0xFEEF04BD;
inline constexpr size_t kFixedFileInfoSize = 52;

// The program's own version information.
inline constexpr std::string_view kProgramFileVersion = "0.3.6.340";
inline constexpr std::string_view kProgramProductName = "Velmora";
inline constexpr uint16_t kProgramLanguageId = 0x0409;
inline constexpr uint16_t kProgramCodePage = 1252;

// Splits a version text such as "0.3.6.340" into its four numbers. Missing or unreadable
// numbers are 0; numbers above 65535 are cut to 65535.
std::array<uint16_t, 4> ParseVersionNumbers(std::string_view versionText);

// Builds a block whose fixed file information carries fileVersion as both file and product
// version, whose one string table is keyed by languageId and codePage and holds the entries
// in the given order, and whose translation list is {languageId, codePage}. Empty when a
// node would exceed the 65535 bytes its length field can count.
std::vector<uint8_t> BuildVersionBlock(std::string_view fileVersion, uint16_t languageId,
                                       uint16_t codePage,
                                       std::span<const VersionStringEntry> strings);

// The program's block: file version "0.3.6.340", language 0x0409, code page 1252, product
// name "Velmora".
std::vector<uint8_t> BuildProgramVersionBlock();
