// The race file loads return what they read or why they refused, naming the file; the
// password is asked for through the caller's check, never through a shell.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "race/race_file.h"
#include "race_file_samples.h"
#include "support/temp_dir.h"

namespace {

// Counts the calls and answers with `gives`, remembering the password it was asked for.
struct PasswordCheckSpy {
    bool gives = false;
    int calls = 0;
    std::string askedFor;

    RacePasswordCheck Check() {
        return [this](const std::string& password) {
            ++calls;
            askedFor = password;
            return gives;
        };
    }
};

TEST(RacePasswordCheck, AGivenPasswordLoadsTheWholeRace) {
    PasswordCheckSpy spy;
    spy.gives = true;
    RaceDesignValues values = OrcsDesign();
    ASSERT_TRUE(ReadRaceIntoDesign(RaceFileBytes(ElvesRace("Secret")), values, spy.Check()));
    EXPECT_EQ(spy.calls, 1);
    EXPECT_EQ(spy.askedFor, "Secret");
    EXPECT_EQ(values.Password, "Secret");
    EXPECT_EQ(values.PasswordConfirm, "Secret");
    EXPECT_EQ(RaceFileBytes(RaceRecordFromDesign(values, 3.634f)),
              RaceFileBytes(ElvesRace("Secret")));
}

TEST(RacePasswordCheck, ARefusedPasswordStopsTheReadingThere) {
    PasswordCheckSpy spy;
    RaceDesignValues values = OrcsDesign();
    // Names before the password record are kept; nothing after it is read.
    const std::vector<uint8_t> bytes =
        Bytes().Text(6, "Ara").Text(9, "Secret").Text(5, "Elves").Value(10, 3).End();
    ASSERT_TRUE(ReadRaceIntoDesign(bytes, values, spy.Check()));
    EXPECT_EQ(spy.calls, 1);
    EXPECT_EQ(values.LoadedRacePassword, "Secret");
    EXPECT_EQ(values.Password + values.PasswordConfirm, "");
    EXPECT_EQ(values.RaceLeaderName, "Ara");
    EXPECT_EQ(values.RaceNamePlural, "Orcs");
    EXPECT_EQ(values.RaceClass, OrcsDesign().RaceClass);
    EXPECT_EQ(values.Adjustments, OrcsDesign().Adjustments);

    // Without a check nothing is accepted either.
    values = OrcsDesign();
    ASSERT_TRUE(ReadRaceIntoDesign(RaceFileBytes(ElvesRace("Secret")), values, nullptr));
    EXPECT_EQ(values.RaceNamePlural, "Orcs");
}

TEST(RacePasswordCheck, IsNotAskedForAFileWithoutPasswordOrADamagedOne) {
    PasswordCheckSpy spy;
    RaceDesignValues values;
    ASSERT_TRUE(ReadRaceIntoDesign(RaceFileBytes(ElvesRace()), values, spy.Check()));
    std::vector<uint8_t> cut = RaceFileBytes(ElvesRace("Secret"));
    cut.pop_back();
    FileDamage damage;
    EXPECT_FALSE(ReadRaceIntoDesign(cut, values, spy.Check(), &damage));
    EXPECT_EQ(damage.Offset, 126u);
    EXPECT_EQ(spy.calls, 0);
}

TEST(RaceFileCheck, OneCheckForEveryReaderThatTakesARace) {
    std::vector<RaceFileEntry> entries;
    EXPECT_FALSE(CheckRaceFile(RaceFileBytes(ElvesRace("Secret")), entries).has_value());
    RaceRecord applied;
    for (const RaceFileEntry& entry : entries)
        ApplyRaceEntry(entry, applied);
    EXPECT_EQ(RaceFileBytes(applied), RaceFileBytes(ElvesRace("Secret")));

    const std::pair<std::vector<uint8_t>, std::string> damaged[] = {
        {Bytes().Value(8, 3).End(), "sex 3 is outside 0..2"},
        {Bytes().Value(10, -1).End(), "class -1 is outside 0..5"},
        {Bytes().Slots({5, 5, 5, 5, 5, 5, 5, 1}).End(), "design slots 1 are outside 2..20"},
        {Bytes().Text(4, "Elf").Cut(), "the file ends before its end record"},
    };
    for (const auto& [bytes, what] : damaged) {
        std::optional<FileDamage> damage = CheckRaceFile(bytes, entries);
        ASSERT_TRUE(damage.has_value()) << what;
        EXPECT_EQ(damage->What, what);
        EXPECT_TRUE(entries.empty());
    }
}

TEST(RaceFileLoads, RefusalsNameTheFileAndTheProblem) {
    TempDir dir;
    WriteBytes(dir.File("ELF.RCE"), RaceFileBytes(ElvesRace()));
    std::filesystem::create_directory(dir.path() / "folder.rce");
    WriteBytes(dir.File("damaged.rce"), Bytes().Value(10, 7).End());
    WriteBytes(dir.File("big.rce"), {});
    std::filesystem::resize_file(dir.path() / "big.rce", kRaceFileMaxBytes + 5);
    const std::pair<std::string, RaceFileProblem> refused[] = {
        {dir.File("none.rce"), RaceFileProblem::Missing},
        {dir.File("ELF.RCE"), RaceFileProblem::WrongName},
        {dir.File("folder.rce"), RaceFileProblem::CannotOpen},
        {dir.File("big.rce"), RaceFileProblem::TooLarge},
        {dir.File("damaged.rce"), RaceFileProblem::Damaged},
    };
    PasswordCheckSpy spy;
    for (const auto& [path, problem] : refused) {
        SCOPED_TRACE(path);
        RaceRecord race = ElvesRace("kept");
        std::optional<RaceFileRefusal> forPlayer = LoadRaceFileForPlayer(path, race);
        RaceDesignValues values = OrcsDesign();
        std::optional<RaceFileRefusal> forDesign =
            LoadRaceFileIntoDesign(path, values, spy.Check());
        ASSERT_TRUE(forPlayer.has_value());
        ASSERT_TRUE(forDesign.has_value());
        EXPECT_EQ(forPlayer->Problem, problem);
        EXPECT_EQ(forDesign->Problem, problem);
        EXPECT_EQ(forPlayer->Path, path);
        EXPECT_EQ(forDesign->Path, path);
        EXPECT_EQ(RaceFileBytes(race), RaceFileBytes(ElvesRace("kept")));
        EXPECT_EQ(values.RaceNamePlural, "Orcs");
    }
    RaceRecord race;
    EXPECT_EQ(LoadRaceFileForPlayer(dir.File("big.rce"), race)->Size, kRaceFileMaxBytes + 5);
    std::optional<RaceFileRefusal> damaged = LoadRaceFileForPlayer(dir.File("damaged.rce"), race);
    EXPECT_EQ(damaged->Damage.Offset, 0u);
    EXPECT_EQ(damaged->Damage.What, "class 7 is outside 0..5");
    EXPECT_EQ(spy.calls, 0);
}

TEST(RaceFileLoads, APlayerSlotTakesTheRaceAsStored) {
    TempDir dir;
    WriteBytes(dir.File("elf.rce"), RaceFileBytes(ElvesRace("Secret")));
    RaceRecord race;
    race.Password = "old";
    EXPECT_FALSE(LoadRaceFileForPlayer(dir.File("elf.rce"), race).has_value());
    EXPECT_EQ(RaceFileBytes(race), RaceFileBytes(ElvesRace("Secret")));

    // The password is emptied before each read into the record.
    WriteBytes(dir.File("open.rce"), RaceFileBytes(ElvesRace()));
    EXPECT_FALSE(LoadRaceFileForPlayer(dir.File("open.rce"), race).has_value());
    EXPECT_EQ(race.Password, "");
}

TEST(RaceFileWrite, AFailureNamesTheFileAndTheReason) {
    TempDir dir;
    const std::string path = dir.File("no-folder/elf.rce");
    std::optional<WriteFailure> failure = WriteRaceFile(path, ElvesRace());
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->Path, path);
    EXPECT_FALSE(failure->Reason.empty());
    EXPECT_FALSE(WriteRaceFile(dir.File("elf.rce"), ElvesRace()).has_value());
    EXPECT_TRUE(RaceFileNameTaken(dir.File("elf.rce")));
    EXPECT_FALSE(RaceFileNameTaken(dir.File("orc.rce")));
}

}  // namespace
