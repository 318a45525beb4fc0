#include "game/player_file.h"

#include <array>

#include "platform/os/ui_shell.h"

namespace {

// Texts per message type, as its text's MPARAM markers need them.
constexpr std::array<int, kMessageTypes> kTextsPerType = {0, 3, 1, 2, 2, 3, 1, 2, 3, 1};

// The research points and point list every new player file carries.
constexpr int32_t kStartResearchPoints = 50;
constexpr std::array<PointEntry, 2> kStartPoints = {
    PointEntry{20.5f, 50.9f, 20.0f},
    PointEntry{30.2f, 70.1f, 29.6f},
};

std::string_view CutParam(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    return text.substr(0, kMessageParamMaxLength);
}

// Reads a message record after its tag. False when reading has to stop.
bool ReadMessageRecord(RecordReader& reader, int32_t type, size_t recordStart, MessageStore& store,
                       ReadOutcome& outcome) {
    std::array<std::string, 3> params;
    bool keep = true;
    for (int i = 0; i < kTextsPerType[static_cast<size_t>(type)]; ++i) {
        switch (ReadBoundedText(reader, kMaxMessageTextBytes, params[static_cast<size_t>(i)],
                                outcome, "message text")) {
            case TextRead::Ok:
                break;
            case TextRead::TooLong:
                keep = false;
                break;
            case TextRead::Stop:
                return false;
        }
    }
    if (!keep)
        return true;
    if (store.Count() >= kMaxStoredMessages) {
        outcome.NoteDamage(recordStart, "more than " + std::to_string(kMaxStoredMessages) +
                                            " messages; the message is dropped");
        return true;
    }
    store.Append(type, params[0], params[1], params[2]);
    return true;
}

}  // namespace

int MessageTextCount(int32_t type) {
    if (type < 0 || type >= kMessageTypes)
        return 0;
    return kTextsPerType[static_cast<size_t>(type)];
}

std::string PlayerFileName(std::string_view gameFileText, int player) {
    std::string name(gameFileText);
    name += ".p";
    if (player >= 0 && player < 10)
        name += '0';
    name += std::to_string(player);
    return name;
}

void WriteWorldRecords(RecordWriter& writer, const WorldMap& world) {
    writer.WriteInt32(PlayerTag::Width);
    writer.WriteInt32(world.Width);
    writer.WriteInt32(PlayerTag::Tiles);
    for (const auto& row : world.Tiles) {
        for (const Tile& tile : row) {
            writer.WriteInt32(tile.Terrain);
            writer.WriteInt32(tile.Altitude);
        }
    }
}

bool ReadTileRecord(RecordReader& reader, WorldMap& world) {
    world.ClearTiles();
    for (auto& row : world.Tiles) {
        for (Tile& tile : row) {
            if (!reader.ReadInt32(tile.Terrain))
                return false;
            if (!reader.ReadInt32(tile.Altitude))
                return false;
        }
    }
    return true;
}

std::vector<uint8_t> EncodePlayerFile(const TitleState& title, const WorldMap& world,
                                      std::span<const PendingMessage> messages) {
    RecordWriter writer;
    writer.WriteInt32(PlayerTag::VersionStampA);
    writer.WriteFloat(title.VersionStampA);
    writer.WriteInt32(PlayerTag::VersionStampB);
    writer.WriteFloat(title.VersionStampB);
    WriteWorldRecords(writer, world);

    for (const PendingMessage& message : messages) {
        if (message.Type < 0 || message.Type >= kMessageTypes)
            continue;
        writer.WriteInt32(PlayerTag::MessageFirst + message.Type);
        const std::array<const std::string*, 3> params = {&message.Param1, &message.Param2,
                                                          &message.Param3};
        for (int i = 0; i < MessageTextCount(message.Type); ++i) {
            std::string_view text;
            if (i < message.ParamCount)
                text = CutParam(*params[static_cast<size_t>(i)]);
            writer.WriteCountedText(text, true);
        }
    }

    writer.WriteInt32(PlayerTag::ResearchPoints);
    writer.WriteInt32(kStartResearchPoints);
    writer.WriteInt32(PlayerTag::PointListCount);
    writer.WriteInt32(static_cast<int32_t>(kStartPoints.size()));
    for (size_t i = 0; i < kStartPoints.size(); ++i) {
        writer.WriteInt32(PlayerTag::PointListEntry);
        writer.WriteInt32(static_cast<int32_t>(i));
        writer.WriteFloat(kStartPoints[i].X);
        writer.WriteFloat(kStartPoints[i].Y);
        writer.WriteFloat(kStartPoints[i].Z);
    }
    writer.WriteInt32(PlayerTag::End);
    return writer.Bytes();
}

bool WritePlayerFile(std::string_view gameFileText, int player,
                     std::span<const PendingMessage> messages, const WorldMap& world,
                     const TitleState& title) {
    std::vector<uint8_t> bytes = EncodePlayerFile(title, world, messages);
    if (WriteFileReplacing(PlayerFileName(gameFileText, player), bytes))
        return true;
    Shell().ShowMessage("Couldn't open player file", "Fatal Error");
    Shell().EndApplication();
    return false;
}

ReadOutcome ReadPlayerRecords(std::span<const uint8_t> bytes, const PlayerFileTargets& targets) {
    ReadOutcome outcome;
    RecordReader reader(bytes);
    targets.Title.PointList.clear();

    bool stopped = false;
    while (!stopped && !reader.AtEnd()) {
        const size_t recordStart = reader.Offset();
        int32_t tag = 0;
        if (!ReadRecordTag(reader, outcome, tag)) {
            stopped = !outcome.EndReached;  // a cut tag stops the reading short
            break;
        }

        bool cut = false;
        if (tag == PlayerTag::VersionStampA) {
            cut = !reader.ReadFloat(targets.Title.VersionStampA);
        } else if (tag == PlayerTag::VersionStampB) {
            cut = !reader.ReadFloat(targets.Title.VersionStampB);
        } else if (tag == PlayerTag::Width) {
            cut = !reader.ReadInt32(targets.World.Width);
        } else if (tag == PlayerTag::Tiles) {
            cut = !ReadTileRecord(reader, targets.World);
        } else if (tag >= PlayerTag::MessageFirst && tag <= PlayerTag::MessageLast) {
            if (!ReadMessageRecord(reader, tag - PlayerTag::MessageFirst, recordStart,
                                   targets.Messages, outcome)) {
                stopped = true;  // the damage is noted
                break;
            }
        } else if (tag == PlayerTag::ResearchPoints) {
            cut = !reader.ReadInt32(targets.Research.AvailableResearchPoints);
        } else if (tag == PlayerTag::PointListCount) {
            int32_t count = 0;
            cut = !reader.ReadInt32(count);
            if (!cut && (count < 0 || count > kMaxPointListCount)) {
                outcome.NoteDamage(recordStart, "PointList count " + std::to_string(count) +
                                                    " is outside 0.." +
                                                    std::to_string(kMaxPointListCount));
            } else if (!cut) {
                targets.Title.PointList.assign(static_cast<size_t>(count), PointEntry{});
            }
        } else if (tag == PlayerTag::PointListEntry) {
            int32_t index = 0;
            PointEntry entry;
            cut = !(reader.ReadInt32(index) && reader.ReadFloat(entry.X) &&
                    reader.ReadFloat(entry.Y) && reader.ReadFloat(entry.Z));
            if (!cut) {
                if (index < 0 || static_cast<size_t>(index) >= targets.Title.PointList.size()) {
                    outcome.NoteDamage(recordStart,
                                       "PointList index " + std::to_string(index) +
                                           " is outside the count " +
                                           std::to_string(targets.Title.PointList.size()));
                } else {
                    targets.Title.PointList[static_cast<size_t>(index)] = entry;
                }
            }
        } else {
            continue;  // an unknown tag has no payload
        }

        if (cut) {
            outcome.NoteDamage(recordStart,
                               "the file ends inside the record of tag " + std::to_string(tag));
            stopped = true;
            break;
        }
        outcome.TagsSeen.insert(tag);
    }
    if (!outcome.EndReached && !stopped) {
        outcome.NoteDamage(reader.Offset(), "the file ends before its end record");
    }
    return outcome;
}

ReadOutcome LoadPlayerFileImage(std::span<const uint8_t> bytes, const PlayerFileTargets& targets) {
    ReadOutcome outcome = ReadPlayerRecords(bytes, targets);
    targets.Messages.EnsureOneMessage();
    return outcome;
}

bool ReadPlayerFile(const std::string& path, const PlayerFileTargets& targets,
                    ReadOutcome* outcome) {
    std::optional<std::vector<uint8_t>> bytes = ReadWholeFile(path);
    if (!bytes)
        return false;
    ReadOutcome result = LoadPlayerFileImage(*bytes, targets);
    if (outcome != nullptr)
        *outcome = std::move(result);
    return true;
}
