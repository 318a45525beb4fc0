#include "game/game_file_dump.h"

#include <nlohmann/json.hpp>

#include <array>
#include <cctype>
#include <cmath>
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
#include "platform/os/windows_1252.h"

namespace {

// A JSON value whose objects keep their keys in the order they were set, and whose
// fractional numbers are float32, as the files hold them: each prints in the shortest form
// that reads back as the same float ("3.634", not the digits of its double).
using Json = nlohmann::basic_json<nlohmann::ordered_map, std::vector, std::string, bool,
                                  std::int64_t, std::uint64_t, float>;

// The game's texts are Windows-1252; a JSON value holds UTF-8.
Json Text(std::string_view windows1252Text) {
    return Windows1252ToUtf8(windows1252Text);
}

// A float of a file. JSON cannot hold NaN or infinity: they become null. A whole number is
// written without a fraction ("20", not "20.0"); -0 keeps its sign as a float.
Json Number(float value) {
    if (!std::isfinite(value)) {
        return nullptr;
    }
    constexpr float kExactIntegers = 9007199254740992.0f;  // 2^53
    if (std::trunc(value) == value && std::fabs(value) < kExactIntegers &&
        !(value == 0.0f && std::signbit(value))) {
        return static_cast<std::int64_t>(value);
    }
    return value;
}

// Compact text, every character outside printable ASCII written as a \u escape, so that
// the output is plain ASCII.
std::string Serialise(const Json& json) {
    return json.dump(-1, ' ', true, Json::error_handler_t::replace);
}

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

// A version stamp; null when the file does not carry it.
Json Stamp(bool present, float value) {
    return present ? Number(value) : Json(nullptr);
}

// Adds "TerrainCounts" and, with the tiles option, "Tiles".
void AddTerrain(Json& json, const WorldMap& world, const DumpOptions& options) {
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
    Json& terrainCounts = json["TerrainCounts"] = Json::object();
    for (const auto& [code, count] : counts)
        terrainCounts[std::to_string(code)] = count;

    if (!options.Tiles)
        return;
    Json tiles = Json::array();
    for (const auto& row : world.Tiles) {
        Json& tileRow = tiles.emplace_back(Json::array());
        for (const Tile& tile : row)
            tileRow.push_back(Json::array({tile.Terrain, tile.Altitude}));
    }
    json["Tiles"] = std::move(tiles);
}

Json Width(const ReadOutcome& outcome, const WorldMap& world) {
    return outcome.Saw(PlayerTag::Width) ? Json(world.Width) : Json(nullptr);
}

// The race object's fields.
Json RaceJson(const RaceRecord& race) {
    Json json = Json::object();
    json["Version"] = Number(race.Version);
    json["NameSingular"] = Text(race.NameSingular);
    json["NamePlural"] = Text(race.NamePlural);
    json["LeaderName"] = Text(race.LeaderName);
    json["LeaderTitle"] = Text(race.LeaderTitle);
    json["Password"] = Text(race.Password);
    json["Sex"] = race.Sex;
    json["RaceClass"] = race.RaceClass;
    json["DesignSlots"] = race.DesignSlots;
    return json;
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

    Json json = Json::object();
    json["kind"] = "player";
    json["VersionStampA"] = Stamp(outcome.Saw(PlayerTag::VersionStampA), title.VersionStampA);
    json["VersionStampB"] = Stamp(outcome.Saw(PlayerTag::VersionStampB), title.VersionStampB);
    json["Width"] = Width(outcome, *world);

    Json& list = json["Messages"] = Json::array();
    for (int i = 0; i < messages.Count(); ++i) {
        const StoredMessage& message = messages.Message(i);
        Json& entry = list.emplace_back(Json::object());
        entry["Type"] = message.Type;
        entry["Param1"] = Text(ParamText(message.Param1));
        entry["Param2"] = Text(ParamText(message.Param2));
        entry["Param3"] = Text(ParamText(message.Param3));
    }

    json["AvailableResearchPoints"] = outcome.Saw(PlayerTag::ResearchPoints)
                                          ? Json(research.AvailableResearchPoints)
                                          : Json(nullptr);

    Json& points = json["PointList"] = Json::array();
    for (const PointEntry& point : title.PointList)
        points.push_back(Json::array({Number(point.X), Number(point.Y), Number(point.Z)}));

    AddTerrain(json, *world, options);
    return DumpResult{Serialise(json), {}};
}

std::string DumpRaceRecord(const RaceRecord& race) {
    Json json = Json::object();
    json["kind"] = "race";
    json["Race"] = RaceJson(race);
    return Serialise(json);
}

DumpResult DumpHostImage(std::string_view name, std::span<const uint8_t> bytes,
                         const DumpOptions& options) {
    auto world = std::make_unique<WorldMap>();
    HostFileContents contents;
    ReadOutcome outcome = ReadHostFileImage(bytes, contents, *world);
    if (outcome.Damaged())
        return Damaged(name, outcome);

    Json json = Json::object();
    json["kind"] = "host";
    json["VersionStampA"] = Stamp(outcome.Saw(PlayerTag::VersionStampA), contents.VersionStampA);
    json["VersionStampB"] = Stamp(outcome.Saw(PlayerTag::VersionStampB), contents.VersionStampB);
    json["Width"] = Width(outcome, *world);
    Json& players = json["Players"] = Json::array();
    for (const HostPlayer& player : contents.Players) {
        Json& entry = players.emplace_back(Json::object());
        entry["Player"] = player.Player;
        entry["Race"] = RaceJson(player.Race);
    }
    AddTerrain(json, *world, options);
    return DumpResult{Serialise(json), {}};
}

DumpResult DumpHistoryImage(std::string_view name, std::span<const uint8_t> bytes) {
    TitleState title;
    Json designs = Json::array();
    ReadOutcome outcome = ReadHistoryRecords(
        bytes, title, [&designs](int32_t playerSlot, int32_t position, const UnitDesign& design) {
            Json& entry = designs.emplace_back(Json::object());
            entry["PlayerSlot"] = playerSlot;
            entry["Position"] = position;
            entry["Hull"] = design.Hull;
            entry["Name"] = Text(design.NameText());
            entry["SlotComponent"] = design.SlotComponent;
            entry["SlotCount"] = design.SlotCount;
            entry["Flag"] = design.Flag;
        });
    if (outcome.Damaged())
        return Damaged(name, outcome);

    Json json = Json::object();
    json["kind"] = "history";
    json["VersionStampA"] = Stamp(outcome.Saw(PlayerTag::VersionStampA), title.VersionStampA);
    json["VersionStampB"] = Stamp(outcome.Saw(PlayerTag::VersionStampB), title.VersionStampB);
    json["Designs"] = std::move(designs);
    return DumpResult{Serialise(json), {}};
}

DumpResult DumpSendImage(std::string_view name, std::span<const uint8_t> bytes) {
    TitleState title;
    ReadOutcome outcome = ReadSendImage(bytes, title);
    if (outcome.Damaged())
        return Damaged(name, outcome);
    Json json = Json::object();
    json["kind"] = "send";
    json["VersionStampB"] = Stamp(outcome.Saw(PlayerTag::VersionStampB), title.VersionStampB);
    return DumpResult{Serialise(json), {}};
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
