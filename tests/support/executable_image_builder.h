#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

// Small but well-formed program files for tests of readers of program files.

struct PeImageOptions {
    bool pe32Plus = false;              // PE32+ (64-bit) instead of PE32
    bool withResources = true;          // false: no .rsrc section and no resource directory
    bool withVersion = true;            // false: the resources hold only an RCDATA entry
    std::vector<uint8_t> versionBlock;  // contents of the version resource
};

struct PeImage {
    std::vector<uint8_t> bytes;
    size_t blockOffset = 0;      // file offset of the version resource's data
    size_t dataEntryOffset = 0;  // file offset of its resource data entry (RVA, size)
};

// A PE file with a .text section and a .rsrc section whose resource tree holds an RCDATA
// entry and, when asked, the version resource (type 16, name 1, language 0x0409).
PeImage BuildPeImage(const PeImageOptions& options);

// A little-endian ELF file (32- or 64-bit) with a .text section, a section called
// sectionName holding `contents`, and the section name table.
std::vector<uint8_t> BuildElfImage(bool elf64, std::span<const uint8_t> contents,
                                   std::string_view sectionName = ".versioninfo");

// Little-endian stores into a byte vector, growing it as needed.
void Poke16(std::vector<uint8_t>& bytes, size_t offset, uint16_t value);
void Poke32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value);
void Poke64(std::vector<uint8_t>& bytes, size_t offset, uint64_t value);
