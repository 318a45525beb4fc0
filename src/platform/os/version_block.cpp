#include "platform/os/version_block.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "platform/os/windows_1252.h"

namespace {

constexpr uint16_t kBinaryValue = 0;
constexpr uint16_t kTextValue = 1;

// Appends nodes to a growing block and patches each node's length when it is finished.
class BlockWriter {
public:
    // Writes a node's header and key and the padding that follows; returns the node's start.
    size_t BeginNode(uint16_t valueLength, uint16_t type, std::string_view key) {
        Align();
        const size_t start = bytes_.size();
        Put16(0);
        Put16(valueLength);
        Put16(type);
        PutText(key);
        Align();
        return start;
    }

    void EndNode(size_t start) {
        const size_t length = bytes_.size() - start;
        if (length > 0xFFFF) {
            overflow_ = true;
        }
        bytes_[start] = static_cast<uint8_t>(length & 0xFF);
        bytes_[start + 1] = static_cast<uint8_t>((length >> 8) & 0xFF);
    }

    void Put16(uint16_t value) {
        bytes_.push_back(static_cast<uint8_t>(value & 0xFF));
        bytes_.push_back(static_cast<uint8_t>(value >> 8));
    }

    void Put32(uint32_t value) {
        Put16(static_cast<uint16_t>(value & 0xFFFF));
        Put16(static_cast<uint16_t>(value >> 16));
    }

    // Writes the text as zero-ended UTF-16LE.
    void PutText(std::string_view text) {
        for (const char16_t unit : Windows1252ToUtf16(text)) {
            Put16(unit);
        }
        Put16(0);
    }

    void Align() {
        while (bytes_.size() % 4 != 0) {
            bytes_.push_back(0);
        }
    }

    // The finished block, or nothing when a node outgrew its 16-bit length.
    std::vector<uint8_t> Take() { return overflow_ ? std::vector<uint8_t>{} : std::move(bytes_); }

private:
    std::vector<uint8_t> bytes_;
    bool overflow_ = false;
};

uint16_t TextValueLength(std::string_view text) {
    // A text too long for the field also makes its node too long, which empties the block.
    return static_cast<uint16_t>(std::min<size_t>(text.size() + 1, 0xFFFF));
}

}  // namespace

std::array<uint16_t, 4> ParseVersionNumbers(std::string_view versionText) {
    std::array<uint16_t, 4> numbers{};
    size_t index = 0;
    while (index < numbers.size()) {
        const size_t dot = versionText.find('.');
        const std::string_view part = versionText.substr(0, dot);
        uint32_t value = 0;
        const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), value);
        if (error == std::errc::result_out_of_range || (error == std::errc{} && value > 0xFFFF)) {
            value = 0xFFFF;
        } else if (error != std::errc{}) {
            value = 0;
        }
        numbers[index++] = static_cast<uint16_t>(value);
        if (dot == std::string_view::npos) {
            break;
        }
        versionText.remove_prefix(dot + 1);
    }
    return numbers;
}

std::vector<uint8_t> BuildVersionBlock(std::string_view fileVersion, uint16_t languageId,
                                       uint16_t codePage,
                                       std::span<const VersionStringEntry> strings) {
    const std::array<uint16_t, 4> numbers = ParseVersionNumbers(fileVersion);
    const uint32_t versionHigh = (uint32_t{numbers[0]} << 16) | numbers[1];
    const uint32_t versionLow = (uint32_t{numbers[2]} << 16) | numbers[3];

    BlockWriter writer;
    const size_t root = writer.BeginNode(kFixedFileInfoSize, kBinaryValue, "VS_VERSION_INFO");
    writer.Put32(kFixedFileInfoSignature);
    writer.Put32(0x00010000);   // structure version 1.0
    writer.Put32(versionHigh);  // file version
    writer.Put32(versionLow);
    writer.Put32(versionHigh);  // product version
    writer.Put32(versionLow);
    writer.Put32(0x3F);        // all defined file flags are meaningful ...
    writer.Put32(0);           // ... and none is set
    writer.Put32(0x00040004);  // 32-bit windowed operating system
    writer.Put32(1);           // application
    writer.Put32(0);           // no subtype
    writer.Put32(0);           // no file date
    writer.Put32(0);

    const size_t stringFileInfo = writer.BeginNode(0, kTextValue, "StringFileInfo");
    char tableKey[9];
    std::snprintf(tableKey, sizeof tableKey, "%04X%04X", languageId, codePage);
    const size_t table = writer.BeginNode(0, kTextValue, tableKey);
    for (const VersionStringEntry& entry : strings) {
        const size_t node = writer.BeginNode(TextValueLength(entry.value), kTextValue, entry.key);
        writer.PutText(entry.value);
        writer.EndNode(node);
    }
    writer.EndNode(table);
    writer.EndNode(stringFileInfo);

    const size_t varFileInfo = writer.BeginNode(0, kTextValue, "VarFileInfo");
    const size_t translation = writer.BeginNode(4, kBinaryValue, "Translation");
    writer.Put16(languageId);
    writer.Put16(codePage);
    writer.EndNode(translation);
    writer.EndNode(varFileInfo);

    writer.EndNode(root);
    return writer.Take();
}

std::vector<uint8_t> BuildProgramVersionBlock() {
    const std::string version(kProgramFileVersion);
    const std::string product(kProgramProductName);
    const VersionStringEntry strings[] = {
        {"CompanyName", product},
        {"FileDescription", product},
        {"FileVersion", version},
        {"InternalName", "tarrowind"},
        {"OriginalFilename", "tarrowind.exe"},
        {"ProductName", product},
        {"ProductVersion", version},
    };
    return BuildVersionBlock(kProgramFileVersion, kProgramLanguageId, kProgramCodePage, strings);
}
