#include "platform/os/version_info.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/os/file_lookup.h"
#include "platform/os/language_names.h"
#include "platform/os/windows_1252.h"

namespace {

// ---------------------------------------------------------------------------------------
// Random access to a file image, bounded by its size.

class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual uint64_t Size() const = 0;
    // Reads out.size() bytes at offset; false when they are not all inside the image.
    virtual bool Read(uint64_t offset, std::span<uint8_t> out) = 0;

    std::optional<uint16_t> Get16(uint64_t offset) {
        std::array<uint8_t, 2> b;
        if (!Read(offset, b)) {
            return std::nullopt;
        }
        return static_cast<uint16_t>(b[0] | (b[1] << 8));
    }

    std::optional<uint32_t> Get32(uint64_t offset) {
        std::array<uint8_t, 4> b;
        if (!Read(offset, b)) {
            return std::nullopt;
        }
        return uint32_t{b[0]} | (uint32_t{b[1]} << 8) | (uint32_t{b[2]} << 16) |
               (uint32_t{b[3]} << 24);
    }

    std::optional<uint64_t> Get64(uint64_t offset) {
        const auto low = Get32(offset);
        const auto high = offset <= UINT64_MAX - 4 ? Get32(offset + 4) : std::nullopt;
        if (!low || !high) {
            return std::nullopt;
        }
        return uint64_t{*low} | (uint64_t{*high} << 32);
    }

protected:
    bool InRange(uint64_t offset, uint64_t count) const {
        return offset <= Size() && count <= Size() - offset;
    }
};

class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::span<const uint8_t> image) : image_(image) {}
    uint64_t Size() const override { return image_.size(); }
    bool Read(uint64_t offset, std::span<uint8_t> out) override {
        if (!InRange(offset, out.size())) {
            return false;
        }
        std::memcpy(out.data(), image_.data() + offset, out.size());
        return true;
    }

private:
    std::span<const uint8_t> image_;
};

class FileSource final : public ByteSource {
public:
    explicit FileSource(const std::filesystem::path& path) {
        std::error_code error;
        if (!std::filesystem::is_regular_file(path, error)) {
            return;
        }
        const uintmax_t size = std::filesystem::file_size(path, error);
        if (error) {
            return;
        }
        file_.open(path, std::ios::binary);
        if (file_) {
            size_ = size;
        }
    }
    uint64_t Size() const override { return size_; }
    bool Read(uint64_t offset, std::span<uint8_t> out) override {
        if (!InRange(offset, out.size())) {
            return false;
        }
        file_.clear();
        file_.seekg(static_cast<std::streamoff>(offset));
        file_.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(out.size()));
        return file_.gcount() == static_cast<std::streamsize>(out.size());
    }

private:
    std::ifstream file_;
    uint64_t size_ = 0;
};

// ---------------------------------------------------------------------------------------
// Finding the block in a PE or an ELF image.

struct BlockLocation {
    uint64_t offset = 0;
    uint64_t size = 0;
};

constexpr uint32_t kHighBit = 0x80000000u;
constexpr uint32_t kVersionResourceType = 16;
constexpr uint32_t kResourceDirectoryIndex = 2;
constexpr size_t kSectionHeaderSize = 40;
constexpr size_t kResourceEntrySize = 8;

// A part of a PE file reached through a relative virtual address: where it starts in the
// file and how many bytes of its section follow in the file.
struct MappedRange {
    uint64_t offset = 0;
    uint64_t available = 0;
};

class PeReader {
public:
    explicit PeReader(ByteSource& source) : source_(source) {}

    std::optional<BlockLocation> Locate() {
        const auto magic = source_.Get16(0);
        const auto newHeader = source_.Get32(0x3C);
        if (!magic || *magic != 0x5A4D || !newHeader) {
            return std::nullopt;
        }
        const uint64_t peHeader = *newHeader;
        const auto signature = source_.Get32(peHeader);
        if (!signature || *signature != 0x00004550) {
            return std::nullopt;
        }
        const uint64_t coffHeader = peHeader + 4;
        const auto sectionCount = source_.Get16(coffHeader + 2);
        const auto optionalSize = source_.Get16(coffHeader + 16);
        const uint64_t optionalHeader = coffHeader + 20;
        const auto optionalMagic = source_.Get16(optionalHeader);
        if (!sectionCount || !optionalSize || !optionalMagic) {
            return std::nullopt;
        }
        uint64_t countField = 0;
        uint64_t directories = 0;
        if (*optionalMagic == 0x10B) {  // PE32
            countField = 92;
            directories = 96;
        } else if (*optionalMagic == 0x20B) {  // PE32+
            countField = 108;
            directories = 112;
        } else {
            return std::nullopt;
        }
        const uint64_t resourceEntry = directories + kResourceDirectoryIndex * 8;
        const auto directoryCount = source_.Get32(optionalHeader + countField);
        if (*optionalSize < resourceEntry + 8 || !directoryCount ||
            *directoryCount <= kResourceDirectoryIndex) {
            return std::nullopt;
        }
        const auto resourceRva = source_.Get32(optionalHeader + resourceEntry);
        if (!resourceRva || *resourceRva == 0) {
            return std::nullopt;
        }
        sectionTable_ = optionalHeader + *optionalSize;
        sectionCount_ = *sectionCount;

        const auto resources = Map(*resourceRva);
        if (!resources) {
            return std::nullopt;
        }
        resources_ = *resources;

        // Resource tree: type → name → language → data entry.
        const auto names = FindTypeDirectory(kVersionResourceType);
        const auto languages = names ? FirstEntry(*names, true) : std::nullopt;
        const auto dataEntry = languages ? FirstEntry(*languages, false) : std::nullopt;
        if (!dataEntry) {
            return std::nullopt;
        }
        const auto dataRva = Resource32(*dataEntry);
        const auto dataSize = Resource32(*dataEntry + 4);
        if (!dataRva || !dataSize) {
            return std::nullopt;
        }
        const auto data = Map(*dataRva);
        if (!data || *dataSize > data->available) {
            return std::nullopt;
        }
        return BlockLocation{data->offset, *dataSize};
    }

private:
    // Maps a relative virtual address to the file through the section holding it.
    std::optional<MappedRange> Map(uint32_t rva) {
        for (uint32_t i = 0; i < sectionCount_; ++i) {
            const uint64_t header = sectionTable_ + i * kSectionHeaderSize;
            const auto address = source_.Get32(header + 12);
            const auto rawSize = source_.Get32(header + 16);
            const auto rawOffset = source_.Get32(header + 20);
            if (!address || !rawSize || !rawOffset) {
                return std::nullopt;
            }
            if (rva < *address || rva - *address >= *rawSize) {
                continue;
            }
            const uint64_t offset = uint64_t{*rawOffset} + (rva - *address);
            if (offset >= source_.Size()) {
                return std::nullopt;
            }
            const uint64_t available =
                std::min<uint64_t>(*rawSize - (rva - *address), source_.Size() - offset);
            return MappedRange{offset, available};
        }
        return std::nullopt;
    }

    // A 32-bit value at an offset from the start of the resource directory, inside its section.
    std::optional<uint32_t> Resource32(uint64_t relative) {
        if (relative > resources_.available || resources_.available - relative < 4) {
            return std::nullopt;
        }
        return source_.Get32(resources_.offset + relative);
    }

    // Named and numbered entries of a directory together.
    std::optional<uint32_t> EntryCount(uint32_t directory) {
        const auto counts = Resource32(uint64_t{directory} + 12);
        if (!counts) {
            return std::nullopt;
        }
        return (*counts & 0xFFFF) + (*counts >> 16);
    }

    // The subdirectory of the numbered entry `type` of the root directory.
    std::optional<uint32_t> FindTypeDirectory(uint32_t type) {
        const auto counts = Resource32(12);
        if (!counts) {
            return std::nullopt;
        }
        const uint32_t named = *counts & 0xFFFF;
        const uint32_t total = named + (*counts >> 16);
        for (uint32_t i = named; i < total; ++i) {
            const uint64_t entry = 16 + uint64_t{i} * kResourceEntrySize;
            const auto id = Resource32(entry);
            const auto target = Resource32(entry + 4);
            if (!id || !target) {
                return std::nullopt;
            }
            if (*id == type) {
                return (*target & kHighBit) != 0 ? std::optional(*target & ~kHighBit)
                                                 : std::nullopt;
            }
        }
        return std::nullopt;
    }

    // The target of a directory's first entry: a subdirectory or a data entry as asked.
    std::optional<uint32_t> FirstEntry(uint32_t directory, bool wantDirectory) {
        const auto count = EntryCount(directory);
        if (!count || *count == 0) {
            return std::nullopt;
        }
        const auto target = Resource32(uint64_t{directory} + 16 + 4);
        if (!target || ((*target & kHighBit) != 0) != wantDirectory) {
            return std::nullopt;
        }
        return *target & ~kHighBit;
    }

    ByteSource& source_;
    uint64_t sectionTable_ = 0;
    uint32_t sectionCount_ = 0;
    MappedRange resources_;
};

std::optional<BlockLocation> LocateInElf(ByteSource& source) {
    std::array<uint8_t, 6> ident;
    if (!source.Read(0, ident) || ident[0] != 0x7F || ident[1] != 'E' || ident[2] != 'L' ||
        ident[3] != 'F' || ident[5] != 1) {
        return std::nullopt;
    }
    const bool wide = ident[4] == 2;
    if (!wide && ident[4] != 1) {
        return std::nullopt;
    }
    // Field offsets of the file header and of a section header for the 32- and 64-bit forms.
    const auto word = [&](uint64_t offset) -> std::optional<uint64_t> {
        if (wide) {
            return source.Get64(offset);
        }
        const auto value = source.Get32(offset);
        return value ? std::optional<uint64_t>(*value) : std::nullopt;
    };
    const auto tableOffset = word(wide ? 0x28 : 0x20);
    const auto entrySize = source.Get16(wide ? 0x3A : 0x2E);
    const auto countField = source.Get16(wide ? 0x3C : 0x30);
    const auto namesField = source.Get16(wide ? 0x3E : 0x32);
    const uint64_t minEntrySize = wide ? 64 : 40;
    if (!tableOffset || *tableOffset == 0 || !entrySize || *entrySize < minEntrySize ||
        !countField || !namesField) {
        return std::nullopt;
    }
    const uint64_t nameAt = 0;
    const uint64_t typeAt = 4;
    const uint64_t offsetAt = wide ? 24 : 16;
    const uint64_t sizeAt = wide ? 32 : 20;
    const uint64_t linkAt = wide ? 40 : 24;
    const auto header = [&](uint64_t index) { return *tableOffset + index * *entrySize; };

    // Files with 0xFF00 sections or more keep the count and the name table's index in
    // section 0.
    uint64_t count = *countField;
    uint64_t namesIndex = *namesField;
    if (count == 0) {
        const auto extended = word(header(0) + sizeAt);
        if (!extended) {
            return std::nullopt;
        }
        count = *extended;
    }
    if (namesIndex == 0xFFFF) {
        const auto extended = source.Get32(header(0) + linkAt);
        if (!extended) {
            return std::nullopt;
        }
        namesIndex = *extended;
    }
    if (*tableOffset > source.Size() || count > (source.Size() - *tableOffset) / *entrySize ||
        namesIndex >= count) {
        return std::nullopt;
    }
    const auto namesOffset = word(header(namesIndex) + offsetAt);
    const auto namesSize = word(header(namesIndex) + sizeAt);
    if (!namesOffset || !namesSize || *namesOffset > source.Size() ||
        *namesSize > source.Size() - *namesOffset) {
        return std::nullopt;
    }

    static constexpr char kSectionName[] = ".versioninfo";  // compared with its 0
    std::array<uint8_t, sizeof kSectionName> name;
    for (uint64_t i = 1; i < count; ++i) {
        const auto nameOffset = source.Get32(header(i) + nameAt);
        if (!nameOffset) {
            return std::nullopt;
        }
        if (*nameOffset >= *namesSize || *namesSize - *nameOffset < name.size() ||
            !source.Read(*namesOffset + *nameOffset, name) ||
            std::memcmp(name.data(), kSectionName, name.size()) != 0) {
            continue;
        }
        const auto type = source.Get32(header(i) + typeAt);
        const auto offset = word(header(i) + offsetAt);
        const auto size = word(header(i) + sizeAt);
        constexpr uint32_t kNoBits = 8;
        if (!type || *type == kNoBits || !offset || !size || *offset > source.Size() ||
            *size > source.Size() - *offset) {
            return std::nullopt;
        }
        return BlockLocation{*offset, *size};
    }
    return std::nullopt;
}

// The block inside the image, with its length taken from the block's own header, provided
// that header names the root node and the block fits its container.
std::optional<BlockLocation> LocateBlock(ByteSource& source) {
    auto location = PeReader(source).Locate();
    if (!location) {
        location = LocateInElf(source);
    }
    if (!location) {
        return std::nullopt;
    }
    static constexpr char16_t kRootKey[] = u"VS_VERSION_INFO";  // compared with its 0
    constexpr uint64_t kRootHeaderSize = 6 + sizeof kRootKey;
    std::array<uint8_t, kRootHeaderSize> head;
    if (location->size < kRootHeaderSize || !source.Read(location->offset, head)) {
        return std::nullopt;
    }
    const uint16_t length = static_cast<uint16_t>(head[0] | (head[1] << 8));
    if (length < kRootHeaderSize || length > location->size) {
        return std::nullopt;
    }
    for (size_t i = 0; i < std::size(kRootKey); ++i) {
        const char16_t unit = static_cast<char16_t>(head[6 + 2 * i] | (head[7 + 2 * i] << 8));
        if (unit != kRootKey[i]) {
            return std::nullopt;
        }
    }
    location->size = length;
    return location;
}

// ---------------------------------------------------------------------------------------
// Walking the block's nodes.

struct BlockNode {
    size_t keyStart = 0;
    size_t keyUnits = 0;
    size_t valueStart = 0;
    size_t valueSize = 0;
    size_t childrenStart = 0;
    size_t end = 0;
};

constexpr size_t kNodeHeaderSize = 6;
constexpr uint16_t kTextValue = 1;

uint16_t Get16(std::span<const uint8_t> block, size_t offset) {
    return static_cast<uint16_t>(block[offset] | (block[offset + 1] << 8));
}

size_t AlignUp(size_t offset) {
    return (offset + 3) & ~size_t{3};
}

// Reads the node at start, which must end within limit.
std::optional<BlockNode> ParseNode(std::span<const uint8_t> block, size_t start, size_t limit) {
    if (start > limit || limit - start < kNodeHeaderSize) {
        return std::nullopt;
    }
    const uint16_t length = Get16(block, start);
    const uint16_t valueLength = Get16(block, start + 2);
    const uint16_t type = Get16(block, start + 4);
    if (length < kNodeHeaderSize || length > limit - start) {
        return std::nullopt;
    }
    BlockNode node;
    node.end = start + length;
    node.keyStart = start + kNodeHeaderSize;
    size_t position = node.keyStart;
    for (;;) {
        if (node.end - position < 2) {
            return std::nullopt;  // the key has no terminating 0 inside the node
        }
        if (Get16(block, position) == 0) {
            break;
        }
        position += 2;
        ++node.keyUnits;
    }
    node.valueStart = std::min(AlignUp(position + 2), node.end);
    const size_t room = node.end - node.valueStart;
    if (type == kTextValue) {
        // A text's length counts characters; some writers count bytes, so stay inside the node.
        node.valueSize = std::min<size_t>(size_t{valueLength} * 2, room);
    } else if (valueLength <= room) {
        node.valueSize = valueLength;
    } else {
        return std::nullopt;
    }
    node.childrenStart = std::min(AlignUp(node.valueStart + node.valueSize), node.end);
    return node;
}

bool KeyEquals(std::span<const uint8_t> block, const BlockNode& node, std::string_view name) {
    std::u16string key;
    key.reserve(node.keyUnits);
    for (size_t i = 0; i < node.keyUnits; ++i) {
        key.push_back(static_cast<char16_t>(Get16(block, node.keyStart + 2 * i)));
    }
    const std::string text = Utf16ToWindows1252(key);
    return std::equal(text.begin(), text.end(), name.begin(), name.end(), [](char a, char b) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return lower(a) == lower(b);
    });
}

std::optional<BlockNode> FindChild(std::span<const uint8_t> block, const BlockNode& parent,
                                   std::string_view name) {
    size_t position = parent.childrenStart;
    // Fewer bytes than a node header at the end are padding.
    while (parent.end - position >= kNodeHeaderSize) {
        const auto child = ParseNode(block, position, parent.end);
        if (!child) {
            return std::nullopt;
        }
        if (KeyEquals(block, *child, name)) {
            return child;
        }
        position = std::min(AlignUp(child->end), parent.end);
    }
    return std::nullopt;
}

std::optional<BlockNode> FindNode(std::span<const uint8_t> block, std::string_view path) {
    auto node = ParseNode(block, 0, block.size());
    while (node && !path.empty()) {
        const size_t separator = path.find('\\');
        const std::string_view name = path.substr(0, separator);
        path =
            separator == std::string_view::npos ? std::string_view{} : path.substr(separator + 1);
        if (!name.empty()) {
            node = FindChild(block, *node, name);
        }
    }
    return node;
}

}  // namespace

uint32_t GetFileVersionInfoSize(const std::string& path) {
    FileSource source(ResolvePath(path));
    const auto location = LocateBlock(source);
    return location ? static_cast<uint32_t>(location->size) : 0;
}

bool GetFileVersionInfo(const std::string& path, std::span<uint8_t> block) {
    FileSource source(ResolvePath(path));
    const auto location = LocateBlock(source);
    if (!location) {
        return false;
    }
    const size_t count = std::min<uint64_t>(location->size, block.size());
    return source.Read(location->offset, block.first(count));
}

bool VerQueryValue(std::span<const uint8_t> block, std::string_view subBlock,
                   std::span<const uint8_t>& value) {
    const auto node = FindNode(block, subBlock);
    if (!node) {
        return false;
    }
    value = block.subspan(node->valueStart, node->valueSize);
    return true;
}

std::optional<std::string> VerQueryString(std::span<const uint8_t> block,
                                          std::string_view subBlock) {
    std::span<const uint8_t> value;
    if (!VerQueryValue(block, subBlock, value)) {
        return std::nullopt;
    }
    std::u16string text;
    for (size_t i = 0; i + 1 < value.size(); i += 2) {
        const char16_t unit = static_cast<char16_t>(Get16(value, i));
        if (unit == 0) {
            break;
        }
        text.push_back(unit);
    }
    return Utf16ToWindows1252(text);
}

std::optional<VersionTranslation> FirstTranslation(std::span<const uint8_t> translationValue) {
    if (translationValue.size() < 4) {
        return std::nullopt;
    }
    return VersionTranslation{Get16(translationValue, 0), Get16(translationValue, 2)};
}

uint32_t VerLanguageName(uint16_t languageId, char* buffer, uint32_t bufferSize) {
    const std::string_view name = LanguageName(languageId);
    if (name.empty()) {
        return 0;
    }
    if (buffer == nullptr) {
        return static_cast<uint32_t>(name.size());
    }
    if (bufferSize == 0) {
        return 0;
    }
    const size_t count = std::min<size_t>(name.size(), bufferSize - 1);
    std::memcpy(buffer, name.data(), count);
    buffer[count] = '\0';
    return static_cast<uint32_t>(count);
}

std::optional<std::span<const uint8_t>> ExtractVersionBlock(std::span<const uint8_t> fileImage) {
    MemorySource source(fileImage);
    const auto location = LocateBlock(source);
    if (!location) {
        return std::nullopt;
    }
    return fileImage.subspan(location->offset, location->size);
}
