#include "creation/first_messages.h"

namespace {

constexpr int32_t kWelcomeMessageType = 1;
constexpr size_t kMessageParamLength = 99;  // characters; 100 bytes with the ending 0

struct DemonstrationMessage {
    int player;  // 1..4
    int slot;    // 1 or 2
    int32_t type;
    int32_t paramCount;
    const char* param1;
    const char* param2;
    const char* param3;
};

// One message of every type 2 to 9, two for each of the players 1 to 4.
constexpr DemonstrationMessage kDemonstrationMessages[] = {
    {1, 1, 2, 1, "Scout Fleet-1", "", ""},    {1, 2, 3, 2, "King's Landing", "Temple", ""},
    {2, 1, 4, 2, "Roman", "Centurion-4", ""}, {2, 2, 5, 3, "Klingon", "Tchar-6", "6"},
    {3, 1, 6, 1, "Tumeroks", "", ""},         {3, 2, 7, 2, "Drudges", "8", ""},
    {4, 1, 8, 3, "Vulcans", "6", "15"},       {4, 2, 9, 1, "Romans", "", ""},
};

}  // namespace

std::string MessageParamText(std::string_view text) {
    return std::string(text.substr(0, kMessageParamLength));
}

void ClearPendingMessages(std::array<PlayerSlot, kPlayerCount>& players) {
    for (PlayerSlot& player : players) {
        player.PendingMessages.fill(PendingMessage{});
    }
}

void PrepareFirstMessages(std::array<PlayerSlot, kPlayerCount>& players) {
    ClearPendingMessages(players);
    for (PlayerSlot& player : players) {
        if (player.InPlay == 0)
            continue;
        PendingMessage& welcome = player.PendingMessages[0];
        welcome.Type = kWelcomeMessageType;
        welcome.ParamCount = 3;
        welcome.Param1 = MessageParamText(player.Race.LeaderName);
        welcome.Param2 = MessageParamText(player.Race.NameSingular);
        welcome.Param3 = MessageParamText(player.Race.LeaderTitle);
    }
    for (const DemonstrationMessage& demo : kDemonstrationMessages) {
        PendingMessage& message = players[demo.player - 1].PendingMessages[demo.slot];
        message.Type = demo.type;
        message.ParamCount = demo.paramCount;
        message.Param1 = demo.param1;
        message.Param2 = demo.param2;
        message.Param3 = demo.param3;
    }
}
