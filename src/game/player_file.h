// The player file: everything one player receives from the game (the world as he knows it,
// his new messages, research points and the point list), as tagged records ending with tag 0.
//
//   2     float32   VersionStampA          3000  int32   AvailableResearchPoints
//   3     float32   VersionStampB          4000  int32   PointList count (a new list)
//   1000  int32     Width                  4001  int32 index, 3 x float32: one entry
//   1001  128 x 256 x (Terrain, Altitude)  0     end of file
//   2000 + t        message of type t (0..9) with the type's number of texts; a text is a
//                   count n (characters + 1) and n bytes ending with a 0 byte
//   any other tag   no payload
//
// The reader takes the records in any order and number. It never writes outside its
// stores; a record beyond a limit is handled like this:
//   - a message record when the store already holds 50 messages: its texts are read and
//     dropped, reading goes on (later records still count);
//   - a text count above 100 bytes: the message is dropped and reading goes on after the
//     text's bytes (the count still says where the next record starts);
//   - a negative text count: reading stops (nothing tells where the next record starts);
//   - a PointList count that is negative or above kMaxPointListCount: the record is
//     ignored, the list stays as it was;
//   - a PointList index outside 0 .. count - 1: the entry is ignored;
//   - the file ending inside a record or before tag 0: reading stops, what was read stays
//     (tiles the file does not cover keep Terrain -1, Altitude 0).
// Each of these is noted in the ReadOutcome, so the tool can call the file damaged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "game/game_state.h"
#include "game/message_store.h"
#include "game/record_stream.h"
#include "game/world_map.h"

// Record tags of the player file (the host and history files share 2, 3, 1000 and 1001).
namespace PlayerTag {
inline constexpr int32_t End = 0;
inline constexpr int32_t VersionStampA = 2;
inline constexpr int32_t VersionStampB = 3;
inline constexpr int32_t Width = 1000;
inline constexpr int32_t Tiles = 1001;
inline constexpr int32_t MessageFirst = 2000;  // 2000 + message type
inline constexpr int32_t MessageLast = 2009;
inline constexpr int32_t ResearchPoints = 3000;
inline constexpr int32_t PointListCount = 4000;
inline constexpr int32_t PointListEntry = 4001;
}  // namespace PlayerTag

constexpr int kMessageTypes = 10;
// The most entries a PointList count may announce; a larger count is ignored.
constexpr int32_t kMaxPointListCount = 65536;
// The most bytes a message text record may hold, its 0 byte included.
constexpr int32_t kMaxMessageTextBytes = kMessageParamBytes;

// How many texts a message of the type carries (0 for a type outside 0..9).
int MessageTextCount(int32_t type);

// The name of player p's file: the game file text, ".p" and p as two digits ("war", 7 ->
// "war.p07"; 10 -> "war.p10"). Any length of text, path included, is kept whole.
std::string PlayerFileName(std::string_view gameFileText, int player);

// Writes tag 1000 with the width and tag 1001 with every tile's Terrain and Altitude, row
// by row (shared with the host file).
void WriteWorldRecords(RecordWriter& writer, const WorldMap& world);
// Reads the payload of tag 1001 into the map: every tile is first reset (Terrain -1,
// Altitude 0, second value 0), then the pairs are read row by row. False when the file ends
// inside the record; the tiles read so far keep their values.
bool ReadTileRecord(RecordReader& reader, WorldMap& world);

// The bytes of a player file: 2, 3, 1000, 1001, the messages, 3000 with 50, 4000 with 2,
// the two entries (20.5, 50.9, 20.0) and (30.2, 70.1, 29.6), and 0.
// Messages of Type -1 (empty) or outside 0..9 are not written; every written message
// carries exactly the number of texts its type has (Param1, Param2, Param3 in turn; a
// parameter beyond ParamCount is written empty), each cut to 99 characters, so every file
// written reads back record for record.
std::vector<uint8_t> EncodePlayerFile(const TitleState& title, const WorldMap& world,
                                      std::span<const PendingMessage> messages);

// Writes the file of player p (1..10) beside the game file text. On failure (the file
// cannot be created, or a write fails) the outcome names the file and the reason; an older
// file of the same name is then left as it was.
WriteOutcome WritePlayerFile(std::string_view gameFileText, int player,
                             std::span<const PendingMessage> messages, const WorldMap& world,
                             const TitleState& title);

// What a player file fills.
struct PlayerFileTargets {
    WorldMap& World;
    TitleState& Title;
    MessageStore& Messages;
    ResearchPoints& Research;
};

// Reads the records of a player file image into the targets (see the top of this file).
// Sets the PointList to empty first. Does not add the "no new messages" message.
ReadOutcome ReadPlayerRecords(std::span<const uint8_t> bytes, const PlayerFileTargets& targets);

// Reads a player file image as "Load Game" does: the records, then a store left without
// messages gets one of type 0.
ReadOutcome LoadPlayerFileImage(std::span<const uint8_t> bytes, const PlayerFileTargets& targets);

// How "Load Game" read a player file.
struct PlayerFileLoad {
    // Set when the file is not taken: it is missing, cannot be read, is larger than 64 MiB
    // or holds no tile at all (empty, or cut before its tile data): nothing of a world.
    std::optional<ReadFailure> Failure;
    ReadOutcome Outcome;  // what the reader found (whole, or where it is damaged)
    size_t FileSize = 0;
    int TilesRead = 0;  // tiles the file held whole; the others keep Terrain -1
    explicit operator bool() const { return !Failure.has_value(); }
};

// Reads the player file at `path` as LoadPlayerFileImage does and tells how it went. A
// damaged file is still taken with what could be read (Outcome tells the damage). When the
// file is refused for want of tiles, the targets may hold what it had before the tiles; the
// caller discards them.
PlayerFileLoad LoadPlayerFile(const std::string& path, const PlayerFileTargets& targets);

// What is wrong with a file that was taken, for the player, naming the file by `path`:
//   "war.p01 ends at byte 100000, inside the tile data: the rest of the world is unknown"
//   "war.p01 is damaged at byte 262196: message text count 300 is above 100"
// and " (and N more faults)" when there are others. Empty for a whole file.
std::string DescribePlayerFileDamage(std::string_view path, const PlayerFileLoad& load);

// Reads the player file at `path` as LoadPlayerFileImage does. Returns false (and changes
// nothing) when the file does not exist, cannot be read or is larger than 64 MiB (no
// player file comes near that); the caller reports that. A
// damaged file still returns true with what could be read; `outcome` tells the damage.
bool ReadPlayerFile(const std::string& path, const PlayerFileTargets& targets,
                    ReadOutcome* outcome = nullptr);
