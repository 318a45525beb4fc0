// The data folder: where the game's own files are found, from the program's place.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/os/file_lookup.h"
#include "support/data_folder_in_use.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

void Touch(const fs::path& path) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << "x";
}

TEST(DataFolder, IsTheRunFolderBesideTheProgramFirst) {
    TempDir dir;
    Touch(dir.path() / "run" / "velmora");
    Touch(dir.path() / "run" / "sphere3.x");
    // An installed tree above it does not matter while the program's own folder has data.
    Touch(dir.path() / "share" / "games" / "velmora" / "sphere3.x");
    EXPECT_EQ(FindDataFolder((dir.path() / "run" / "velmora").string(), "../share/games/velmora"),
              (dir.path() / "run").string());
}

TEST(DataFolder, IsTheInstalledFolderRelativeToTheProgram) {
    TempDir dir;
    Touch(dir.path() / "usr" / "games" / "velmora");
    Touch(dir.path() / "usr" / "share" / "games" / "velmora" / "sphere3.x");
    EXPECT_EQ(FindDataFolder((dir.path() / "usr" / "games" / "velmora").string(),
                             "../share/games/velmora"),
              (dir.path() / "usr" / "share" / "games" / "velmora").string());
}

TEST(DataFolder, IsNoneWhereNeitherPlaceHoldsTheData) {
    TempDir dir;
    Touch(dir.path() / "bin" / "velmora");
    // A folder without the sphere mesh is not taken, nor is a missing one.
    fs::create_directories(dir.path() / "share" / "games" / "velmora" / "GAMEART");
    EXPECT_EQ(FindDataFolder((dir.path() / "bin" / "velmora").string(), "../share/games/velmora"),
              "");
    EXPECT_EQ(FindDataFolder((dir.path() / "bin" / "velmora").string(), ""), "");
    EXPECT_EQ(FindDataFolder("", "../share/games/velmora"), "");
}

TEST(DataFolder, RunningProgramIsThisTestProgram) {
    const std::string program = RunningProgramPath();
    ASSERT_FALSE(program.empty());
    EXPECT_TRUE(fs::is_regular_file(program));
    EXPECT_TRUE(fs::path(program).is_absolute());
}

TEST(DataFolder, RelativeNamesResolveInsideItFromAnyWorkingDirectory) {
    TempDir data;
    TempDir elsewhere;
    Touch(data.path() / "GAMEART" / "OceanHex1.bmp");
    Touch(data.path() / "sphere3.x");
    // The same names in the working directory are not looked at.
    Touch(elsewhere.path() / "Other.bmp");
    WorkingDirectory cwd(elsewhere.path());
    DataFolderInUse use(data.path());

    EXPECT_EQ(ResolvePath("sphere3.x"), (data.path() / "sphere3.x").string());
    EXPECT_EQ(ResolvePath("GameArt\\oceanhex1.BMP"),
              (data.path() / "GAMEART" / "OceanHex1.bmp").string());
    EXPECT_TRUE(GameFileExists("GAMEART\\OceanHex1.bmp"));
    EXPECT_FALSE(GameFileExists("Other.bmp"));
    EXPECT_EQ(ResolvePath("Nowhere\\x.bmp"), (data.path() / "Nowhere/x.bmp").string());
    // Absolute paths stay as they are.
    const fs::path other = elsewhere.path() / "Other.bmp";
    EXPECT_EQ(ResolvePath(other.string()), other.string());
}

TEST(DataFolder, ItsOwnNameIsNotMatchedWithoutRegardToCase) {
    // The folder is found by the program, so only the names below it are the game's.
    TempDir dir;
    Touch(dir.path() / "Data" / "sphere3.x");
    DataFolderInUse use(dir.path() / "data");
    EXPECT_FALSE(GameFileExists("sphere3.x"));
}

}  // namespace
