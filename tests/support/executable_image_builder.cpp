#include "support/executable_image_builder.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

constexpr uint32_t kSectionAlignment = 0x1000;
constexpr uint32_t kFileAlignment = 0x200;

size_t RoundUp(size_t value, size_t alignment) {
    return (value + alignment - 1) / alignment * alignment;
}

void PokeBytes(std::vector<uint8_t>& bytes, size_t offset, std::span<const uint8_t> data) {
    if (bytes.size() < offset + data.size()) {
        bytes.resize(offset + data.size());
    }
    std::copy(data.begin(), data.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
}

void PokeText(std::vector<uint8_t>& bytes, size_t offset, std::string_view text) {
    PokeBytes(bytes, offset, {reinterpret_cast<const uint8_t*>(text.data()), text.size()});
}

// A resource directory with one numbered entry at `offset` of the section.
void PokeDirectory(std::vector<uint8_t>& rsrc, size_t offset, uint32_t id, uint32_t target) {
    Poke32(rsrc, offset + 12, uint32_t{1} << 16);  // no named entries, one numbered entry
    Poke32(rsrc, offset + 16, id);
    Poke32(rsrc, offset + 20, target);
}

}  // namespace

void Poke16(std::vector<uint8_t>& bytes, size_t offset, uint16_t value) {
    const uint8_t data[] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
    PokeBytes(bytes, offset, data);
}

void Poke32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value) {
    Poke16(bytes, offset, static_cast<uint16_t>(value));
    Poke16(bytes, offset + 2, static_cast<uint16_t>(value >> 16));
}

void Poke64(std::vector<uint8_t>& bytes, size_t offset, uint64_t value) {
    Poke32(bytes, offset, static_cast<uint32_t>(value));
    Poke32(bytes, offset + 4, static_cast<uint32_t>(value >> 32));
}

PeImage BuildPeImage(const PeImageOptions& options) {
    constexpr uint32_t kTextRva = 0x1000;
    constexpr uint32_t kRsrcRva = 0x2000;
    constexpr uint32_t kHighBit = 0x80000000u;
    const uint16_t sectionCount = options.withResources ? 2 : 1;

    // The .rsrc section: root directory (two types), per type a name and a language
    // directory, then the data entries, then the data.
    std::vector<uint8_t> rsrc;
    size_t blockInRsrc = 0;
    size_t dataEntryInRsrc = 0;
    if (options.withResources) {
        const uint32_t typeCount = options.withVersion ? 2 : 1;
        Poke32(rsrc, 12, typeCount << 16);
        const std::vector<uint8_t> rcdata = {'d', 'a', 't', 'a'};
        struct Resource {
            uint32_t type;
            std::span<const uint8_t> data;
        };
        std::vector<Resource> resources = {{10, rcdata}};
        if (options.withVersion) {
            resources.push_back({16, options.versionBlock});
        }
        size_t next = 16 + 8 * resources.size();
        size_t dataAt = next + resources.size() * (24 + 24 + 16);
        for (size_t i = 0; i < resources.size(); ++i) {
            const size_t names = next;
            const size_t languages = names + 24;
            const size_t entry = languages + 24;
            next = entry + 16;
            dataAt = RoundUp(dataAt, 4);
            Poke32(rsrc, 16 + 8 * i, resources[i].type);
            Poke32(rsrc, 16 + 8 * i + 4, kHighBit | static_cast<uint32_t>(names));
            PokeDirectory(rsrc, names, 1, kHighBit | static_cast<uint32_t>(languages));
            PokeDirectory(rsrc, languages, 0x0409, static_cast<uint32_t>(entry));
            Poke32(rsrc, entry, kRsrcRva + static_cast<uint32_t>(dataAt));
            Poke32(rsrc, entry + 4, static_cast<uint32_t>(resources[i].data.size()));
            PokeBytes(rsrc, dataAt, resources[i].data);
            if (resources[i].type == 16) {
                blockInRsrc = dataAt;
                dataEntryInRsrc = entry;
            }
            dataAt += resources[i].data.size();
        }
        rsrc.resize(RoundUp(std::max(rsrc.size(), dataAt), kFileAlignment));
    }

    PeImage image;
    std::vector<uint8_t>& out = image.bytes;
    // DOS header: the signature and the offset of the PE header.
    PokeText(out, 0, "MZ");
    Poke32(out, 0x3C, 0x40);
    PokeText(out, 0x40, std::string_view("PE\0\0", 4));

    const size_t coff = 0x44;
    const uint16_t optionalSize = options.pe32Plus ? 240 : 224;
    Poke16(out, coff, options.pe32Plus ? 0x8664 : 0x014C);
    Poke16(out, coff + 2, sectionCount);
    Poke16(out, coff + 16, optionalSize);
    // Executable without relocations; large-address-aware (PE32+) or 32-bit machine (PE32).
    Poke16(out, coff + 18, options.pe32Plus ? 0x0023 : 0x0103);

    const size_t opt = coff + 20;
    const uint32_t imageSize =
        options.withResources
            ? kRsrcRva + static_cast<uint32_t>(RoundUp(rsrc.size(), kSectionAlignment))
            : kRsrcRva;
    Poke16(out, opt, options.pe32Plus ? 0x20B : 0x10B);
    Poke32(out, opt + 4, kFileAlignment);                      // size of code
    Poke32(out, opt + 8, static_cast<uint32_t>(rsrc.size()));  // size of initialised data
    Poke32(out, opt + 16, kTextRva);                           // entry point
    Poke32(out, opt + 20, kTextRva);                           // base of code
    if (options.pe32Plus) {
        Poke64(out, opt + 24, 0x140000000ull);
    } else {
        Poke32(out, opt + 24, kRsrcRva);  // base of data
        Poke32(out, opt + 28, 0x400000);
    }
    Poke32(out, opt + 32, kSectionAlignment);
    Poke32(out, opt + 36, kFileAlignment);
    Poke16(out, opt + 40, 4);  // operating system version 4.0
    Poke16(out, opt + 48, 4);  // subsystem version 4.0
    Poke32(out, opt + 56, imageSize);
    Poke32(out, opt + 60, kFileAlignment);  // size of headers
    Poke16(out, opt + 68, 2);               // windowed subsystem
    const size_t stackAndHeap = opt + 72;
    for (size_t i = 0; i < 4; ++i) {  // stack and heap: reserve 1 MiB, commit 4 KiB
        const uint32_t amount = i % 2 == 0 ? 0x100000 : 0x1000;
        if (options.pe32Plus) {
            Poke64(out, stackAndHeap + 8 * i, amount);
        } else {
            Poke32(out, stackAndHeap + 4 * i, amount);
        }
    }
    const size_t directoryCount = options.pe32Plus ? opt + 108 : opt + 92;
    const size_t directories = directoryCount + 4;
    Poke32(out, directoryCount, 16);
    if (options.withResources) {
        Poke32(out, directories + 2 * 8, kRsrcRva);
        Poke32(out, directories + 2 * 8 + 4, static_cast<uint32_t>(rsrc.size()));
    }
    Poke32(out, directories + 15 * 8 + 4, 0);  // fills the table to its last entry

    const size_t sections = opt + optionalSize;
    PokeText(out, sections, ".text");
    Poke32(out, sections + 8, 1);  // virtual size
    Poke32(out, sections + 12, kTextRva);
    Poke32(out, sections + 16, kFileAlignment);
    Poke32(out, sections + 20, kFileAlignment);
    Poke32(out, sections + 36, 0x60000020);  // code, executable, readable
    const size_t rsrcFileOffset = 2 * kFileAlignment;
    if (options.withResources) {
        const size_t header = sections + 40;
        PokeText(out, header, ".rsrc");
        Poke32(out, header + 8, static_cast<uint32_t>(rsrc.size()));
        Poke32(out, header + 12, kRsrcRva);
        Poke32(out, header + 16, static_cast<uint32_t>(rsrc.size()));
        Poke32(out, header + 20, static_cast<uint32_t>(rsrcFileOffset));
        Poke32(out, header + 36, 0x40000040);  // initialised data, readable
    }
    out.resize(kFileAlignment);
    out.resize(2 * kFileAlignment);
    out[kFileAlignment] = 0xC3;  // the code: return
    PokeBytes(out, rsrcFileOffset, rsrc);
    image.blockOffset = rsrcFileOffset + blockInRsrc;
    image.dataEntryOffset = rsrcFileOffset + dataEntryInRsrc;
    return image;
}

std::vector<uint8_t> BuildElfImage(bool elf64, std::span<const uint8_t> contents,
                                   std::string_view sectionName) {
    const size_t headerSize = elf64 ? 64 : 52;
    const size_t entrySize = elf64 ? 64 : 40;

    std::string names(1, '\0');
    const auto addName = [&](std::string_view name) {
        const size_t at = names.size();
        names.append(name);
        names.push_back('\0');
        return static_cast<uint32_t>(at);
    };
    const uint32_t textName = addName(".text");
    const uint32_t blockName = addName(sectionName);
    const uint32_t namesName = addName(".shstrtab");

    std::vector<uint8_t> out;
    const uint8_t ident[] = {0x7F, 'E', 'L', 'F', uint8_t(elf64 ? 2 : 1), 1, 1};
    PokeBytes(out, 0, ident);
    Poke16(out, 16, 2);               // executable
    Poke16(out, 18, elf64 ? 62 : 3);  // x86-64 or i386
    Poke32(out, 20, 1);
    const size_t textAt = headerSize;
    const uint8_t code[] = {0xC3};
    PokeBytes(out, textAt, code);
    const size_t blockAt = RoundUp(out.size(), 4);
    PokeBytes(out, blockAt, contents);
    const size_t namesAt = out.size();
    PokeText(out, namesAt, names);
    const size_t table = RoundUp(out.size(), 8);

    struct Section {
        uint32_t name;
        uint32_t type;
        size_t offset;
        size_t size;
    };
    const Section sectionList[] = {{0, 0, 0, 0},
                                   {textName, 1, textAt, sizeof code},
                                   {blockName, 1, blockAt, contents.size()},
                                   {namesName, 3, namesAt, names.size()}};
    for (size_t i = 0; i < std::size(sectionList); ++i) {
        const Section& s = sectionList[i];
        const size_t at = table + i * entrySize;
        Poke32(out, at, s.name);
        Poke32(out, at + 4, s.type);
        if (elf64) {
            Poke64(out, at + 24, s.offset);
            Poke64(out, at + 32, s.size);
            Poke64(out, at + 48, 1);  // alignment
        } else {
            Poke32(out, at + 16, static_cast<uint32_t>(s.offset));
            Poke32(out, at + 20, static_cast<uint32_t>(s.size));
            Poke32(out, at + 32, 1);
        }
    }
    out.resize(table + std::size(sectionList) * entrySize);
    if (elf64) {
        Poke64(out, 0x28, table);
        Poke16(out, 0x34, static_cast<uint16_t>(headerSize));
        Poke16(out, 0x3A, static_cast<uint16_t>(entrySize));
        Poke16(out, 0x3C, std::size(sectionList));
        Poke16(out, 0x3E, 3);
    } else {
        Poke32(out, 0x20, static_cast<uint32_t>(table));
        Poke16(out, 0x28, static_cast<uint16_t>(headerSize));
        Poke16(out, 0x2E, static_cast<uint16_t>(entrySize));
        Poke16(out, 0x30, std::size(sectionList));
        Poke16(out, 0x32, 3);
    }
    return out;
}
