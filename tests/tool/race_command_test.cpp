#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "race/race_file.h"
#include "support/temp_dir.h"
#include "tool/commands.h"

extern const ToolCommand kRaceCommand;

namespace {

namespace fs = std::filesystem;

class RaceCommand : public ::testing::Test {
protected:
    // Runs "velmora-tool race" with the names given and the extra arguments; keeps what it
    // printed on stderr.
    int Run(const std::string& singular, std::vector<std::string> extra) {
        std::vector<std::string> args = {"--singular", singular, "--plural", "Elves",
                                         "--leader",   "Ara",    "--title",  "King"};
        args.insert(args.end(), extra.begin(), extra.end());
        ::testing::internal::CaptureStderr();
        const int code = kRaceCommand.run(args);
        errors = ::testing::internal::GetCapturedStderr();
        return code;
    }

    RaceRecord Read(const std::string& name) {
        RaceFileReadResult read = ReadRaceFileForDump(dir.File(name));
        EXPECT_TRUE(read.Race) << read.Error;
        return read.Race.value_or(RaceRecord{});
    }

    TempDir dir;
    std::string errors;
};

TEST_F(RaceCommand, StoresUtf8ArgumentsInTheGamesCodePage) {
    ASSERT_EQ(Run("\u00c9mile", {"--title", "\u20ac-Lord", "--password", "S\u00e9same", "-o",
                                 dir.File("emile.rce")}),
              0)
        << errors;
    const RaceRecord race = Read("emile.rce");
    EXPECT_EQ(race.NameSingular, "\xC9mile");
    EXPECT_EQ(race.LeaderTitle, "\x80-Lord");
    EXPECT_EQ(race.Password, "S\xE9same");  // what the password prompt compares
}

TEST_F(RaceCommand, RefusesATextTheCodePageCannotHoldNamingItsOption) {
    EXPECT_EQ(Run("Elf", {"--plural", "\u0416\u0443\u043a", "-o", dir.File("bug.rce")}), 1);
    EXPECT_NE(errors.find("--plural '\u0416\u0443\u043a' cannot be stored"), std::string::npos)
        << errors;
    EXPECT_NE(errors.find("Windows-1252"), std::string::npos) << errors;
    EXPECT_FALSE(fs::exists(dir.File("bug.rce")));

    EXPECT_EQ(Run("Elf", {"--password", "\u0142", "-o", dir.File("bug.rce")}), 1);
    EXPECT_NE(errors.find("--password"), std::string::npos) << errors;

    // Bytes that are not UTF-8 (a name typed in a Latin-1 terminal) are refused too.
    EXPECT_EQ(Run("\xC9mile", {"-o", dir.File("bug.rce")}), 1);
    EXPECT_NE(errors.find("--singular is not UTF-8 text"), std::string::npos) << errors;
    EXPECT_FALSE(fs::exists(dir.File("bug.rce")));
}

TEST_F(RaceCommand, CountsTheLengthLimitInStoredCharacters) {
    std::string longest;
    for (int i = 0; i < 199; ++i)
        longest += "\u00e9";  // 398 bytes of UTF-8, 199 stored
    ASSERT_EQ(Run(longest, {"-o", dir.File("long.rce")}), 0) << errors;
    EXPECT_EQ(Read("long.rce").NameSingular, std::string(199, '\xE9'));

    EXPECT_EQ(Run(longest + "\u00e9", {"-o", dir.File("longer.rce")}), 1);
    EXPECT_NE(errors.find("longer than 199 characters"), std::string::npos) << errors;
}

TEST_F(RaceCommand, NamesTheFileAsTheGameLooksForIt) {
    ASSERT_EQ(Run("Krell", {"-o", dir.File("krell.race")}), 0) << errors;
    EXPECT_FALSE(fs::exists(dir.File("krell.race")));
    EXPECT_TRUE(NameMarksRaceFile(dir.File("krell.rce")));
    EXPECT_EQ(Read("krell.rce").NameSingular, "Krell");
    EXPECT_NE(errors.find("written as '" + dir.File("krell.rce") + "'"), std::string::npos)
        << errors;

    ASSERT_EQ(Run("Krell", {"-o", dir.File("plain")}), 0) << errors;
    EXPECT_EQ(Read("plain.rce").NameSingular, "Krell");

    ASSERT_EQ(Run("Krell", {"-o", dir.File("kept.rce")}), 0) << errors;
    EXPECT_EQ(Read("kept.rce").NameSingular, "Krell");
    EXPECT_EQ(errors, "");
}

}  // namespace
