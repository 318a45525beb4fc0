#include "game/player_file.h"

#include <algorithm>
#include <array>

namespace {

// Bytes of one tile in the tile record: Terrain and Altitude.
constexpr size_t kTileBytes = 8;

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

// Reads a message record after its tag. A text whose end is unknown stops the reading (the
// damage is noted); a message that cannot be kept is passed over.
RecordRead ReadMessageRecord(RecordReader& reader, int32_t type, size_t recordStart,
                             MessageStore& store, ReadOutcome& outcome) {
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
                return RecordRead::Stop;
        }
    }
    if (!keep)
        return RecordRead::Read;
    if (store.Count() >= kMaxStoredMessages) {
        outcome.NoteDamage(recordStart, "more than " + std::to_string(kMaxStoredMessages) +
                                            " messages; the message is dropped");
        return RecordRead::Read;
    }
    store.Append(type, params[0], params[1], params[2]);
    return RecordRead::Read;
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

WriteOutcome WritePlayerFile(std::string_view gameFileText, int player,
                             std::span<const PendingMessage> messages, const WorldMap& world,
                             const TitleState& title) {
    std::vector<uint8_t> bytes = EncodePlayerFile(title, world, messages);
    return WriteOutcome{WriteFileAtomically(PlayerFileName(gameFileText, player), bytes)};
}

namespace {

// Reads one record of a player file into the targets; `tilesRead` receives how many tiles
// a tile record held whole.
RecordRead ReadPlayerRecord(const PlayerFileTargets& targets, int& tilesRead, int32_t tag,
                            RecordReader& reader, size_t recordStart, ReadOutcome& outcome) {
    if (tag >= PlayerTag::MessageFirst && tag <= PlayerTag::MessageLast) {
        return ReadMessageRecord(reader, tag - PlayerTag::MessageFirst, recordStart,
                                 targets.Messages, outcome);
    }
    switch (tag) {
        case PlayerTag::VersionStampA:
            return ReadOrCut(reader.ReadFloat(targets.Title.VersionStampA));
        case PlayerTag::VersionStampB:
            return ReadOrCut(reader.ReadFloat(targets.Title.VersionStampB));
        case PlayerTag::Width:
            return ReadOrCut(reader.ReadInt32(targets.World.Width));
        case PlayerTag::Tiles: {
            const size_t whole = std::min<size_t>(reader.Remaining() / kTileBytes, kWorldTiles);
            const bool complete = ReadTileRecord(reader, targets.World);
            tilesRead = static_cast<int>(whole);
            return ReadOrCut(complete);
        }
        case PlayerTag::ResearchPoints:
            return ReadOrCut(reader.ReadInt32(targets.Research.AvailableResearchPoints));
        case PlayerTag::PointListCount: {
            int32_t count = 0;
            if (!reader.ReadInt32(count))
                return RecordRead::Cut;
            if (count < 0 || count > kMaxPointListCount) {
                outcome.NoteDamage(recordStart, "PointList count " + std::to_string(count) +
                                                    " is outside 0.." +
                                                    std::to_string(kMaxPointListCount));
            } else {
                targets.Title.PointList.assign(static_cast<size_t>(count), PointEntry{});
            }
            return RecordRead::Read;
        }
        case PlayerTag::PointListEntry: {
            int32_t index = 0;
            PointEntry entry;
            if (!(reader.ReadInt32(index) && reader.ReadFloat(entry.X) &&
                  reader.ReadFloat(entry.Y) && reader.ReadFloat(entry.Z)))
                return RecordRead::Cut;
            if (index < 0 || static_cast<size_t>(index) >= targets.Title.PointList.size()) {
                outcome.NoteDamage(recordStart, "PointList index " + std::to_string(index) +
                                                    " is outside the count " +
                                                    std::to_string(targets.Title.PointList.size()));
            } else {
                targets.Title.PointList[static_cast<size_t>(index)] = entry;
            }
            return RecordRead::Read;
        }
        default:
            return RecordRead::Unknown;
    }
}

// Reads the records of a player file into the targets; `tilesRead` receives how many tiles
// the last tile record held whole (0 without one).
ReadOutcome ReadPlayerRecordsCounting(std::span<const uint8_t> bytes,
                                      const PlayerFileTargets& targets, int& tilesRead) {
    targets.Title.PointList.clear();
    tilesRead = 0;
    return ReadRecords(bytes, FileEnding::EndRecord,
                       [&targets, &tilesRead](int32_t tag, RecordReader& reader, size_t recordStart,
                                              ReadOutcome& outcome) {
                           return ReadPlayerRecord(targets, tilesRead, tag, reader, recordStart,
                                                   outcome);
                       });
}

}  // namespace

ReadOutcome ReadPlayerRecords(std::span<const uint8_t> bytes, const PlayerFileTargets& targets) {
    int tilesRead = 0;
    return ReadPlayerRecordsCounting(bytes, targets, tilesRead);
}

ReadOutcome LoadPlayerFileImage(std::span<const uint8_t> bytes, const PlayerFileTargets& targets) {
    ReadOutcome outcome = ReadPlayerRecords(bytes, targets);
    targets.Messages.EnsureOneMessage();
    return outcome;
}

PlayerFileLoad LoadPlayerFile(const std::string& path, const PlayerFileTargets& targets) {
    PlayerFileLoad load;
    WholeFile file = ReadWholeFileWithReason(path);
    if (!file.Bytes) {
        load.Failure = ReadFailure{path, file.Reason};
        return load;
    }
    load.FileSize = file.Bytes->size();
    load.Outcome = ReadPlayerRecordsCounting(*file.Bytes, targets, load.TilesRead);
    targets.Messages.EnsureOneMessage();
    // Without a single tile there is no world to show.
    if (load.TilesRead == 0) {
        load.Failure = ReadFailure{
            path, load.FileSize == 0 ? "the file is empty" : "the file holds no tile data"};
    }
    return load;
}

std::string DescribePlayerFileDamage(std::string_view path, const PlayerFileLoad& load) {
    const ReadOutcome& outcome = load.Outcome;
    if (!outcome.Damaged())
        return {};
    std::string text(path);
    int described = 1;
    if (outcome.CutShort) {
        text += " ends at byte " + std::to_string(load.FileSize) + ", inside ";
        const std::optional<int32_t> tag = outcome.CutRecordTag;
        if (tag == PlayerTag::Tiles) {
            text += "the tile data: the rest of the world is unknown";
        } else if (tag && *tag >= PlayerTag::MessageFirst && *tag <= PlayerTag::MessageLast) {
            text += "a message: that message and what follows it are lost";
        } else if (tag) {
            text += "the record of tag " + std::to_string(*tag) + ": what follows it is lost";
        } else {
            text += "a record tag: what follows it is lost";
        }
    } else if (!outcome.EndReached && outcome.DamageCount == 1) {
        text += " ends at byte " + std::to_string(load.FileSize) +
                " without its end record: records after it may be missing";
    } else {
        text += " is damaged at byte " + std::to_string(outcome.FirstDamage->Offset) + ": " +
                outcome.FirstDamage->What;
    }
    const int more = outcome.DamageCount - described;
    if (more > 0)
        text += " (and " + std::to_string(more) + " more fault" + (more > 1 ? "s" : "") + ")";
    return text;
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
