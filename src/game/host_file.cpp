#include "game/host_file.h"

#include "game/player_file.h"
#include "platform/os/ui_shell.h"

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

bool WriteHostFile(std::string_view gameFileText, std::span<const PlayerSlot> players,
                   const WorldMap& world, const TitleState& title) {
    std::vector<uint8_t> bytes = EncodeHostFile(title, world, players);
    if (WriteFileReplacing(HostFileName(gameFileText), bytes))
        return true;
    Shell().ShowMessage("Couldn't open host file", "Fatal Error");
    Shell().EndApplication();
    return false;
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

ReadOutcome ReadHostFileImage(std::span<const uint8_t> bytes, HostFileContents& contents,
                              WorldMap& world) {
    ReadOutcome outcome;
    RecordReader reader(bytes);
    // Records of a group that cannot be kept (an eleventh, or before any tag 12) land here.
    RaceRecord dropped;
    RaceRecord* race = nullptr;
    // Room for every group up front, so `race` stays valid as groups are added.
    contents.Players.reserve(contents.Players.size() + kPlayerCount);

    bool stopped = false;
    while (!stopped && !reader.AtEnd()) {
        const size_t recordStart = reader.Offset();
        int32_t tag = 0;
        if (!ReadRecordTag(reader, outcome, tag)) {
            stopped = !outcome.EndReached;  // a cut tag stops the reading short
            break;
        }

        bool cut = false;
        std::string* text = nullptr;
        if (tag == PlayerTag::VersionStampA) {
            cut = !reader.ReadFloat(contents.VersionStampA);
        } else if (tag == PlayerTag::VersionStampB && race == nullptr) {
            cut = !reader.ReadFloat(contents.VersionStampB);
        } else if (tag == PlayerTag::Width) {
            cut = !reader.ReadInt32(world.Width);
        } else if (tag == PlayerTag::Tiles) {
            cut = !ReadTileRecord(reader, world);
        } else if (tag == HostTag::Player) {
            int32_t player = 0;
            cut = !reader.ReadInt32(player);
            if (!cut) {
                if (contents.Players.size() < contents.Players.capacity() &&
                    contents.Players.size() < static_cast<size_t>(kPlayerCount)) {
                    contents.Players.push_back(HostPlayer{player, RaceRecord{}});
                    race = &contents.Players.back().Race;
                } else {
                    outcome.NoteDamage(recordStart, "more than " + std::to_string(kPlayerCount) +
                                                        " player groups; the group is dropped");
                    dropped = RaceRecord{};
                    race = &dropped;
                }
            }
        } else if (tag >= HostTag::RaceVersion && tag <= HostTag::DesignSlots) {
            if (race == nullptr) {
                outcome.NoteDamage(recordStart, "race record of tag " + std::to_string(tag) +
                                                    " before any player group");
                race = &dropped;
            }
            switch (tag) {
                case HostTag::RaceVersion:
                    cut = !reader.ReadFloat(race->Version);
                    break;
                case HostTag::NameSingular:
                    text = &race->NameSingular;
                    break;
                case HostTag::NamePlural:
                    text = &race->NamePlural;
                    break;
                case HostTag::LeaderName:
                    text = &race->LeaderName;
                    break;
                case HostTag::LeaderTitle:
                    text = &race->LeaderTitle;
                    break;
                case HostTag::Password:
                    text = &race->Password;
                    break;
                case HostTag::Sex:
                    cut = !reader.ReadInt32(race->Sex);
                    break;
                case HostTag::RaceClass:
                    cut = !reader.ReadInt32(race->RaceClass);
                    break;
                case HostTag::DesignSlots:
                    for (int32_t& slots : race->DesignSlots) {
                        if (!reader.ReadInt32(slots)) {
                            cut = true;
                            break;
                        }
                    }
                    break;
                default:
                    break;
            }
        } else {
            continue;  // an unknown tag has no payload
        }

        if (text != nullptr) {
            std::string value;
            TextRead result = ReadBoundedText(reader, kRaceTextMax, value, outcome, "text");
            if (result == TextRead::Stop) {
                stopped = true;
                break;
            }
            if (result == TextRead::Ok)
                *text = std::move(value);
        }
        if (cut) {
            outcome.NoteDamage(recordStart,
                               "the file ends inside the record of tag " + std::to_string(tag));
            stopped = true;
            break;
        }
        outcome.TagsSeen.insert(tag);
    }
    // The file has no end record: reaching its end whole is the proper end.
    if (!stopped)
        outcome.EndReached = true;
    return outcome;
}
