#include "race/race_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "game/record_stream.h"
#include "platform/os/scripted_ui_shell.h"
#include "race/race_command_line.h"
#include "race_file_samples.h"
#include "support/temp_dir.h"

namespace {

TEST(RaceFileWriter, TheElvesExampleIs115BytesAtTheirOffsets) {
    const std::vector<uint8_t> bytes = RaceFileBytes(ElvesRace());
    ASSERT_EQ(bytes.size(), 115u);
    const std::pair<size_t, int32_t> ints[] = {
        {0, 3},  {4, 0x40689375}, {8, 4},  {12, 4}, {20, 5},  {24, 6},  {34, 6},  {38, 4},
        {46, 7}, {50, 5},         {59, 8}, {63, 1}, {67, 10}, {71, 4},  {75, 11}, {79, 5},
        {83, 5}, {87, 8},         {91, 6}, {95, 5}, {99, 5},  {103, 3}, {107, 5}, {111, 0}};
    for (auto [offset, value] : ints)
        EXPECT_EQ(LoadInt32(&bytes[offset]), value) << offset;
    const std::pair<size_t, std::string_view> texts[] = {
        {16, {"Elf", 4}}, {28, {"Elves", 6}}, {42, {"Ara", 4}}, {54, {"King", 5}}};
    for (auto [offset, text] : texts) {
        EXPECT_EQ(std::string_view(reinterpret_cast<const char*>(&bytes[offset]), text.size()),
                  text);
    }
}

TEST(RaceFileWriter, PasswordFollowsTheVersionAndEmptyTextsKeepTheirZero) {
    RaceRecord race = ElvesRace("Secret");
    race.LeaderTitle.clear();
    std::vector<uint8_t> expected = Bytes()
                                        .Value(3, 0x40689375)
                                        .Text(9, "Secret")
                                        .Text(4, "Elf")
                                        .Text(5, "Elves")
                                        .Text(6, "Ara")
                                        .I32(7)
                                        .I32(1)
                                        .Raw({"", 1})
                                        .Value(8, 1)
                                        .Value(10, 4)
                                        .Slots({5, 5, 8, 6, 5, 5, 3, 5})
                                        .End();
    EXPECT_EQ(RaceFileBytes(race), expected);
}

TEST(RaceFileNames, ExtensionOfTheLastComponentBecomesRce) {
    EXPECT_EQ(RaceFileNameFor("/home/p/Races.old/myrace.rac"), "/home/p/Races.old/myrace.rce");
    EXPECT_EQ(RaceFileNameFor("/home/p/my.race.rac"), "/home/p/my.race.rce");
    EXPECT_EQ(RaceFileNameFor("/home/p/Races.old/myrace"), "/home/p/Races.old/myrace.rce");
    EXPECT_EQ(RaceFileNameFor("C:\\Races.old\\myrace"), "C:\\Races.old\\myrace.rce");

    EXPECT_TRUE(NameMarksRaceFile("/races/myrace.rce.bak"));
    EXPECT_TRUE(NameMarksRaceFile("/x.rce/notes.txt"));  // anywhere in the full name
    EXPECT_FALSE(NameMarksRaceFile("/races/MYRACE.RCE"));
}

TEST(RaceRecordReader, RoundTripOfEveryField) {
    RaceRecord written = ElvesRace("Pass word");
    written.NameSingular = std::string(199, 'x');
    written.Sex = 2;
    written.RaceClass = 5;
    written.DesignSlots = {2, 20, 3, 4, 5, 6, 7, 8};
    RaceRecord read;
    ASSERT_TRUE(ReadRaceRecord(RaceFileBytes(written), read));
    EXPECT_EQ(RaceFileBytes(read), RaceFileBytes(written));  // the writer writes every field
}

TEST(RaceRecordReader, StrayTagsPasswordVersionAndRepeatedRecords) {
    for (int32_t stray : {12, -5}) {
        RaceRecord race;
        race.Password = "old";
        std::vector<uint8_t> bytes = Bytes()
                                         .Value(3, 0x40000000)
                                         .Text(4, "A")
                                         .I32(stray)
                                         .Text(4, "B")
                                         .I32(stray)
                                         .Value(10, 9)
                                         .I32(kRaceTagEnd)
                                         .Text(5, "after")
                                         .End();
        ASSERT_TRUE(ReadRaceRecord(bytes, race)) << stray;
        EXPECT_EQ(race.Password, "");  // emptied before the read
        EXPECT_EQ(race.Version, 2.0f);
        EXPECT_EQ(race.NameSingular, "B");
        EXPECT_EQ(race.NamePlural, "");  // after the end record
        EXPECT_EQ(race.RaceClass, 9);    // as stored
    }
}

TEST(RaceRecordReader, DamagedFilesLeaveTheRecordUnchanged) {
    const std::vector<uint8_t> whole = RaceFileBytes(ElvesRace());
    RaceRecord before;
    before.Password = "keep";
    // Every prefix of a file lacks its end record or cuts a record.
    for (size_t n = 0; n < whole.size(); ++n) {
        RaceRecord race = before;
        FileDamage damage;
        EXPECT_FALSE(ReadRaceRecord({whole.data(), n}, race, &damage)) << n;
        EXPECT_EQ(race.Password, "keep") << n;
        EXPECT_LE(damage.Offset, n);
    }
    for (const std::vector<uint8_t>& bytes : {
             Bytes().I32(4).I32(-1).End(), Bytes().I32(4).I32(201).Raw(std::string(201, 'a')).End(),
             Bytes().I32(9).I32(200).Raw(std::string(200, 'a')).End(),  // no room for the 0
         }) {
        RaceRecord race = before;
        FileDamage damage;
        EXPECT_FALSE(ReadRaceRecord(bytes, race, &damage));
        EXPECT_EQ(damage.Offset, 4u);
        EXPECT_EQ(race.Password, "keep");
    }
}

class RaceFileOperations : public ::testing::Test {
protected:
    ScriptedUiShell shell;
    TempDir dir;

    // A password check that asks the scripted prompt, as the race design wizard asks its
    // password prompt; the readers themselves never reach a shell.
    RacePasswordCheck Prompt() {
        return [this](const std::string& password) {
            return shell.AskPassword(
                [&password](const std::string& typed) { return typed == password; });
        };
    }
};

TEST_F(RaceFileOperations, WizardLoadWithoutPasswordNeverPrompts) {
    RaceDesignValues values = OrcsDesign();
    ASSERT_TRUE(ReadRaceIntoDesign(RaceFileBytes(ElvesRace()), values, Prompt()));
    EXPECT_EQ(shell.passwordPrompts, 0);
    EXPECT_EQ(RaceFileBytes(RaceOf(values)), RaceFileBytes(ElvesRace()));
    EXPECT_EQ(values.Password + values.PasswordConfirm, "");
    EXPECT_EQ(RacePoints(values), 300);
}

TEST_F(RaceFileOperations, CancelledPromptChangesOnlyThePasswordFields) {
    RaceDesignValues values = OrcsDesign();
    shell.passwordAnswers = {std::string("secret"), std::nullopt};  // letter case counts
    ASSERT_TRUE(ReadRaceIntoDesign(RaceFileBytes(ElvesRace("Secret")), values, Prompt()));
    EXPECT_EQ(shell.passwordPrompts, 1);
    EXPECT_EQ(RaceFileBytes(RaceOf(values)), RaceFileBytes(RaceOf(OrcsDesign())));
    EXPECT_EQ(values.Password + values.PasswordConfirm, "");
    EXPECT_EQ(values.LoadedRacePassword, "Secret");
}

TEST_F(RaceFileOperations, RightPasswordAfterAWrongOneLoadsTheRace) {
    RaceDesignValues values = OrcsDesign();
    shell.passwordAnswers = {std::string("wrong"), std::string("Secret")};
    ASSERT_TRUE(ReadRaceIntoDesign(RaceFileBytes(ElvesRace("Secret")), values, Prompt()));
    EXPECT_EQ(shell.passwordPrompts, 1);
    EXPECT_EQ(RaceFileBytes(RaceRecordFromDesign(values, 3.634f)),
              RaceFileBytes(ElvesRace("Secret")));
    EXPECT_EQ(values.PasswordConfirm, "Secret");
}

TEST_F(RaceFileOperations, SlotsCountAgainstTheClassSelectedWhenRead) {
    RaceDesignValues values;  // Mammalia: infantry base 5
    ASSERT_TRUE(ReadRaceIntoDesign(Bytes().Slots({20, 5, 8, 6, 5, 5, 2, 5}).Value(10, 3).End(),
                                   values, Prompt()));
    EXPECT_EQ(values.RaceClass, 3);
    EXPECT_EQ(values.Adjustments[0], 12);  // 20 - 5 = 15, clamped by Insecta to 20 - 8
    EXPECT_EQ(values.Adjustments[6], -1);  // 2 - 3
}

TEST_F(RaceFileOperations, WizardRefusesValuesItCannotShowWithoutPrompting) {
    std::vector<RaceRecord> refused(5, ElvesRace("Secret"));
    refused[0].Sex = 3;
    refused[1].RaceClass = -1;
    refused[2].DesignSlots[7] = 21;
    refused[3].DesignSlots[0] = 1;
    for (size_t i = 0; i < refused.size(); ++i) {
        std::vector<uint8_t> bytes = RaceFileBytes(refused[i]);
        if (i == 4)
            bytes.pop_back();  // cut short
        RaceDesignValues values = OrcsDesign();
        EXPECT_FALSE(ReadRaceIntoDesign(bytes, values, Prompt())) << i;
        EXPECT_EQ(RaceFileBytes(RaceRecordFromDesign(values, 0)),
                  RaceFileBytes(RaceRecordFromDesign(OrcsDesign(), 0)));
        EXPECT_EQ(values.LoadedRacePassword, "");
    }
    EXPECT_EQ(shell.passwordPrompts, 0);
}

TEST_F(RaceFileOperations, DumpReaderReportsTheDamageAndItsOffset) {
    WriteBytes(dir.File("elf.rce"), RaceFileBytes(ElvesRace()));
    RaceFileReadResult good = ReadRaceFileForDump(dir.File("elf.rce"));
    ASSERT_TRUE(good.Race.has_value()) << good.Error;
    EXPECT_EQ(good.Race->LeaderTitle, "King");

    WriteBytes(dir.File("bad.rce"), Bytes().Text(4, "Elf").I32(5).I32(300).End());
    RaceFileReadResult bad = ReadRaceFileForDump(dir.File("bad.rce"));
    EXPECT_FALSE(bad.Race.has_value());
    EXPECT_NE(bad.Error.find("offset 16: text count 300"), std::string::npos) << bad.Error;
}

TEST(RaceCommandLine, ParsesBothSlotFormsAndRefusesWhatTheWizardRefuses) {
    std::string error;
    auto parsed = ParseRaceCommandLine(
        {"--singular", "Elf", "--plural", "Elves", "--leader", "Ara", "--title", "King", "--sex",
         "1", "--slots", "5,5,8,6,5,5,3,5", "-o", "elf.rce"},
        error);
    ASSERT_TRUE(parsed) << error;
    parsed->Race.Version = 3.634f;
    EXPECT_EQ(RaceFileBytes(parsed->Race), RaceFileBytes(ElvesRace()));
    EXPECT_EQ(RaceRefusal(parsed->Race), "");

    auto spaced = ParseRaceCommandLine(
        {"--slots", "7", "5", "6", "8", "5", "4", "4", "3", "--class", "0", "-o", "a"}, error);
    ASSERT_TRUE(spaced) << error;
    EXPECT_EQ(spaced->Race.DesignSlots, ClassBase(0));
    EXPECT_EQ(ParseRaceCommandLine({"--class", "2", "-o", "a"}, error)->Race.DesignSlots,
              ClassBase(2));
    EXPECT_FALSE(ParseRaceCommandLine({"--plural", "Elves"}, error));  // no -o
    EXPECT_FALSE(ParseRaceCommandLine({"--slots", "1", "2", "-o", "a"}, error));

    RaceRecord race = ElvesRace();
    race.LeaderName.clear();
    EXPECT_EQ(RaceRefusal(race), "--leader must not be empty");
    race = ElvesRace(std::string(200, 'p'));
    EXPECT_EQ(RaceRefusal(race), "Password is longer than 199 characters");
    race = ElvesRace();
    race.DesignSlots[6] = 21;
    EXPECT_EQ(RaceRefusal(race), "Mechs design slots 21 are outside 2..20");
    race.DesignSlots[6] = 8;  // Mammalia mechs +5: -138 points
    EXPECT_NE(RaceRefusal(race).find("-138"), std::string::npos);
    race.DesignSlots[6] = 7;  // +4: 54 points
    EXPECT_EQ(RaceRefusal(race), "");
}

}  // namespace
