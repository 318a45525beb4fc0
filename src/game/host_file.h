// The host file: the game's master copy (the whole world and the race of every player in
// play), as tagged records with no end record. Texts are a count n (the text length, no 0
// byte) followed by the n characters.
//
//   2 float32 VersionStampA, 3 float32 VersionStampB, 1000 Width, 1001 tiles (as in the
//   player file), then for each player in play, in player order, a group:
//   12 int32 player number, 3 float32 race Version, 9 Password (only when not empty),
//   4 NameSingular, 5 NamePlural, 6 LeaderName, 7 LeaderTitle, 8 int32 Sex,
//   10 int32 RaceClass, 11 8 x int32 DesignSlots.
//
// The whole-file reader (used by the tool) stops at the file's end (or at a tag 0). It keeps
// at most 10 groups and texts of at most 199 characters; beyond a limit:
//   - a text count above 199 within the file: the text is passed over (the field keeps its
//     value) and reading goes on;
//   - a negative text count: reading stops;
//   - an eleventh group, or a race record before any tag 12: its records are read and
//     dropped;
//   - the file ending inside a record: reading stops, what was read stays.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "game/game_state.h"
#include "game/record_stream.h"
#include "game/world_map.h"

// Record tags of a player's group in the host file (tag 3 in a group is the race's Version).
namespace HostTag {
inline constexpr int32_t RaceVersion = 3;
inline constexpr int32_t NameSingular = 4;
inline constexpr int32_t NamePlural = 5;
inline constexpr int32_t LeaderName = 6;
inline constexpr int32_t LeaderTitle = 7;
inline constexpr int32_t Sex = 8;
inline constexpr int32_t Password = 9;
inline constexpr int32_t RaceClass = 10;
inline constexpr int32_t DesignSlots = 11;
inline constexpr int32_t Player = 12;
}  // namespace HostTag

// The game file text followed by ".hst"; any length is kept whole.
std::string HostFileName(std::string_view gameFileText);

// The bytes of the host file for the ten player slots (slot i is player i + 1). No end record.
std::vector<uint8_t> EncodeHostFile(const TitleState& title, const WorldMap& world,
                                    std::span<const PlayerSlot> players);

// Writes the host file beside the game file text. On failure (the file cannot be created,
// or a write fails) the outcome names the file and the reason; an older file of the same
// name stays as it was.
WriteOutcome WriteHostFile(std::string_view gameFileText, std::span<const PlayerSlot> players,
                           const WorldMap& world, const TitleState& title);

// The first two 32-bit values of a host file: the first record's tag and the 32 bits after
// it (the version stamp's bits, kept as an integer).
struct HostFileHead {
    int32_t HostFileTag = 0;
    int32_t HostFileValue = 0;
};

// Reads the head from the first 8 bytes of an image; std::nullopt when it is shorter.
std::optional<HostFileHead> ParseHostFileHead(std::span<const uint8_t> bytes);
// Reads the head of the host file at `path`; std::nullopt when the file is missing, cannot
// be opened or ends before its eighth byte (the host screen passes over all of these).
std::optional<HostFileHead> ReadHostFileHead(const std::string& path);

// One player's group of a host file.
struct HostPlayer {
    int32_t Player = 0;
    RaceRecord Race;
};

// Everything a host file holds apart from the tiles.
struct HostFileContents {
    float VersionStampA = 0.0f;
    float VersionStampB = 0.0f;
    std::vector<HostPlayer> Players;  // at most kPlayerCount, in file order
};

// Reads a whole host file image: the head values into `contents`, the tiles into `world`
// (see the top of this file for the limits).
ReadOutcome ReadHostFileImage(std::span<const uint8_t> bytes, HostFileContents& contents,
                              WorldMap& world);
