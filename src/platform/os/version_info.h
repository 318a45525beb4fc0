#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// Version information of a program file: the VS_VERSIONINFO block (layout in
// version_block.h) that a Windows PE file keeps as its version resource, or that a Linux ELF
// file keeps as the contents of its section ".versioninfo". Every reader here is bounded: a
// missing file, a file of another kind and a damaged image or block give "not found".
//
// How a caller reads a file version:
//   const uint32_t size = GetFileVersionInfoSize("tarrowind.exe");
//   std::vector<uint8_t> block(size);
//   GetFileVersionInfo("tarrowind.exe", block);
//   std::span<const uint8_t> value;
//   VerQueryValue(block, "\\VarFileInfo\\Translation", value);
//   const std::optional<VersionTranslation> first = FirstTranslation(value);
//   VerQueryString(block, "\\StringFileInfo\\040904E4\\FileVersion");  // "0.3.6.340"

// Size in bytes of the file's version information block (the block's own length field), or 0
// when the file is missing, is neither a PE nor an ELF image, has no version information or
// its block is damaged (shorter than it says, or not headed "VS_VERSION_INFO"). The path is
// found like every data file of the program (file_lookup.h): relative to the working
// directory, "\" separators allowed, letter case ignored where the exact name is absent.
uint32_t GetFileVersionInfoSize(const std::string& path);

// Copies the file's version information block into `block`, at most block.size() bytes (a
// shorter span gets the block's beginning). False when GetFileVersionInfoSize would be 0.
bool GetFileVersionInfo(const std::string& path, std::span<uint8_t> block);

// Finds the node that subBlock names and sets `value` to its value bytes inside `block`.
// subBlock is a path of node keys separated by "\" (letter case ignored):
//   "\"                             the 52-byte fixed file information
//   "\VarFileInfo\Translation"      an array of {uint16 language, uint16 code page}
//   "\StringFileInfo\%04X%04X\Key"  a string entry; its value is the raw UTF-16LE text
//                                   including its terminating 0 (use VerQueryString for text)
// True when the node exists, even if its value is empty; false when it does not or the block
// is damaged on the way to it.
bool VerQueryValue(std::span<const uint8_t> block, std::string_view subBlock,
                   std::span<const uint8_t>& value);

// The value of the node subBlock names (normally "\StringFileInfo\%04X%04X\Key"), read as
// UTF-16LE text up to its first 0 character and converted to Windows-1252 (characters the
// code page lacks become '?'). Nothing when the node is not found.
std::optional<std::string> VerQueryString(std::span<const uint8_t> block,
                                          std::string_view subBlock);

// One entry of the "\VarFileInfo\Translation" value.
struct VersionTranslation {
    uint16_t language = 0;
    uint16_t codePage = 0;
};

// The first entry of a "\VarFileInfo\Translation" value; nothing when it is shorter than 4
// bytes.
std::optional<VersionTranslation> FirstTranslation(std::span<const uint8_t> translationValue);

// Writes the language's name (Windows-1252, "English (United States)" for 0x0409) into
// buffer, cut to bufferSize - 1 characters and followed by a 0, and returns the number of
// characters written without the 0. Never writes more than bufferSize bytes. Returns 0 and
// writes nothing when the language is unknown or bufferSize is 0; with a null buffer it
// writes nothing and returns the full name's length.
uint32_t VerLanguageName(uint16_t languageId, char* buffer, uint32_t bufferSize);

// The version information block inside a PE or ELF file image held in memory, as a part of
// fileImage; nothing where GetFileVersionInfoSize would give 0.
std::optional<std::span<const uint8_t>> ExtractVersionBlock(std::span<const uint8_t> fileImage);
