#include "game/host_file.h"

#include "game/player_file.h"

namespace {

constexpr size_t kHeadBytes = 8;

}  // namespace

std::string HostFileName(std::string_view gameFileText) {
    return std::string(gameFileText) + ".hst";
}

std::vector<uint8_t> EncodeHostFile(const TitleState& title, const WorldMap& world,
                                    std::span<const PlayerSlot> players) {
    RecordWriter writer;
    writer.WriteInt32(PlayerTag::VersionStampA);
    writer.WriteFloat(title.VersionStampA);
    writer.WriteInt32(PlayerTag::VersionStampB);
    writer.WriteFloat(title.VersionStampB);
    WriteWorldRecords(writer, world);

    for (size_t i = 0; i < players.size(); ++i) {
        const PlayerSlot& slot = players[i];
        if (slot.InPlay == 0)
            continue;
        const RaceRecord& race = slot.Race;
        writer.WriteInt32(HostTag::Player);
        writer.WriteInt32(static_cast<int32_t>(i + 1));
        writer.WriteInt32(HostTag::RaceVersion);
        writer.WriteFloat(race.Version);
        if (!race.Password.empty()) {
            writer.WriteInt32(HostTag::Password);
            writer.WriteCountedText(race.Password, false);
        }
        writer.WriteInt32(HostTag::NameSingular);
        writer.WriteCountedText(race.NameSingular, false);
        writer.WriteInt32(HostTag::NamePlural);
        writer.WriteCountedText(race.NamePlural, false);
        writer.WriteInt32(HostTag::LeaderName);
        writer.WriteCountedText(race.LeaderName, false);
        writer.WriteInt32(HostTag::LeaderTitle);
        writer.WriteCountedText(race.LeaderTitle, false);
        writer.WriteInt32(HostTag::Sex);
        writer.WriteInt32(race.Sex);
        writer.WriteInt32(HostTag::RaceClass);
        writer.WriteInt32(race.RaceClass);
        writer.WriteInt32(HostTag::DesignSlots);
        for (int32_t slots : race.DesignSlots)
            writer.WriteInt32(slots);
    }
    return writer.Bytes();
}

WriteOutcome WriteHostFile(std::string_view gameFileText, std::span<const PlayerSlot> players,
                           const WorldMap& world, const TitleState& title) {
    std::vector<uint8_t> bytes = EncodeHostFile(title, world, players);
    return WriteOutcome{WriteFileAtomically(HostFileName(gameFileText), bytes)};
}

std::optional<HostFileHead> ParseHostFileHead(std::span<const uint8_t> bytes) {
    if (bytes.size() < kHeadBytes)
        return std::nullopt;
    return HostFileHead{LoadInt32(bytes.data()), LoadInt32(bytes.data() + 4)};
}

std::optional<HostFileHead> ReadHostFileHead(const std::string& path) {
    std::optional<std::vector<uint8_t>> bytes = ReadFileHead(path, kHeadBytes);
    if (!bytes)
        return std::nullopt;
    return ParseHostFileHead(*bytes);
}

namespace {

// What reading a host file keeps between records: the group its race records go to.
struct HostReading {
    HostFileContents& Contents;
    WorldMap& World;
    RaceRecord* Race = nullptr;  // the current group's race; none before the first tag 12
    // Records of a group that cannot be kept (an eleventh, or before any tag 12) land here.
    RaceRecord Dropped;

    RecordRead Record(int32_t tag, RecordReader& reader, size_t recordStart, ReadOutcome& outcome);
    RecordRead RaceRecordOfGroup(int32_t tag, RecordReader& reader, ReadOutcome& outcome);
};

RecordRead HostReading::Record(int32_t tag, RecordReader& reader, size_t recordStart,
                               ReadOutcome& outcome) {
    if (tag == PlayerTag::VersionStampA)
        return ReadOrCut(reader.ReadFloat(Contents.VersionStampA));
    // Inside a group, tag 3 is the race's version.
    if (tag == PlayerTag::VersionStampB && Race == nullptr)
        return ReadOrCut(reader.ReadFloat(Contents.VersionStampB));
    if (tag == PlayerTag::Width)
        return ReadOrCut(reader.ReadInt32(World.Width));
    if (tag == PlayerTag::Tiles)
        return ReadOrCut(ReadTileRecord(reader, World));
    if (tag == HostTag::Player) {
        int32_t player = 0;
        if (!reader.ReadInt32(player))
            return RecordRead::Cut;
        if (Contents.Players.size() < Contents.Players.capacity() &&
            Contents.Players.size() < static_cast<size_t>(kPlayerCount)) {
            Contents.Players.push_back(HostPlayer{player, RaceRecord{}});
            Race = &Contents.Players.back().Race;
        } else {
            outcome.NoteDamage(recordStart, "more than " + std::to_string(kPlayerCount) +
                                                " player groups; the group is dropped");
            Dropped = RaceRecord{};
            Race = &Dropped;
        }
        return RecordRead::Read;
    }
    if (tag < HostTag::RaceVersion || tag > HostTag::DesignSlots)
        return RecordRead::Unknown;
    if (Race == nullptr) {
        outcome.NoteDamage(
            recordStart, "race record of tag " + std::to_string(tag) + " before any player group");
        Race = &Dropped;
    }
    return RaceRecordOfGroup(tag, reader, outcome);
}

RecordRead HostReading::RaceRecordOfGroup(int32_t tag, RecordReader& reader, ReadOutcome& outcome) {
    std::string* text = nullptr;
    switch (tag) {
        case HostTag::RaceVersion:
            return ReadOrCut(reader.ReadFloat(Race->Version));
        case HostTag::Sex:
            return ReadOrCut(reader.ReadInt32(Race->Sex));
        case HostTag::RaceClass:
            return ReadOrCut(reader.ReadInt32(Race->RaceClass));
        case HostTag::DesignSlots:
            for (int32_t& slots : Race->DesignSlots) {
                if (!reader.ReadInt32(slots))
                    return RecordRead::Cut;
            }
            return RecordRead::Read;
        case HostTag::NameSingular:
            text = &Race->NameSingular;
            break;
        case HostTag::NamePlural:
            text = &Race->NamePlural;
            break;
        case HostTag::LeaderName:
            text = &Race->LeaderName;
            break;
        case HostTag::LeaderTitle:
            text = &Race->LeaderTitle;
            break;
        default:  // HostTag::Password
            text = &Race->Password;
            break;
    }
    std::string value;
    switch (ReadBoundedText(reader, kRaceTextMax, value, outcome, "text")) {
        case TextRead::Ok:
            *text = std::move(value);
            return RecordRead::Read;
        case TextRead::TooLong:  // passed over; the field keeps its value
            return RecordRead::Read;
        case TextRead::Stop:
            break;
    }
    return RecordRead::Stop;
}

}  // namespace

ReadOutcome ReadHostFileImage(std::span<const uint8_t> bytes, HostFileContents& contents,
                              WorldMap& world) {
    HostReading reading{contents, world, nullptr, RaceRecord{}};
    // Room for every group up front, so the current race stays valid as groups are added.
    contents.Players.reserve(contents.Players.size() + kPlayerCount);
    return ReadRecords(
        bytes, FileEnding::LastByte,
        [&reading](int32_t tag, RecordReader& reader, size_t recordStart, ReadOutcome& outcome) {
            return reading.Record(tag, reader, recordStart, outcome);
        });
}
