#include "platform/os/version_info.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/os/version_block.h"
#include "platform/os/windows_1252.h"
#include "support/executable_image_builder.h"
#include "support/temp_dir.h"

namespace {

constexpr const char* kTranslation = "\\VarFileInfo\\Translation";
constexpr const char* kFileVersion = "\\StringFileInfo\\040904E4\\FileVersion";

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

uint32_t Le32(std::span<const uint8_t> bytes, size_t offset) {
    return bytes[offset] | (bytes[offset + 1] << 8) | (bytes[offset + 2] << 16) |
           (uint32_t{bytes[offset + 3]} << 24);
}

// Reads the file's block the way the title screen does and checks the program's values.
void ExpectProgramVersionInfo(const std::string& path) {
    const uint32_t size = GetFileVersionInfoSize(path);
    ASSERT_EQ(size, BuildProgramVersionBlock().size());
    std::vector<uint8_t> block(size);
    ASSERT_TRUE(GetFileVersionInfo(path, block));
    EXPECT_EQ(block, BuildProgramVersionBlock());

    std::span<const uint8_t> value;
    ASSERT_TRUE(VerQueryValue(block, kTranslation, value));
    const auto translation = FirstTranslation(value);
    ASSERT_TRUE(translation);
    EXPECT_EQ(translation->language, 0x0409);
    EXPECT_EQ(translation->codePage, 1252);
    EXPECT_EQ(VerQueryString(block, kFileVersion), "0.3.6.340");
}

// ---------------------------------------------------------------------------------------
// The block itself.

TEST(VersionBlock, ProgramBlockAnswersEveryQuery) {
    const std::vector<uint8_t> block = BuildProgramVersionBlock();

    // Root node: length of the whole block, 52-byte binary value, key, padding to 40.
    ASSERT_GE(block.size(), 40u + kFixedFileInfoSize);
    EXPECT_EQ(block[0] | (block[1] << 8), static_cast<int>(block.size()));
    EXPECT_EQ(block[2] | (block[3] << 8), 52);
    EXPECT_EQ(block[4] | (block[5] << 8), 0);

    std::span<const uint8_t> fixed;
    ASSERT_TRUE(VerQueryValue(block, "\\", fixed));
    ASSERT_EQ(fixed.size(), kFixedFileInfoSize);
    EXPECT_EQ(fixed.data(), block.data() + 40);
    EXPECT_EQ(Le32(fixed, 0), kFixedFileInfoSignature);
    EXPECT_EQ(Le32(fixed, 8), 0x00000003u);   // file version 0.3 ...
    EXPECT_EQ(Le32(fixed, 12), 0x00060154u);  // ... .6.340
    EXPECT_EQ(Le32(fixed, 16), 0x00000003u);  // product version
    EXPECT_EQ(Le32(fixed, 20), 0x00060154u);

    std::span<const uint8_t> translation;
    ASSERT_TRUE(VerQueryValue(block, kTranslation, translation));
    const uint8_t expected[] = {0x09, 0x04, 0xE4, 0x04};
    EXPECT_TRUE(std::equal(translation.begin(), translation.end(), std::begin(expected),
                           std::end(expected)));

    EXPECT_EQ(VerQueryString(block, kFileVersion), "0.3.6.340");
    EXPECT_EQ(VerQueryString(block, "\\StringFileInfo\\040904E4\\ProductName"), "Velmora");
    EXPECT_EQ(VerQueryString(block, "\\StringFileInfo\\040904E4\\ProductVersion"), "0.3.6.340");

    // The raw value of a string entry is its UTF-16LE text with the terminating 0.
    std::span<const uint8_t> raw;
    ASSERT_TRUE(VerQueryValue(block, kFileVersion, raw));
    ASSERT_EQ(raw.size(), 20u);
    EXPECT_EQ(raw[0], '0');
    EXPECT_EQ(raw[1], 0);
    EXPECT_EQ(raw[18], 0);
}

TEST(VersionBlock, KeysMatchWithoutRegardToCaseAndUnknownKeysAreNotFound) {
    const std::vector<uint8_t> block = BuildProgramVersionBlock();
    EXPECT_EQ(VerQueryString(block, "\\stringfileinfo\\040904e4\\FILEVERSION"), "0.3.6.340");
    EXPECT_EQ(VerQueryString(block, "StringFileInfo\\040904E4\\FileVersion"), "0.3.6.340");

    std::span<const uint8_t> value;
    EXPECT_FALSE(VerQueryValue(block, "\\StringFileInfo\\040704B0\\FileVersion", value));
    EXPECT_FALSE(VerQueryValue(block, "\\StringFileInfo\\040904E4\\Comments", value));
    EXPECT_FALSE(VerQueryValue(block, "\\StringFileInfo\\040904E4\\FileVersio", value));
    EXPECT_FALSE(VerQueryValue(block, "\\VarFileInfo\\Translation\\More", value));
    EXPECT_FALSE(VerQueryString(block, "\\Translation"));
}

TEST(VersionBlock, BuilderKeepsOrderLanguageAndNonAsciiText) {
    const VersionStringEntry strings[] = {{"Comments", "caf\xE9 \x80 5"}, {"FileVersion", "1.2"}};
    const std::vector<uint8_t> block = BuildVersionBlock("1.2", 0x0407, 0x04B0, strings);

    std::span<const uint8_t> value;
    ASSERT_TRUE(VerQueryValue(block, kTranslation, value));
    EXPECT_EQ(FirstTranslation(value)->language, 0x0407);
    EXPECT_EQ(FirstTranslation(value)->codePage, 0x04B0);
    EXPECT_EQ(VerQueryString(block, "\\StringFileInfo\\040704B0\\Comments"), "caf\xE9 \x80 5");
    EXPECT_EQ(VerQueryString(block, "\\StringFileInfo\\040704B0\\FileVersion"), "1.2");
    ASSERT_TRUE(VerQueryValue(block, "\\", value));
    EXPECT_EQ(Le32(value, 8), 0x00010002u);
    EXPECT_EQ(Le32(value, 12), 0u);

    // The euro sign is stored as U+20AC.
    ASSERT_TRUE(VerQueryValue(block, "\\StringFileInfo\\040704B0\\Comments", value));
    EXPECT_EQ(value[10], 0xAC);
    EXPECT_EQ(value[11], 0x20);
}

TEST(VersionBlock, VersionNumbersAreReadLeniently) {
    EXPECT_EQ(ParseVersionNumbers("0.3.6.340"), (std::array<uint16_t, 4>{0, 3, 6, 340}));
    EXPECT_EQ(ParseVersionNumbers("1.2"), (std::array<uint16_t, 4>{1, 2, 0, 0}));
    EXPECT_EQ(ParseVersionNumbers("70000.x.3.4.5"), (std::array<uint16_t, 4>{65535, 0, 3, 4}));
    EXPECT_EQ(ParseVersionNumbers(""), (std::array<uint16_t, 4>{}));
}

TEST(VersionBlock, TooLargeBlockIsNotBuilt) {
    const VersionStringEntry strings[] = {{"Comments", std::string(40000, 'x')}};
    EXPECT_TRUE(BuildVersionBlock("1.0", 0x0409, 1252, strings).empty());
}

// ---------------------------------------------------------------------------------------
// Damaged blocks give "not found" and never read outside the block.

TEST(VersionBlockDamage, EveryTruncationIsRejectedSafely) {
    const std::vector<uint8_t> full = BuildProgramVersionBlock();
    for (size_t size = 0; size < full.size(); ++size) {
        // An exactly sized copy lets the address sanitizer catch a read past its end.
        const std::vector<uint8_t> cut(full.begin(), full.begin() + static_cast<long>(size));
        std::span<const uint8_t> value;
        EXPECT_FALSE(VerQueryValue(cut, kTranslation, value)) << size;
        EXPECT_FALSE(VerQueryString(cut, kFileVersion)) << size;
        EXPECT_FALSE(ExtractVersionBlock(BuildElfImage(true, cut))) << size;
    }
}

TEST(VersionBlockDamage, BadLengthsAreNotFollowed) {
    const std::vector<uint8_t> good = BuildProgramVersionBlock();
    std::span<const uint8_t> value;

    // Root shorter than its header.
    std::vector<uint8_t> block = good;
    Poke16(block, 0, 4);
    EXPECT_FALSE(VerQueryValue(block, "\\", value));

    // The fixed file information claims more bytes than the root holds.
    block = good;
    Poke16(block, 2, 0xFFF0);
    EXPECT_FALSE(VerQueryValue(block, "\\", value));

    // The first child (StringFileInfo, at 92) claims to run past its parent.
    block = good;
    Poke16(block, 92, static_cast<uint16_t>(good.size()));
    EXPECT_FALSE(VerQueryValue(block, kFileVersion, value));

    // A key without its terminating 0: every key unit of the root becomes 'A'.
    block = good;
    for (size_t i = 6; i < block.size(); i += 2) {
        Poke16(block, i, 'A');
    }
    EXPECT_FALSE(VerQueryValue(block, "\\", value));

    // Every single-byte corruption leaves the reader inside the block.
    for (size_t i = 0; i < good.size(); ++i) {
        block = good;
        block[i] ^= 0xA5;
        VerQueryValue(block, kTranslation, value);
        VerQueryString(block, kFileVersion);
    }
}

TEST(VersionBlockDamage, TextLengthCountedInBytesStaysInsideItsNode) {
    const VersionStringEntry strings[] = {{"FileVersion", "1.2"}};
    std::vector<uint8_t> block = BuildVersionBlock("1.2", 0x0409, 1252, strings);
    std::span<const uint8_t> raw;
    ASSERT_TRUE(VerQueryValue(block, "\\StringFileInfo\\040904E4\\FileVersion", raw));
    // The node's header, its key "FileVersion" and the key's padding fill 32 bytes.
    const size_t valueAt = static_cast<size_t>(raw.data() - block.data());
    const size_t nodeAt = valueAt - 32;
    ASSERT_EQ(block[nodeAt + 2], 4);  // "1.2" and its 0 in characters
    Poke16(block, nodeAt + 2, 200);   // a writer counting something much larger
    EXPECT_EQ(VerQueryString(block, "\\StringFileInfo\\040904E4\\FileVersion"), "1.2");
}

// ---------------------------------------------------------------------------------------
// Finding the block in program files.

class VersionInfoFile : public ::testing::Test {
protected:
    TempDir dir_;
};

TEST_F(VersionInfoFile, ReadsPe32AndPe32Plus) {
    for (const bool pe32Plus : {false, true}) {
        SCOPED_TRACE(pe32Plus ? "PE32+" : "PE32");
        PeImageOptions options;
        options.pe32Plus = pe32Plus;
        options.versionBlock = BuildProgramVersionBlock();
        const PeImage image = BuildPeImage(options);
        const std::string path = dir_.File(pe32Plus ? "prog64.exe" : "prog32.exe");
        WriteFile(path, image.bytes);
        ExpectProgramVersionInfo(path);

        const auto block = ExtractVersionBlock(image.bytes);
        ASSERT_TRUE(block);
        EXPECT_EQ(block->data(), image.bytes.data() + image.blockOffset);
    }
}

TEST_F(VersionInfoFile, ReadsElf32AndElf64) {
    for (const bool elf64 : {false, true}) {
        SCOPED_TRACE(elf64 ? "ELF64" : "ELF32");
        const std::string path = dir_.File(elf64 ? "prog64" : "prog32");
        WriteFile(path, BuildElfImage(elf64, BuildProgramVersionBlock()));
        ExpectProgramVersionInfo(path);
    }
}

TEST_F(VersionInfoFile, SizeIsTheBlocksOwnLengthNotItsContainers) {
    std::vector<uint8_t> padded = BuildProgramVersionBlock();
    const size_t length = padded.size();
    padded.resize(length + 64, 0xEE);
    WriteFile(dir_.File("padded"), BuildElfImage(true, padded));
    EXPECT_EQ(GetFileVersionInfoSize(dir_.File("padded")), length);
}

TEST_F(VersionInfoFile, FindsTheFileWithoutRegardToCaseAndBackslashes) {
    std::filesystem::create_directory(dir_.path() / "Run");
    WriteFile(dir_.File("Run/TARROWIND.EXE"), BuildElfImage(true, BuildProgramVersionBlock()));
    WorkingDirectory cwd(dir_.path());
    EXPECT_GT(GetFileVersionInfoSize("run\\tarrowind.exe"), 0u);
}

TEST_F(VersionInfoFile, SmallBufferGetsTheBlocksBeginning) {
    WriteFile(dir_.File("prog"), BuildElfImage(true, BuildProgramVersionBlock()));
    std::vector<uint8_t> block(10, 0x55);
    ASSERT_TRUE(GetFileVersionInfo(dir_.File("prog"), std::span(block).first(8)));
    const std::vector<uint8_t> full = BuildProgramVersionBlock();
    EXPECT_TRUE(std::equal(block.begin(), block.begin() + 8, full.begin()));
    EXPECT_EQ(block[8], 0x55);
    EXPECT_EQ(block[9], 0x55);
}

TEST_F(VersionInfoFile, NoVersionInformation) {
    std::vector<uint8_t> block(64);
    const auto expectNone = [&](const std::string& path) {
        EXPECT_EQ(GetFileVersionInfoSize(path), 0u) << path;
        EXPECT_FALSE(GetFileVersionInfo(path, block)) << path;
    };
    expectNone(dir_.File("missing.exe"));
    expectNone(dir_.path().string());  // a folder

    WriteFile(dir_.File("empty"), {});
    expectNone(dir_.File("empty"));
    WriteFile(dir_.File("text"), {'M', 'Z', 'h', 'e', 'l', 'l', 'o'});
    expectNone(dir_.File("text"));

    PeImageOptions options;
    options.versionBlock = BuildProgramVersionBlock();
    options.withResources = false;
    WriteFile(dir_.File("nores.exe"), BuildPeImage(options).bytes);
    expectNone(dir_.File("nores.exe"));

    options.withResources = true;
    options.withVersion = false;
    WriteFile(dir_.File("noversion.exe"), BuildPeImage(options).bytes);
    expectNone(dir_.File("noversion.exe"));

    WriteFile(dir_.File("other"), BuildElfImage(false, BuildProgramVersionBlock(), ".rodata"));
    expectNone(dir_.File("other"));

    // A block that is not headed by the root key.
    std::vector<uint8_t> renamed = BuildProgramVersionBlock();
    renamed[6] = 'X';
    WriteFile(dir_.File("renamed"), BuildElfImage(true, renamed));
    expectNone(dir_.File("renamed"));
}

TEST_F(VersionInfoFile, DamagedPeIsRejected) {
    PeImageOptions options;
    options.versionBlock = BuildProgramVersionBlock();
    const PeImage good = BuildPeImage(options);

    // The file ends inside the block.
    std::vector<uint8_t> image(good.bytes.begin(),
                               good.bytes.begin() + static_cast<long>(good.blockOffset + 100));
    EXPECT_FALSE(ExtractVersionBlock(image));

    // The data entry claims more than its section holds.
    image = good.bytes;
    Poke32(image, good.dataEntryOffset + 4, 0x10000);
    EXPECT_FALSE(ExtractVersionBlock(image));

    // The data entry's address lies in no section.
    image = good.bytes;
    Poke32(image, good.dataEntryOffset, 0x90000);
    EXPECT_FALSE(ExtractVersionBlock(image));

    // The PE header offset points past the end.
    image = good.bytes;
    Poke32(image, 0x3C, 0x7FFFFFF0);
    EXPECT_FALSE(ExtractVersionBlock(image));

    // Every truncation of the file that cuts the block, and every single-byte corruption of
    // its headers and resource tree, stays inside the image.
    const size_t blockEnd = good.blockOffset + options.versionBlock.size();
    for (size_t size = 0; size < blockEnd; size += 7) {
        const std::vector<uint8_t> cut(good.bytes.begin(),
                                       good.bytes.begin() + static_cast<long>(size));
        EXPECT_FALSE(ExtractVersionBlock(cut)) << size;
    }
    for (size_t i = 0; i < good.blockOffset; ++i) {
        image = good.bytes;
        image[i] ^= 0xFF;
        if (const auto block = ExtractVersionBlock(image)) {
            EXPECT_GE(block->data(), image.data());
            EXPECT_LE(block->data() + block->size(), image.data() + image.size());
        }
    }
}

TEST_F(VersionInfoFile, DamagedElfIsRejected) {
    const std::vector<uint8_t> good = BuildElfImage(true, BuildProgramVersionBlock());
    // The section header table starts at 0x28; the block section is entry 2.
    const size_t table = Le32(good, 0x28);
    const size_t blockHeader = table + 2 * 64;

    std::vector<uint8_t> image = good;
    Poke64(image, blockHeader + 32, 0xFFFFFFFFFFFFFF00ull);  // size beyond the file
    EXPECT_FALSE(ExtractVersionBlock(image));

    image = good;
    Poke64(image, blockHeader + 24, image.size() + 1);  // offset beyond the file
    EXPECT_FALSE(ExtractVersionBlock(image));

    image = good;
    Poke32(image, blockHeader + 4, 8);  // a section with no bytes in the file
    EXPECT_FALSE(ExtractVersionBlock(image));

    image = good;
    Poke16(image, 0x3C, 0xFFFF);  // more sections than the file holds
    EXPECT_FALSE(ExtractVersionBlock(image));

    image = good;
    image[5] = 2;  // big-endian
    EXPECT_FALSE(ExtractVersionBlock(image));

    for (size_t i = 0; i < good.size(); ++i) {
        image = good;
        image[i] ^= 0xFF;
        if (const auto block = ExtractVersionBlock(image)) {
            EXPECT_LE(block->data() + block->size(), image.data() + image.size());
        }
    }
}

TEST(VersionInfoProgram, BuiltProgramCarriesItsVersion) {
#ifdef VELMORA_RUN_DIR
    const std::string path = std::string(VELMORA_RUN_DIR) + "/tarrowind.exe";
    if (!std::filesystem::exists(path)) {
        GTEST_SKIP() << "the program is not built: " << path;
    }
    ExpectProgramVersionInfo(path);
#else
    GTEST_SKIP() << "no run folder configured";
#endif
}

// ---------------------------------------------------------------------------------------
// Language names and text conversion.

TEST(VerLanguageName, WritesWithinTheBuffer) {
    char buffer[80];
    EXPECT_EQ(VerLanguageName(0x0409, buffer, sizeof buffer), 23u);
    EXPECT_STREQ(buffer, "English (United States)");
    EXPECT_EQ(VerLanguageName(0x0407, buffer, sizeof buffer), 16u);
    EXPECT_STREQ(buffer, "German (Germany)");

    char small[8];
    std::memset(small, '#', sizeof small);
    EXPECT_EQ(VerLanguageName(0x0409, small, 5), 4u);
    EXPECT_STREQ(small, "Engl");
    EXPECT_EQ(small[5], '#');

    std::memset(small, '#', sizeof small);
    EXPECT_EQ(VerLanguageName(0x0409, small, 1), 0u);
    EXPECT_EQ(small[0], '\0');
    EXPECT_EQ(small[1], '#');

    std::memset(small, '#', sizeof small);
    EXPECT_EQ(VerLanguageName(0x0409, small, 0), 0u);
    EXPECT_EQ(small[0], '#');

    EXPECT_EQ(VerLanguageName(0x0409, nullptr, 0), 23u);
}

TEST(VerLanguageName, UnknownLanguageGivesNothing) {
    char buffer[8] = "#######";
    EXPECT_EQ(VerLanguageName(0x7FFF, buffer, sizeof buffer), 0u);
    EXPECT_STREQ(buffer, "#######");
}

TEST(Windows1252, EveryByteSurvivesARoundTrip) {
    std::string all;
    for (int i = 0; i < 256; ++i) {
        all.push_back(static_cast<char>(i));
    }
    EXPECT_EQ(Utf16ToWindows1252(Windows1252ToUtf16(all)), all);
    EXPECT_EQ(Windows1252ToUtf16("\x80\x9F"), u"\u20AC\u0178");
    // Outside the code page: a Chinese character and a surrogate pair.
    EXPECT_EQ(Utf16ToWindows1252(u"a\u4E2Db\U0001F600c"), "a?b?c");
}

}  // namespace
