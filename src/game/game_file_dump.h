// Descriptions of game files as one JSON object each, for `velmora-tool dump`.
//
// Every object starts with "kind" ("player", "host", "history", "send" or "race"); the other
// keys are the games' own field names:
//   player:  VersionStampA, VersionStampB, Width, Messages [{Type, Param1, Param2, Param3}],
//            AvailableResearchPoints, PointList [[x, y, z]], TerrainCounts
//   host:    VersionStampA, VersionStampB, Width, Players [{Player, Race}], TerrainCounts
//   history: VersionStampA, VersionStampB, Designs [{PlayerSlot, Position, Hull, Name,
//            SlotComponent [20], SlotCount [20], Flag}] in file order
//   send:    VersionStampB
//   race:    Race
// Race is {Version, NameSingular, NamePlural, LeaderName, LeaderTitle, Password, Sex,
// RaceClass, DesignSlots [8]}. TerrainCounts maps each terrain code found ("-1", "0" ...) to
// its number of tiles. With the tiles option, "Tiles" is 128 rows of 256 [Terrain, Altitude]
// pairs. A value the file does not carry is null; a float that is not finite is null too,
// and a whole one has no fraction. Texts (Windows-1252 in the files) are written in plain
// ASCII: every other character as its \uXXXX escape.
// Messages are those of the file: the "no new messages" message of a loaded game is not
// added.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "game/game_state.h"

enum class GameFileKind { Unknown, Player, Host, History, Send, Race };

// The kind a file's name gives: ".hst" -> host, ".rce" -> race (letter case ignored), and a
// name ending in "." and a letter and two digits: p/P -> player, H/h -> history, S/s -> send.
GameFileKind GameFileKindOf(std::string_view path);
// "player", "host", "history", "send", "race"; "unknown" for Unknown.
std::string_view GameFileKindName(GameFileKind kind);

struct DumpOptions {
    bool Tiles = false;  // add the "Tiles" array
};

struct DumpResult {
    std::string Json;   // the object, when the file was read whole
    std::string Error;  // otherwise what is wrong, naming the file (and the offset)
    bool Ok() const { return Error.empty(); }
};

// Describe a file image; `name` is used in error texts. A damaged image gives an error
// with the offset of its first fault.
DumpResult DumpPlayerImage(std::string_view name, std::span<const uint8_t> bytes,
                           const DumpOptions& options);
DumpResult DumpHostImage(std::string_view name, std::span<const uint8_t> bytes,
                         const DumpOptions& options);
DumpResult DumpHistoryImage(std::string_view name, std::span<const uint8_t> bytes);
DumpResult DumpSendImage(std::string_view name, std::span<const uint8_t> bytes);

// {"kind":"race","Race":{...}}
std::string DumpRaceRecord(const RaceRecord& race);

// Reads the file at `path` and describes it by the kind of its name. Race files are read by
// the race module, so here they (and names of no known kind) give an error.
DumpResult DumpGameFile(const std::string& path, const DumpOptions& options);
