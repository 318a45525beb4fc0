#include "game/game_file_dump.h"

#include <array>
#include <cctype>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "game/host_file.h"
#include "game/message_store.h"
#include "game/player_file.h"
#include "game/record_stream.h"
#include "game/turn_files.h"
#include "game/world_map.h"

namespace {

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
    if (text.size() < suffix.size())
        return false;
    text = text.substr(text.size() - suffix.size());
    for (size_t i = 0; i < suffix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != suffix[i])
            return false;
    }
    return true;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

DumpResult Damaged(std::string_view name, const ReadOutcome& outcome) {
    return DumpResult{{}, DescribeDamage(name, outcome)};
}

void WriteStamp(JsonWriter& json, std::string_view key, bool present, float value) {
    json.Key(key);
    if (present) {
        json.Float(value);
    } else {
        json.Null();
    }
}

void WriteInt32Array(JsonWriter& json, std::span<const int32_t> values) {
    json.BeginArray();
    for (int32_t value : values)
        json.Int(value);
    json.EndArray();
}

void WriteTerrain(JsonWriter& json, const WorldMap& world, const DumpOptions& options) {
    // The codes a game gives (-1 to 6) are counted in place; any other in the map.
    std::array<int64_t, 8> usual{};
    std::map<int32_t, int64_t> counts;
    for (const auto& row : world.Tiles) {
        for (const Tile& tile : row) {
            if (tile.Terrain >= -1 && tile.Terrain <= 6) {
                ++usual[static_cast<size_t>(tile.Terrain + 1)];
            } else {
                ++counts[tile.Terrain];
            }
        }
    }
    for (int32_t code = -1; code <= 6; ++code) {
        if (int64_t count = usual[static_cast<size_t>(code + 1)]; count > 0)
            counts[code] = count;
    }
    json.Key("TerrainCounts");
    json.BeginObject();
    for (const auto& [code, count] : counts) {
        json.Key(std::to_string(code));
        json.Int(count);
    }
    json.EndObject();

    if (!options.Tiles)
        return;
    json.Key("Tiles");
    json.BeginArray();
    for (const auto& row : world.Tiles) {
        json.BeginArray();
        for (const Tile& tile : row) {
            json.BeginArray();
            json.Int(tile.Terrain);
            json.Int(tile.Altitude);
            json.EndArray();
        }
        json.EndArray();
    }
    json.EndArray();
}

void WriteWidth(JsonWriter& json, const ReadOutcome& outcome, const WorldMap& world) {
    json.Key("Width");
    if (outcome.Saw(PlayerTag::Width)) {
        json.Int(world.Width);
    } else {
        json.Null();
    }
}

}  // namespace

GameFileKind GameFileKindOf(std::string_view path) {
    if (EndsWithNoCase(path, ".hst"))
        return GameFileKind::Host;
    if (EndsWithNoCase(path, ".rce"))
        return GameFileKind::Race;
    if (path.size() >= 4) {
        std::string_view tail = path.substr(path.size() - 4);
        if (tail[0] == '.' && IsDigit(tail[2]) && IsDigit(tail[3])) {
            switch (tail[1]) {
                case 'p':
                case 'P':
                    return GameFileKind::Player;
                case 'H':
                case 'h':
                    return GameFileKind::History;
                case 'S':
                case 's':
                    return GameFileKind::Send;
                default:
                    break;
            }
        }
    }
    return GameFileKind::Unknown;
}

std::string_view GameFileKindName(GameFileKind kind) {
    switch (kind) {
        case GameFileKind::Player:
            return "player";
        case GameFileKind::Host:
            return "host";
        case GameFileKind::History:
            return "history";
        case GameFileKind::Send:
            return "send";
        case GameFileKind::Race:
            return "race";
        case GameFileKind::Unknown:
            break;
    }
    return "unknown";
}

DumpResult DumpPlayerImage(std::string_view name, std::span<const uint8_t> bytes,
                           const DumpOptions& options) {
    auto world = std::make_unique<WorldMap>();
    TitleState title;
    MessageStore messages(std::vector<MessageText>{});
    ResearchPoints research;
    ReadOutcome outcome = ReadPlayerRecords(bytes, {*world, title, messages, research});
    if (outcome.Damaged())
        return Damaged(name, outcome);

    JsonWriter json;
    json.BeginObject();
    json.Key("kind");
    json.String("player");
    WriteStamp(json, "VersionStampA", outcome.Saw(PlayerTag::VersionStampA), title.VersionStampA);
    WriteStamp(json, "VersionStampB", outcome.Saw(PlayerTag::VersionStampB), title.VersionStampB);
    WriteWidth(json, outcome, *world);

    json.Key("Messages");
    json.BeginArray();
    for (int i = 0; i < messages.Count(); ++i) {
        const StoredMessage& message = messages.Message(i);
        json.BeginObject();
        json.Key("Type");
        json.Int(message.Type);
        json.Key("Param1");
        json.String(ParamText(message.Param1));
        json.Key("Param2");
        json.String(ParamText(message.Param2));
        json.Key("Param3");
        json.String(ParamText(message.Param3));
        json.EndObject();
    }
    json.EndArray();

    json.Key("AvailableResearchPoints");
    if (outcome.Saw(PlayerTag::ResearchPoints)) {
        json.Int(research.AvailableResearchPoints);
    } else {
        json.Null();
    }

    json.Key("PointList");
    json.BeginArray();
    for (const PointEntry& point : title.PointList) {
        json.BeginArray();
        json.Float(point.X);
        json.Float(point.Y);
        json.Float(point.Z);
        json.EndArray();
    }
    json.EndArray();

    WriteTerrain(json, *world, options);
    json.EndObject();
    return DumpResult{json.Text(), {}};
}

void WriteRaceJson(JsonWriter& json, const RaceRecord& race) {
    json.BeginObject();
    json.Key("Version");
    json.Float(race.Version);
    json.Key("NameSingular");
    json.String(race.NameSingular);
    json.Key("NamePlural");
    json.String(race.NamePlural);
    json.Key("LeaderName");
    json.String(race.LeaderName);
    json.Key("LeaderTitle");
    json.String(race.LeaderTitle);
    json.Key("Password");
    json.String(race.Password);
    json.Key("Sex");
    json.Int(race.Sex);
    json.Key("RaceClass");
    json.Int(race.RaceClass);
    json.Key("DesignSlots");
    WriteInt32Array(json, race.DesignSlots);
    json.EndObject();
}

std::string DumpRaceRecord(const RaceRecord& race) {
    JsonWriter json;
    json.BeginObject();
    json.Key("kind");
    json.String("race");
    json.Key("Race");
    WriteRaceJson(json, race);
    json.EndObject();
    return json.Text();
}

DumpResult DumpHostImage(std::string_view name, std::span<const uint8_t> bytes,
                         const DumpOptions& options) {
    auto world = std::make_unique<WorldMap>();
    HostFileContents contents;
    ReadOutcome outcome = ReadHostFileImage(bytes, contents, *world);
    if (outcome.Damaged())
        return Damaged(name, outcome);

    JsonWriter json;
    json.BeginObject();
    json.Key("kind");
    json.String("host");
    WriteStamp(json, "VersionStampA", outcome.Saw(PlayerTag::VersionStampA),
               contents.VersionStampA);
    WriteStamp(json, "VersionStampB", outcome.Saw(PlayerTag::VersionStampB),
               contents.VersionStampB);
    WriteWidth(json, outcome, *world);
    json.Key("Players");
    json.BeginArray();
    for (const HostPlayer& player : contents.Players) {
        json.BeginObject();
        json.Key("Player");
        json.Int(player.Player);
        json.Key("Race");
        WriteRaceJson(json, player.Race);
        json.EndObject();
    }
    json.EndArray();
    WriteTerrain(json, *world, options);
    json.EndObject();
    return DumpResult{json.Text(), {}};
}

DumpResult DumpHistoryImage(std::string_view name, std::span<const uint8_t> bytes) {
    TitleState title;
    JsonWriter designs;
    designs.BeginArray();
    ReadOutcome outcome = ReadHistoryRecords(
        bytes, title, [&designs](int32_t playerSlot, int32_t position, const UnitDesign& design) {
            designs.BeginObject();
            designs.Key("PlayerSlot");
            designs.Int(playerSlot);
            designs.Key("Position");
            designs.Int(position);
            designs.Key("Hull");
            designs.Int(design.Hull);
            designs.Key("Name");
            designs.String(design.NameText());
            designs.Key("SlotComponent");
            WriteInt32Array(designs, design.SlotComponent);
            designs.Key("SlotCount");
            WriteInt32Array(designs, design.SlotCount);
            designs.Key("Flag");
            designs.Int(design.Flag);
            designs.EndObject();
        });
    designs.EndArray();
    if (outcome.Damaged())
        return Damaged(name, outcome);

    JsonWriter json;
    json.BeginObject();
    json.Key("kind");
    json.String("history");
    WriteStamp(json, "VersionStampA", outcome.Saw(PlayerTag::VersionStampA), title.VersionStampA);
    WriteStamp(json, "VersionStampB", outcome.Saw(PlayerTag::VersionStampB), title.VersionStampB);
    json.Key("Designs");
    json.RawValue(designs.Text());
    json.EndObject();
    return DumpResult{json.Text(), {}};
}

DumpResult DumpSendImage(std::string_view name, std::span<const uint8_t> bytes) {
    TitleState title;
    ReadOutcome outcome = ReadSendImage(bytes, title);
    if (outcome.Damaged())
        return Damaged(name, outcome);
    JsonWriter json;
    json.BeginObject();
    json.Key("kind");
    json.String("send");
    WriteStamp(json, "VersionStampB", outcome.Saw(PlayerTag::VersionStampB), title.VersionStampB);
    json.EndObject();
    return DumpResult{json.Text(), {}};
}

DumpResult DumpGameFile(const std::string& path, const DumpOptions& options) {
    GameFileKind kind = GameFileKindOf(path);
    if (kind == GameFileKind::Unknown) {
        return DumpResult{{},
                          path +
                              ": the name does not tell the kind of game file (.pNN, .hst, "
                              ".HNN, .SNN or .rce)"};
    }
    if (kind == GameFileKind::Race) {
        return DumpResult{{}, path + ": race files are read by the race module"};
    }
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return DumpResult{{}, path + ": no such file"};
    std::optional<std::vector<uint8_t>> bytes = ReadWholeFile(path);
    if (!bytes) {
        return DumpResult{{}, path + ": cannot be read (not a regular file, or over 64 MiB)"};
    }
    switch (kind) {
        case GameFileKind::Player:
            return DumpPlayerImage(path, *bytes, options);
        case GameFileKind::Host:
            return DumpHostImage(path, *bytes, options);
        case GameFileKind::History:
            return DumpHistoryImage(path, *bytes);
        case GameFileKind::Send:
            return DumpSendImage(path, *bytes);
        default:
            break;
    }
    return DumpResult{{}, path + ": unknown kind"};
}
