#include "race/race_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "game/record_stream.h"
#include "platform/os/scripted_ui_shell.h"
#include "race/race_command_line.h"
#include "support/temp_dir.h"

namespace {

// Little-endian record bytes for hand-made files.
class Bytes {
public:
    Bytes& I32(int32_t v) {
        writer_.WriteInt32(v);
        return *this;
    }
    Bytes& Text(int32_t tag, std::string_view text) {
        writer_.WriteInt32(tag);
        writer_.WriteCountedText(text, true);
        return *this;
    }
    Bytes& Value(int32_t tag, int32_t v) { return I32(tag).I32(v); }
    Bytes& Slots(std::array<int32_t, 8> slots) {
        I32(kRaceTagDesignSlots);
        for (int32_t s : slots)
            I32(s);
        return *this;
    }
    Bytes& Raw(std::string_view chars) {
        writer_.WriteBytes({reinterpret_cast<const uint8_t*>(chars.data()), chars.size()});
        return *this;
    }
    std::vector<uint8_t> End() { return I32(kRaceTagEnd).writer_.Bytes(); }
    std::vector<uint8_t> Cut() const { return writer_.Bytes(); }

private:
    RecordWriter writer_;
};

RaceRecord ElvesRace(std::string password = "") {
    RaceRecord race;
    race.Version = 3.634f;
    race.NameSingular = "Elf";
    race.NamePlural = "Elves";
    race.LeaderName = "Ara";
    race.LeaderTitle = "King";
    race.Password = std::move(password);
    race.Sex = 1;
    race.RaceClass = 4;
    race.DesignSlots = {5, 5, 8, 6, 5, 5, 3, 5};
    return race;
}

RaceDesignValues OrcsDesign() {
    RaceDesignValues values;
    values.RaceNameSingular = "Orc";
    values.RaceNamePlural = "Orcs";
    values.RaceLeaderName = "Grom";
    values.RaceLeaderTitle = "Chief";
    values.Password = values.PasswordConfirm = "typed";
    values.Sex = 2;
    ChangeRaceClass(values, 0);
    PressCategoryArrow(values, 3, true);
    return values;
}

// The race part of the values: names, sex, class and slots.
RaceRecord RaceOf(const RaceDesignValues& values) {
    RaceRecord race = RaceRecordFromDesign(values, 3.634f);
    race.Password.clear();
    return race;
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

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
    ScopedShell installed{shell};
    TempDir dir;

    void ExpectOneMessage(const std::string& text, const std::string& caption) {
        ASSERT_EQ(shell.messages.size(), 1u);
        EXPECT_EQ(shell.messages[0].text, text);
        EXPECT_EQ(shell.messages[0].caption, caption);
        shell.messages.clear();
    }
};

TEST_F(RaceFileOperations, WizardLoadWithoutPasswordNeverPrompts) {
    RaceDesignValues values = OrcsDesign();
    ASSERT_TRUE(ReadRaceIntoDesign(RaceFileBytes(ElvesRace()), values));
    EXPECT_EQ(shell.passwordPrompts, 0);
    EXPECT_EQ(RaceFileBytes(RaceOf(values)), RaceFileBytes(ElvesRace()));
    EXPECT_EQ(values.Password + values.PasswordConfirm, "");
    EXPECT_EQ(RacePoints(values), 300);
}

TEST_F(RaceFileOperations, CancelledPromptChangesOnlyThePasswordFields) {
    RaceDesignValues values = OrcsDesign();
    shell.passwordAnswers = {std::string("secret"), std::nullopt};  // letter case counts
    ASSERT_TRUE(ReadRaceIntoDesign(RaceFileBytes(ElvesRace("Secret")), values));
    EXPECT_EQ(shell.passwordPrompts, 1);
    EXPECT_EQ(RaceFileBytes(RaceOf(values)), RaceFileBytes(RaceOf(OrcsDesign())));
    EXPECT_EQ(values.Password + values.PasswordConfirm, "");
    EXPECT_EQ(values.LoadedRacePassword, "Secret");
}

TEST_F(RaceFileOperations, RightPasswordAfterAWrongOneLoadsTheRace) {
    RaceDesignValues values = OrcsDesign();
    shell.passwordAnswers = {std::string("wrong"), std::string("Secret")};
    ASSERT_TRUE(ReadRaceIntoDesign(RaceFileBytes(ElvesRace("Secret")), values));
    EXPECT_EQ(shell.passwordPrompts, 1);
    EXPECT_EQ(RaceFileBytes(RaceRecordFromDesign(values, 3.634f)),
              RaceFileBytes(ElvesRace("Secret")));
    EXPECT_EQ(values.PasswordConfirm, "Secret");
}

TEST_F(RaceFileOperations, SlotsCountAgainstTheClassSelectedWhenRead) {
    RaceDesignValues values;  // Mammalia: infantry base 5
    ASSERT_TRUE(
        ReadRaceIntoDesign(Bytes().Slots({20, 5, 8, 6, 5, 5, 2, 5}).Value(10, 3).End(), values));
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
        EXPECT_FALSE(ReadRaceIntoDesign(bytes, values)) << i;
        EXPECT_EQ(RaceFileBytes(RaceRecordFromDesign(values, 0)),
                  RaceFileBytes(RaceRecordFromDesign(OrcsDesign(), 0)));
        EXPECT_EQ(values.LoadedRacePassword, "");
    }
    EXPECT_EQ(shell.passwordPrompts, 0);
}

TEST_F(RaceFileOperations, SaveWritesUnderTheRceName) {
    std::filesystem::create_directory(dir.path() / "Races.old");
    shell.saveAnswers.push_back(dir.File("Races.old/myrace.rac"));
    RaceDesignValues values = OrcsDesign();
    ASSERT_TRUE(SaveRaceFromDesign(values, 3.634f));
    ASSERT_EQ(shell.saveRequests.size(), 1u);
    EXPECT_EQ(shell.saveRequests[0].title, "Save Race File");
    EXPECT_EQ(shell.saveRequests[0].filter, "Race Files (*.rce)|*.rce");
    EXPECT_EQ(shell.saveRequests[0].defaultExt, "rac");
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.File("Races.old/myrace.rac")));
    EXPECT_EQ(ReadWholeFile(dir.File("Races.old/myrace.rce")),
              RaceFileBytes(RaceRecordFromDesign(values, 3.634f)));
}

TEST_F(RaceFileOperations, SaveRefusals) {
    RaceDesignValues values = OrcsDesign();
    values.PasswordConfirm = "Typed";
    shell.saveAnswers = {dir.File("a.rac"), dir.File("a.rac")};
    EXPECT_FALSE(SaveRaceFromDesign(values, 3.634f));
    ExpectOneMessage("Incorrect Password Conformation, Please Reinput Password", "Password Error!");

    values = OrcsDesign();
    values.RaceLeaderTitle = std::string(200, 't');
    EXPECT_FALSE(SaveRaceFromDesign(values, 3.634f));
    ExpectOneMessage("Leader Title Is Too Long, A Race File Holds At Most 199 Characters",
                     "File Error");
    EXPECT_TRUE(shell.saveRequests.empty());  // neither reached the dialog

    shell.saveAnswers = {std::nullopt, dir.File("no-folder/a.rac")};
    EXPECT_FALSE(SaveRaceFromDesign(OrcsDesign(), 3.634f));  // cancelled
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_FALSE(SaveRaceFromDesign(OrcsDesign(), 3.634f));
    ExpectOneMessage("Unable to Save Race File", "File Error");
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST_F(RaceFileOperations, WizardLoadChecksEachInTurn) {
    WriteBytes(dir.File("MYRACE.RCE"), RaceFileBytes(ElvesRace()));
    std::filesystem::create_directory(dir.path() / "folder.rce");
    WriteBytes(dir.File("damaged.rce"), Bytes().Text(4, "Elf").Cut());
    const std::pair<std::string, const char*> refusals[] = {
        {dir.File("absent.rce"), "Race File Does Not Exist!"},
        {dir.File("MYRACE.RCE"), "Invalid Race File"},
        {dir.File("folder.rce"), "Unable to Open Race File"},
        {dir.File("damaged.rce"), "Invalid Race File"},
    };
    for (const auto& [file, text] : refusals) {
        shell.openAnswers.push_back(file);
        RaceDesignValues values = OrcsDesign();
        EXPECT_FALSE(LoadRaceIntoDesign(values)) << file;
        ExpectOneMessage(text, "File Error");
        EXPECT_EQ(values.Password, "typed");
    }
    EXPECT_EQ(shell.openRequests.back().filter, "Race Files (*.rce)|*.rce|All Files (*.*)|*.*");

    WriteBytes(dir.File("myrace.rce.bak"), RaceFileBytes(ElvesRace()));
    shell.openAnswers = {std::nullopt, dir.File("myrace.rce.bak")};
    RaceDesignValues values;
    EXPECT_FALSE(LoadRaceIntoDesign(values));  // cancelled
    ASSERT_TRUE(LoadRaceIntoDesign(values));
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_EQ(RaceHeader(values), "The Elves");
}

TEST_F(RaceFileOperations, PlayerSlotLoad) {
    RaceRecord race;
    race.NamePlural = "Orcs";
    WriteBytes(dir.File("MYRACE.RCE"), RaceFileBytes(ElvesRace()));
    WriteBytes(dir.File("elf.rce"), RaceFileBytes(ElvesRace("Secret")));
    shell.openAnswers = {std::nullopt, dir.File("MYRACE.RCE"), dir.File("elf.rce")};
    EXPECT_FALSE(LoadRaceForPlayer(race));
    EXPECT_FALSE(LoadRaceForPlayer(race));
    ExpectOneMessage("Invalid Race File", "File Error");
    EXPECT_EQ(race.NamePlural, "Orcs");

    std::string chosen;
    ASSERT_TRUE(LoadRaceForPlayer(race, &chosen));
    EXPECT_EQ(chosen, dir.File("elf.rce"));
    EXPECT_EQ(RaceFileBytes(race), RaceFileBytes(ElvesRace("Secret")));
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
