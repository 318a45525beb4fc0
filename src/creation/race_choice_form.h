#pragma once

#include <string>

#include "game/game_state.h"

// "Browse" of a New Game wizard player slot: asks for a race file with the open dialog and
// reads it into the slot's race, showing the refusal's message box when the file is
// refused. True when the race was read; the chosen file's name is then stored in
// chosenFile when given. False on cancel or refusal, with the race unchanged.
bool LoadRaceForPlayer(RaceRecord& race, std::string* chosenFile = nullptr);
