#include "platform/os/file_lookup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

TEST(FileLookup, MatchesEachComponentWithoutRegardToCase) {
    TempDir dir;
    WorkingDirectory cwd(dir.path());
    fs::create_directories("GAMEART/Sub");
    std::ofstream("GAMEART/Sub/OceanHex1.bmp") << "x";

    EXPECT_EQ(ResolvePath("GAMEART\\Sub\\OceanHex1.bmp"), "GAMEART/Sub/OceanHex1.bmp");
    EXPECT_EQ(ResolvePath("GameArt\\sub\\oceanhex1.BMP"), "GAMEART/Sub/OceanHex1.bmp");
    EXPECT_EQ(ResolvePath("gameart/SUB/OCEANHEX1.bmp"), "GAMEART/Sub/OceanHex1.bmp");
    EXPECT_TRUE(GameFileExists("GameArt\\Sub\\OceanHex1.bmp"));
    EXPECT_FALSE(GameFileExists("GameArt\\Sub"));  // a folder is not a file
}

TEST(FileLookup, PrefersTheExactNameAndKeepsMissingPaths) {
    TempDir dir;
    WorkingDirectory cwd(dir.path());
    fs::create_directories("Art");
    fs::create_directories("ART");
    std::ofstream("Art/a.bmp") << "1";
    std::ofstream("ART/a.bmp") << "2";
    EXPECT_EQ(ResolvePath("ART\\a.bmp"), "ART/a.bmp");
    EXPECT_EQ(ResolvePath("Art\\a.bmp"), "Art/a.bmp");

    EXPECT_EQ(ResolvePath("Nowhere\\x.bmp"), "Nowhere/x.bmp");
    EXPECT_FALSE(GameFileExists("Nowhere\\x.bmp"));
    EXPECT_FALSE(GameFileExists(""));
}

TEST(FileLookup, ResolvesAbsolutePathsToo) {
    TempDir dir;
    fs::create_directories(dir.path() / "Races");
    std::ofstream(dir.path() / "Races" / "Elf.rce") << "r";
    std::string asked = (dir.path() / "races" / "ELF.RCE").string();
    EXPECT_EQ(ResolvePath(asked), (dir.path() / "Races" / "Elf.rce").string());
}

}  // namespace
