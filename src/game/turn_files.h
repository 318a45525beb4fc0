// The files a saved turn leaves beside the player file: the history file (the unit designs,
// read back when the game is loaded again) and the send file (the version stamp only).
//
// History file records: 2 float32 VersionStampA, 3 float32 VersionStampB, 5000 one design,
// 0 end. A design record is: player slot, list position, hull, name length n (int32 each),
// the n name characters (no 0 byte), 20 slot components, 20 slot counts (int32 each) and
// one flag byte. Any other tag has no payload.
//
// The reader never writes outside the UnitDesignTable; beyond a limit:
//   - a player slot outside 0..19, a position outside 0..99 or a name length over 31 with
//     the record whole in the file: the record is passed over and reading goes on (its
//     length is known from n);
//   - a negative name length: reading stops (nothing tells where the next record starts);
//   - the file ending inside a record or before tag 0: reading stops, what was read stays.
//
// Send file: tag 3 with VersionStampB, then tag 0 (12 bytes).
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "game/game_state.h"
#include "game/record_stream.h"
#include "game/unit_design.h"

namespace HistoryTag {
inline constexpr int32_t Design = 5000;
}  // namespace HistoryTag

// The path of the player file without its last 3 characters, the letter, then the path's
// last 2 characters: "war.p10" -> "war.H10" (history) and "war.S10" (send). A path shorter
// than 3 characters gets the letter put before its last 2 characters.
std::string HistoryFileName(std::string_view playerFilePath);
std::string SendFileName(std::string_view playerFilePath);

// The bytes of the history file: 2, 3, one 5000 record for every design of every player
// slot (slots 0 to 19, each in list order), 0.
std::vector<uint8_t> EncodeHistoryFile(const TitleState& title, const UnitDesignTable& designs);
// The 12 bytes of the send file.
std::vector<uint8_t> EncodeSendFile(const TitleState& title);

// Write the file at the given path. On failure (the file cannot be created, or a write
// fails) the outcome names the file and the reason; an older file stays as it was.
WriteOutcome WriteHistoryFile(const std::string& historyPath, const TitleState& title,
                              const UnitDesignTable& designs);
WriteOutcome WriteSendFile(const std::string& sendPath, const TitleState& title);

// "&Save": writes the history file and the send file, both named after the player file, as
// one set: both are replaced, or (on failure) neither, and the failure names the file that
// failed.
WriteOutcome SaveTurn(const std::string& playerFilePath, const TitleState& title,
                      const UnitDesignTable& designs);

// Called for each design record that fits the table, in file order.
using HistoryDesignSink =
    std::function<void(int32_t playerSlot, int32_t position, const UnitDesign& design)>;

// Reads the records of a history file image: the stamps into `title`, each fitting design
// to `sink` (see the top of this file for the limits).
ReadOutcome ReadHistoryRecords(std::span<const uint8_t> bytes, TitleState& title,
                               const HistoryDesignSink& sink);

// Reads a history file image into the table: each design replaces the one at its slot and
// position, and the slot's count becomes at least position + 1.
ReadOutcome ReadHistoryImage(std::span<const uint8_t> bytes, TitleState& title,
                             UnitDesignTable& designs);

// Reads the history file at `path` as "Load Game" does. A missing or unreadable file
// changes nothing and returns false, which the caller passes over in silence.
bool ReadHistoryFile(const std::string& path, TitleState& title, UnitDesignTable& designs,
                     ReadOutcome* outcome = nullptr);

// Reads a send file image: tags 2 and 3 into the stamps, any other tag without payload, up
// to tag 0.
ReadOutcome ReadSendImage(std::span<const uint8_t> bytes, TitleState& title);
