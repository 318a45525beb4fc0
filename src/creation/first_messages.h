#pragma once

#include <array>
#include <string>
#include <string_view>

#include "game/game_state.h"

// The first messages of a new game, put into the players' pending message slots.

// A text as a message parameter holds it: its first 99 characters.
std::string MessageParamText(std::string_view text);

// Empties every pending message of every player (type -1, no parameters).
void ClearPendingMessages(std::array<PlayerSlot, kPlayerCount>& players);

// Empties every pending message, then gives each player in play the welcome message in slot
// 0 (type 1 with the leader's name, the race's singular name and the leader's title) and
// players 1 to 4, in play or not, their two demonstration messages in slots 1 and 2.
void PrepareFirstMessages(std::array<PlayerSlot, kPlayerCount>& players);
