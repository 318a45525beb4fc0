#include "creation/first_messages.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using Players = std::array<PlayerSlot, kPlayerCount>;

int MessageCount(const PlayerSlot& player) {
    int count = 0;
    for (const PendingMessage& message : player.PendingMessages)
        count += message.Type != -1;
    return count;
}

void ExpectEmpty(const PendingMessage& message) {
    EXPECT_EQ(message.Type, -1);
    EXPECT_EQ(message.ParamCount, 0);
    EXPECT_EQ(message.Param1, "");
    EXPECT_EQ(message.Param2, "");
    EXPECT_EQ(message.Param3, "");
}

TEST(FirstMessagesTest, PlayerFiveInPlayGetsOnlyTheWelcome) {
    Players players;
    players[4].InPlay = 1;
    players[4].Race.LeaderName = "Ardan";
    players[4].Race.NameSingular = "Elf";
    players[4].Race.LeaderTitle = "High King";
    // Left over from an earlier creation.
    players[4].PendingMessages[3].Type = 7;
    players[4].PendingMessages[3].Param1 = "old";

    PrepareFirstMessages(players);
    const PlayerSlot& five = players[4];
    EXPECT_EQ(MessageCount(five), 1);
    EXPECT_EQ(five.PendingMessages[0].Type, 1);
    EXPECT_EQ(five.PendingMessages[0].ParamCount, 3);
    EXPECT_EQ(five.PendingMessages[0].Param1, "Ardan");
    EXPECT_EQ(five.PendingMessages[0].Param2, "Elf");
    EXPECT_EQ(five.PendingMessages[0].Param3, "High King");
    for (int slot = 1; slot < kPendingMessagesPerPlayer; ++slot) {
        ExpectEmpty(five.PendingMessages[slot]);
    }
}

TEST(FirstMessagesTest, PlayersOneToFourCarryTheDemonstrationsInPlayOrNot) {
    Players players;
    players[0].InPlay = 1;  // player 1 in play, without a race
    PrepareFirstMessages(players);

    // Player 1: welcome with empty parameters, then its two demonstrations.
    EXPECT_EQ(players[0].PendingMessages[0].Type, 1);
    EXPECT_EQ(players[0].PendingMessages[0].ParamCount, 3);
    EXPECT_EQ(players[0].PendingMessages[0].Param1, "");
    EXPECT_EQ(players[0].PendingMessages[0].Param2, "");
    EXPECT_EQ(players[0].PendingMessages[0].Param3, "");
    EXPECT_EQ(players[0].PendingMessages[1].Type, 2);
    EXPECT_EQ(players[0].PendingMessages[1].Param1, "Scout Fleet-1");
    EXPECT_EQ(players[0].PendingMessages[2].Param1, "King's Landing");
    EXPECT_EQ(players[0].PendingMessages[2].Param2, "Temple");

    // Player 2 is not in play: no welcome, but both demonstrations.
    ExpectEmpty(players[1].PendingMessages[0]);
    const PendingMessage& klingon = players[1].PendingMessages[2];
    EXPECT_EQ(klingon.Type, 5);
    EXPECT_EQ(klingon.ParamCount, 3);
    EXPECT_EQ(klingon.Param1, "Klingon");
    EXPECT_EQ(klingon.Param2, "Tchar-6");
    EXPECT_EQ(klingon.Param3, "6");

    // One message of every type 2 to 9 in slots 1 and 2 of players 1 to 4, and nothing else.
    std::set<int32_t> types;
    for (int player = 0; player < 4; ++player) {
        for (int slot : {1, 2}) {
            const PendingMessage& message = players[player].PendingMessages[slot];
            types.insert(message.Type);
            const int filled =
                !message.Param1.empty() + !message.Param2.empty() + !message.Param3.empty();
            EXPECT_EQ(filled, message.ParamCount) << player + 1 << "/" << slot;
        }
        ExpectEmpty(players[player].PendingMessages[3]);
        ExpectEmpty(players[player].PendingMessages[4]);
    }
    EXPECT_EQ(types, (std::set<int32_t>{2, 3, 4, 5, 6, 7, 8, 9}));
    for (int player = 4; player < kPlayerCount; ++player) {
        EXPECT_EQ(MessageCount(players[player]), 0) << player + 1;
    }
}

TEST(FirstMessagesTest, RaceTextsOfHundredCharactersOrMoreAreCutTo99) {
    Players players;
    players[9].InPlay = 1;
    players[9].Race.LeaderName = std::string(150, 'L');
    players[9].Race.NameSingular = std::string(99, 'S');
    players[9].Race.LeaderTitle = std::string(100, 'T');
    PrepareFirstMessages(players);
    const PendingMessage& welcome = players[9].PendingMessages[0];
    EXPECT_EQ(welcome.Param1, std::string(99, 'L'));
    EXPECT_EQ(welcome.Param2, std::string(99, 'S'));
    EXPECT_EQ(welcome.Param3, std::string(99, 'T'));
    EXPECT_EQ(MessageParamText("short"), "short");

    ClearPendingMessages(players);
    for (const PlayerSlot& player : players) {
        for (const PendingMessage& message : player.PendingMessages)
            ExpectEmpty(message);
    }
}

}  // namespace
