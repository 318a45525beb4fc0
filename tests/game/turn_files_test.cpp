#include "game/turn_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

#include "game_file_bytes.h"
#include "platform/os/scripted_ui_shell.h"
#include "support/temp_dir.h"

namespace {

constexpr size_t kDesignTail = 161;  // 20 components, 20 counts, the flag

// Appends a design record (tag 5000 and its payload).
FileBytes& Design(FileBytes& file, int32_t slot, int32_t position, std::string_view name,
                  int32_t hull = 0) {
    file.I32(5000).I32(slot).I32(position).I32(hull).Text(name);
    for (int i = 0; i < 20; ++i)
        file.I32(i == 0 ? 4 : -1);
    for (int i = 0; i < 20; ++i)
        file.I32(i == 0 ? 1 : 0);
    return file.U8(7);
}

std::array<int32_t, kDesignPlayerSlots> Counts(const UnitDesignTable& table) {
    std::array<int32_t, kDesignPlayerSlots> counts{};
    for (int s = 0; s < kDesignPlayerSlots; ++s)
        counts[static_cast<size_t>(s)] = table.Count(s);
    return counts;
}

TEST(TurnFileNames, ThirdLastCharacterBecomesTheLetter) {
    EXPECT_EQ(HistoryFileName("war.p03"), "war.H03");
    EXPECT_EQ(HistoryFileName("war.p10"), "war.H10");
    EXPECT_EQ(SendFileName("war.p10"), "war.S10");
    EXPECT_EQ(HistoryFileName("/games/the.long.war/campaign.p07"),
              "/games/the.long.war/campaign.H07");
    EXPECT_EQ(SendFileName("ab"), "Sab");
}

TEST(TurnFileWriters, SendFileIsTwelveBytes) {
    FileBytes expected;
    expected.I32(3).F32(3.634f).I32(0);
    EXPECT_EQ(EncodeSendFile(Stamps(1.0f, 3.634f)), expected.bytes);
}

TEST(TurnFileWriters, HistoryOfTheStartUpDesigns) {
    UnitDesignTable table;
    std::vector<uint8_t> bytes = EncodeHistoryFile(Stamps(1.5f, 3.634f), table);
    EXPECT_EQ(I32At(bytes, 0), 2);
    EXPECT_EQ(F32At(bytes, 4), 1.5f);
    EXPECT_EQ(I32At(bytes, 8), 3);
    EXPECT_EQ(F32At(bytes, 12), 3.634f);

    const std::vector<std::pair<int, int>> expected = {{0, 0}, {0, 1}, {1, 0}, {1, 1}, {3, 0}};
    std::vector<std::pair<int, int>> written;
    size_t at = 16;
    while (I32At(bytes, at) == 5000) {
        int32_t slot = I32At(bytes, at + 4);
        int32_t position = I32At(bytes, at + 8);
        int32_t length = I32At(bytes, at + 16);
        const UnitDesign& design = table.Design(slot, position);
        EXPECT_EQ(I32At(bytes, at + 12), design.Hull);
        EXPECT_EQ(CharsAt(bytes, at + 20, static_cast<size_t>(length)), design.NameText());
        written.emplace_back(slot, position);
        if (design.NameText() == "Warlock") {
            EXPECT_EQ(length, 7);
            // No 0 byte: the slot components follow the name at once.
            EXPECT_EQ(I32At(bytes, at + 27), -1);
            EXPECT_EQ(I32At(bytes, at + 31), 4);  // slot 1: Lightning Blast
        }
        at += 20 + static_cast<size_t>(length) + kDesignTail;
    }
    EXPECT_EQ(written, expected);
    EXPECT_EQ(I32At(bytes, at), 0);
    EXPECT_EQ(bytes.size(), at + 4);
}

TEST(HistoryReader, SavingAndLoadingKeepsEveryCount) {
    UnitDesignTable table;
    const auto startCounts = Counts(table);
    TitleState title = Stamps(1.0f, 3.634f);
    for (int round = 0; round < 3; ++round) {
        std::vector<uint8_t> bytes = EncodeHistoryFile(title, table);
        ReadOutcome outcome = ReadHistoryImage(bytes, title, table);
        EXPECT_TRUE(outcome.EndReached);
        EXPECT_FALSE(outcome.Damaged());
    }
    EXPECT_EQ(Counts(table), startCounts);
    EXPECT_EQ(table.Design(1, 1).NameText(), "Long Boat");
    EXPECT_EQ(table.Design(3, 0).SlotCount[4], 2);
}

TEST(HistoryReader, DesignReplacesTheOneAtItsPosition) {
    UnitDesignTable table;
    TitleState title;
    FileBytes file;
    file.I32(2).F32(2.5f).I32(1);
    Design(file, 0, 0, "Elf", 1);
    Design(file, 5, 3, "Scout").I32(0);
    ReadOutcome outcome = ReadHistoryImage(file.bytes, title, table);
    EXPECT_TRUE(outcome.EndReached);
    EXPECT_EQ(title.VersionStampA, 2.5f);
    const UnitDesign& elf = table.Design(0, 0);
    EXPECT_EQ(elf.NameText(), "Elf");
    EXPECT_EQ(elf.Hull, 1);
    EXPECT_EQ(elf.SlotComponent[0], 4);
    EXPECT_EQ(elf.SlotCount[0], 1);
    EXPECT_EQ(elf.Flag, 7);
    EXPECT_EQ(table.Count(0), 2);
    EXPECT_EQ(table.Count(5), 4);
}

TEST(HistoryReader, RecordsBeyondTheTableArePassedOver) {
    UnitDesignTable table = UnitDesignTable::MakeEmpty();
    TitleState title;
    FileBytes file;
    Design(file, 20, 0, "Slot");
    Design(file, -1, 0, "Slot");
    Design(file, 0, 100, "Position");
    Design(file, 0, -1, "Position");
    Design(file, 0, 0, std::string(32, 'n'));
    Design(file, 0, 1, std::string(31, 'k'));
    file.I32(3).F32(4.5f).I32(0);
    ReadOutcome outcome = ReadHistoryImage(file.bytes, title, table);
    EXPECT_TRUE(outcome.EndReached);
    EXPECT_EQ(outcome.DamageCount, 5);
    EXPECT_EQ(title.VersionStampB, 4.5f);  // read after the passed-over records
    EXPECT_EQ(table.Count(0), 2);
    EXPECT_EQ(table.Design(0, 0).NameText(), "");
    EXPECT_EQ(table.Design(0, 1).NameText(), std::string(31, 'k'));
    for (int s = 1; s < kDesignPlayerSlots; ++s)
        EXPECT_EQ(table.Count(s), 0);
}

TEST(HistoryReader, StopsWhereTheNextRecordIsUnknown) {
    UnitDesignTable table = UnitDesignTable::MakeEmpty();
    TitleState title;
    FileBytes negative;
    Design(negative, 0, 0, "Kept");
    negative.I32(5000).I32(0).I32(1).I32(0).I32(-1);
    Design(negative, 0, 2, "Lost").I32(0);
    ReadOutcome outcome = ReadHistoryImage(negative.bytes, title, table);
    EXPECT_FALSE(outcome.EndReached);
    EXPECT_EQ(table.Count(0), 1);

    FileBytes cut;
    Design(cut, 2, 0, "Cut");
    cut.bytes.resize(cut.bytes.size() - 1);  // the flag is missing
    ReadOutcome cutOutcome = ReadHistoryImage(cut.bytes, title, table);
    EXPECT_TRUE(cutOutcome.Damaged());
    EXPECT_EQ(table.Count(2), 0);

    // Cut inside the next record's tag: one fault, and no end reached.
    FileBytes cutTag;
    Design(cutTag, 1, 0, "Whole").U8(9);
    ReadOutcome tagOutcome = ReadHistoryImage(cutTag.bytes, title, table);
    EXPECT_FALSE(tagOutcome.EndReached);
    EXPECT_EQ(tagOutcome.DamageCount, 1);
    EXPECT_EQ(table.Count(1), 1);
}

TEST(TurnFileSave, WritesBothFilesBesideThePlayerFile) {
    TempDir dir;
    UnitDesignTable table;
    TitleState title = Stamps(1.0f, 3.634f);
    ASSERT_TRUE(SaveTurn(dir.File("war.p03"), title, table));
    EXPECT_EQ(ReadWholeFile(dir.File("war.S03")), EncodeSendFile(title));

    UnitDesignTable loaded = UnitDesignTable::MakeEmpty();
    TitleState read;
    ASSERT_TRUE(ReadHistoryFile(dir.File("war.H03"), read, loaded));
    EXPECT_EQ(Counts(loaded), Counts(table));
    EXPECT_EQ(read.VersionStampB, 3.634f);

    EXPECT_FALSE(ReadHistoryFile(dir.File("war.H04"), read, loaded));
}

TEST(TurnFileSave, AFailedFileLeavesBothAsTheyWere) {
    TempDir dir;
    ScriptedUiShell shell;
    ScopedShell scoped(shell);
    // A folder in the history file's place: the file cannot replace it, and the send file
    // is not written either.
    std::filesystem::create_directory(dir.File("war.H03"));
    WriteOutcome saved = SaveTurn(dir.File("war.p03"), TitleState{}, UnitDesignTable{});
    EXPECT_FALSE(saved);
    ASSERT_TRUE(saved.Failure);
    EXPECT_EQ(saved.Failure->Path, dir.File("war.H03"));
    EXPECT_EQ(saved.Failure->Reason, "Is a directory");
    EXPECT_FALSE(std::filesystem::exists(dir.File("war.S03")));

    saved = SaveTurn(dir.File("gone/war.p03"), TitleState{}, UnitDesignTable{});
    ASSERT_TRUE(saved.Failure);
    EXPECT_EQ(saved.Failure->Path, dir.File("gone/war.H03"));
    EXPECT_EQ(saved.Failure->Reason, "No such file or directory");

    // A send file that cannot be written keeps the history file from being replaced too.
    std::filesystem::remove(dir.File("war.H03"));
    const std::vector<uint8_t> oldHistory = {0, 0, 0, 0};
    ASSERT_TRUE(WriteFileReplacing(dir.File("war.H03"), oldHistory));
    std::filesystem::create_directory(dir.File("war.S03"));
    saved = SaveTurn(dir.File("war.p03"), TitleState{}, UnitDesignTable{});
    ASSERT_TRUE(saved.Failure);
    EXPECT_EQ(saved.Failure->Path, dir.File("war.S03"));
    EXPECT_EQ(ReadWholeFile(dir.File("war.H03")), oldHistory);
    EXPECT_TRUE(shell.messages.empty());
    EXPECT_EQ(shell.endRequests, 0);
}

TEST(TurnFileSave, FailedWriteKeepsTheOldHistory) {
    TempDir dir;
    ScriptedUiShell shell;
    ScopedShell scoped(shell);
    UnitDesignTable table;
    ASSERT_TRUE(WriteHistoryFile(dir.File("war.H01"), {}, table));
    auto old = ReadWholeFile(dir.File("war.H01"));
    for (int i = 0; i < 20; ++i)
        table.AppendOwnDesign(table.Design(3, 0));
    {
        FileSizeLimit limit(old->size() + 100);
        EXPECT_FALSE(WriteHistoryFile(dir.File("war.H01"), {}, table));
    }
    EXPECT_EQ(ReadWholeFile(dir.File("war.H01")), old);
    EXPECT_EQ(shell.endRequests, 0);
}

}  // namespace
