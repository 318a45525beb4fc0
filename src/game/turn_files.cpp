#include "game/turn_files.h"

#include <algorithm>

#include "game/player_file.h"

namespace {

// Bytes of a design record after its name: 20 components, 20 counts, the flag.
constexpr size_t kDesignTailBytes = 2 * kHullSlotCount * 4 + 1;

std::string TurnFileName(std::string_view playerFilePath, char letter) {
    size_t keep = playerFilePath.size() >= 3 ? playerFilePath.size() - 3 : 0;
    size_t tail = std::min<size_t>(2, playerFilePath.size());
    std::string name(playerFilePath.substr(0, keep));
    name += letter;
    name += playerFilePath.substr(playerFilePath.size() - tail);
    return name;
}

void WriteDesign(RecordWriter& writer, int32_t playerSlot, int32_t position,
                 const UnitDesign& design) {
    writer.WriteInt32(HistoryTag::Design);
    writer.WriteInt32(playerSlot);
    writer.WriteInt32(position);
    writer.WriteInt32(design.Hull);
    writer.WriteCountedText(design.NameText(), false);
    for (int32_t component : design.SlotComponent)
        writer.WriteInt32(component);
    for (int32_t count : design.SlotCount)
        writer.WriteInt32(count);
    writer.WriteByte(design.Flag);
}

// Reads a design record after its tag. A design outside the table is passed over (Read);
// a record whose end is unknown stops the reading.
RecordRead ReadDesign(RecordReader& reader, size_t recordStart, ReadOutcome& outcome,
                      const HistoryDesignSink& sink) {
    int32_t playerSlot = 0;
    int32_t position = 0;
    int32_t nameLength = 0;
    UnitDesign design;
    if (!(reader.ReadInt32(playerSlot) && reader.ReadInt32(position) &&
          reader.ReadInt32(design.Hull) && reader.ReadInt32(nameLength))) {
        outcome.NoteDamage(recordStart, "the file ends inside a design record");
        return RecordRead::Stop;
    }
    if (nameLength < 0) {
        outcome.NoteDamage(recordStart,
                           "design name length " + std::to_string(nameLength) + " is negative");
        return RecordRead::Stop;
    }
    if (reader.Remaining() < static_cast<size_t>(nameLength) + kDesignTailBytes) {
        outcome.NoteDamage(recordStart, "the file ends inside a design record");
        reader.Skip(reader.Remaining());
        return RecordRead::Stop;
    }

    std::string fault;
    if (playerSlot < 0 || playerSlot >= kDesignPlayerSlots) {
        fault = "design player slot " + std::to_string(playerSlot) + " is outside 0.." +
                std::to_string(kDesignPlayerSlots - 1);
    } else if (position < 0 || position >= kDesignsPerPlayerSlot) {
        fault = "design position " + std::to_string(position) + " is outside 0.." +
                std::to_string(kDesignsPerPlayerSlot - 1);
    } else if (nameLength > kUnitNameMaxLength) {
        fault = "design name length " + std::to_string(nameLength) + " is above " +
                std::to_string(kUnitNameMaxLength);
    }
    if (!fault.empty()) {
        outcome.NoteDamage(recordStart, fault + "; the design is passed over");
        reader.Skip(static_cast<size_t>(nameLength) + kDesignTailBytes);
        return RecordRead::Read;
    }

    std::string name(static_cast<size_t>(nameLength), '\0');
    reader.ReadBytes(std::span<uint8_t>(reinterpret_cast<uint8_t*>(name.data()), name.size()));
    design.SetName(name);
    for (int32_t& component : design.SlotComponent)
        reader.ReadInt32(component);
    for (int32_t& count : design.SlotCount)
        reader.ReadInt32(count);
    reader.ReadByte(design.Flag);
    sink(playerSlot, position, design);
    return RecordRead::Read;
}

// Reads a version stamp record (tag 2 or 3) into the title; any other tag is not one.
RecordRead ReadStampRecord(int32_t tag, RecordReader& reader, TitleState& title) {
    if (tag == PlayerTag::VersionStampA)
        return ReadOrCut(reader.ReadFloat(title.VersionStampA));
    if (tag == PlayerTag::VersionStampB)
        return ReadOrCut(reader.ReadFloat(title.VersionStampB));
    return RecordRead::Unknown;
}

}  // namespace

std::string HistoryFileName(std::string_view playerFilePath) {
    return TurnFileName(playerFilePath, 'H');
}

std::string SendFileName(std::string_view playerFilePath) {
    return TurnFileName(playerFilePath, 'S');
}

std::vector<uint8_t> EncodeHistoryFile(const TitleState& title, const UnitDesignTable& designs) {
    RecordWriter writer;
    writer.WriteInt32(PlayerTag::VersionStampA);
    writer.WriteFloat(title.VersionStampA);
    writer.WriteInt32(PlayerTag::VersionStampB);
    writer.WriteFloat(title.VersionStampB);
    for (int32_t slot = 0; slot < kDesignPlayerSlots; ++slot) {
        for (int32_t position = 0; position < designs.Count(slot); ++position) {
            WriteDesign(writer, slot, position, designs.Design(slot, position));
        }
    }
    writer.WriteInt32(PlayerTag::End);
    return writer.Bytes();
}

std::vector<uint8_t> EncodeSendFile(const TitleState& title) {
    RecordWriter writer;
    writer.WriteInt32(PlayerTag::VersionStampB);
    writer.WriteFloat(title.VersionStampB);
    writer.WriteInt32(PlayerTag::End);
    return writer.Bytes();
}

WriteOutcome WriteHistoryFile(const std::string& historyPath, const TitleState& title,
                              const UnitDesignTable& designs) {
    return WriteOutcome{WriteFileAtomically(historyPath, EncodeHistoryFile(title, designs))};
}

WriteOutcome WriteSendFile(const std::string& sendPath, const TitleState& title) {
    return WriteOutcome{WriteFileAtomically(sendPath, EncodeSendFile(title))};
}

WriteOutcome SaveTurn(const std::string& playerFilePath, const TitleState& title,
                      const UnitDesignTable& designs) {
    FileSetWriter files;
    files.Add(HistoryFileName(playerFilePath), EncodeHistoryFile(title, designs));
    files.Add(SendFileName(playerFilePath), EncodeSendFile(title));
    return WriteOutcome{files.Commit()};
}

ReadOutcome ReadHistoryRecords(std::span<const uint8_t> bytes, TitleState& title,
                               const HistoryDesignSink& sink) {
    return ReadRecords(bytes, FileEnding::EndRecord,
                       [&title, &sink](int32_t tag, RecordReader& reader, size_t recordStart,
                                       ReadOutcome& outcome) {
                           if (tag != HistoryTag::Design)
                               return ReadStampRecord(tag, reader, title);
                           return ReadDesign(reader, recordStart, outcome, sink);
                       });
}

ReadOutcome ReadHistoryImage(std::span<const uint8_t> bytes, TitleState& title,
                             UnitDesignTable& designs) {
    return ReadHistoryRecords(
        bytes, title, [&designs](int32_t playerSlot, int32_t position, const UnitDesign& design) {
            designs.Store(playerSlot, position, design);
        });
}

bool ReadHistoryFile(const std::string& path, TitleState& title, UnitDesignTable& designs,
                     ReadOutcome* outcome) {
    std::optional<std::vector<uint8_t>> bytes = ReadWholeFile(path);
    if (!bytes)
        return false;
    ReadOutcome result = ReadHistoryImage(*bytes, title, designs);
    if (outcome != nullptr)
        *outcome = std::move(result);
    return true;
}

ReadOutcome ReadSendImage(std::span<const uint8_t> bytes, TitleState& title) {
    return ReadRecords(bytes, FileEnding::EndRecord,
                       [&title](int32_t tag, RecordReader& reader, size_t, ReadOutcome&) {
                           return ReadStampRecord(tag, reader, title);
                       });
}
