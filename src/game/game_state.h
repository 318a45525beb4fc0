#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

constexpr int kPlayerCount = 10;
constexpr int kPendingMessagesPerPlayer = 5;
constexpr int kDesignSlotCategories = 8;
constexpr int kRaceTextMax = 199;  // characters of a race text

// A message that game creation puts into a player's file.
struct PendingMessage {
    int32_t Type = -1;  // 0..9; -1 = empty slot
    int32_t ParamCount = 0;
    std::string Param1;
    std::string Param2;
    std::string Param3;
};

// One race, as race files carry it and as the host file stores it per player.
struct RaceRecord {
    float Version = 0.0f;
    std::string NameSingular;
    std::string NamePlural;
    std::string LeaderName;
    std::string LeaderTitle;
    std::string Password;
    int32_t Sex = 0;        // 0 Male, 1 Female, 2 Other
    int32_t RaceClass = 0;  // 0 Arachnidia .. 5 Reptillia
    // Infantry, Cavalry, Vehicle, Artillery, Ships, Aircraft, Mechs, Satellites.
    std::array<int32_t, kDesignSlotCategories> DesignSlots{};
};

// One of the New Game wizard's ten player slots.
struct PlayerSlot {
    uint8_t InPlay = 0;
    RaceRecord Race;
    std::array<PendingMessage, kPendingMessagesPerPlayer> PendingMessages;
};

// One entry of the point list a player file carries.
struct PointEntry {
    float X = 0.0f;
    float Y = 0.0f;
    float Z = 0.0f;
};

// The values the title screen keeps for a loaded game.
struct TitleState {
    float VersionStampA = 0.0f;
    float VersionStampB = 0.0f;
    int32_t TextureResolution = 50;
    std::vector<PointEntry> PointList;  // its size is the count
};

// The research points the player has to spend, held with the research screen's state.
struct ResearchPoints {
    int32_t AvailableResearchPoints = 0;
};
