#include "game/message_store.h"

#include <gtest/gtest.h>

#include "support/byte_records.h"

namespace {

TEST(BuiltInMessageTexts, TenTextsWithTheirGotoFlags) {
    const std::vector<MessageText> texts = LoadBuiltInMessageTexts();
    ASSERT_EQ(texts.size(), 10u);
    const std::pair<int, std::string_view> expected[10] = {
        {0, "You have... NO ...new messages."},
        {0,
         "MPARAM1, you have risen to become leader of the MPARAM2 race.  Recognizing your "
         "superior intellegence and skills, they name you MPARAM3.  Your people await your "
         "commands..."},
        {1,
         "Your fleet, MPARAM1, has arrived at it's final location and is awaiting further "
         "orders."},
        {1, "The city of MPARAM1 reports having finished construction of a MPARAM2."},
        {1,
         "The MPARAM1 fleet, MPARAM2, have been crushed by your forces.  Your units easily "
         "destroyed the opponents."},
        {1,
         "The MPARAM1 fleet, MPARAM2, have been crushed by your forces.  Unfortunately, "
         "MPARAM3 of your units were also destroyed in the battle."},
        {1,
         "Your forces were defeated in battle by the MPARAM1.  Sadly, you didn't manage to "
         "destroy any of the enemy units."},
        {1,
         "Your forces were defeated in battle by the MPARAM1.  However, you did manage to "
         "kill MPARAM2 of the enemy."},
        {1,
         "A battle was fought between you and the MPARAM1.  You lost MPARAM2 units, while "
         "the enemy lost MPARAM3 units."},
        {1,
         "A battle was fought between you and the MPARAM1.  Neither you or the enemy lost "
         "any units."},
    };
    for (size_t type = 0; type < texts.size(); ++type) {
        EXPECT_EQ(texts[type].Reserved, 0);
        EXPECT_EQ(texts[type].GotoFlag, expected[type].first) << type;
        EXPECT_EQ(texts[type].Text, expected[type].second) << type;
    }
}

TEST(MessagePanel, NoMessagesGivesTheNoNewMessagesText) {
    MessageStore store;
    store.EnsureOneMessage();
    MessagePanelState panel = store.CurrentPanel();
    EXPECT_EQ(panel.Label, "Message 1 of 1");
    EXPECT_EQ(panel.Text, "You have... NO ...new messages.");
    EXPECT_FALSE(panel.PreviousEnabled);
    EXPECT_FALSE(panel.NextEnabled);
    EXPECT_FALSE(panel.GotoEnabled);
}

TEST(MessagePanel, WorkedExamples) {
    MessageStore store;
    ASSERT_TRUE(store.Append(2, "Scout Fleet-1"));
    ASSERT_TRUE(store.Append(1));
    ASSERT_TRUE(store.Append(9, "Orcs", "12", "7"));
    store.EnsureOneMessage();  // has messages: changes nothing
    ASSERT_EQ(store.Count(), 3);

    MessagePanelState panel = store.CurrentPanel();
    EXPECT_EQ(panel.Label, "Message 1 of 3");
    EXPECT_EQ(panel.Text,
              "Your fleet, Scout Fleet-1, has arrived at it's final location and is awaiting "
              "further orders.");
    EXPECT_TRUE(panel.GotoEnabled);
    EXPECT_FALSE(panel.PreviousEnabled);
    EXPECT_TRUE(panel.NextEnabled);

    ASSERT_TRUE(store.StepForward());
    panel = store.CurrentPanel();
    EXPECT_EQ(panel.Label, "Message 2 of 3");
    EXPECT_TRUE(panel.Text.starts_with(", you have risen to become leader of the  race."));
    EXPECT_EQ(panel.Text.find("MPARAM"), std::string::npos);
    EXPECT_FALSE(panel.GotoEnabled);

    ASSERT_TRUE(store.StepForward());
    panel = store.CurrentPanel();
    EXPECT_EQ(panel.Label, "Message 3 of 3");
    EXPECT_EQ(panel.Text,
              "A battle was fought between you and the Orcs.  Neither you or the enemy lost any "
              "units.");
    EXPECT_FALSE(panel.NextEnabled);
    EXPECT_TRUE(panel.PreviousEnabled);

    EXPECT_FALSE(store.StepForward());
    EXPECT_EQ(store.Current(), 2);
    ASSERT_TRUE(store.StepBack());
    ASSERT_TRUE(store.StepBack());
    EXPECT_FALSE(store.StepBack());
    EXPECT_EQ(store.Current(), 0);
}

TEST(MessageMarkers, ReplacedInOrderWithoutSearchingAReplacementAgain) {
    // A later marker inside an earlier parameter is replaced by the later step.
    EXPECT_EQ(ReplaceMessageMarkers("<MPARAM1>", "a MPARAM2 b", "two", ""), "<a two b>");
    // An earlier marker inside a later parameter stays as it is.
    EXPECT_EQ(ReplaceMessageMarkers("<MPARAM2>", "one", "x MPARAM1", ""), "<x MPARAM1>");
    // A parameter holding its own marker is not replaced again.
    EXPECT_EQ(ReplaceMessageMarkers("MPARAM1MPARAM1", "MPARAM1", "", ""), "MPARAM1MPARAM1");
    // Matching counts letter case.
    EXPECT_EQ(ReplaceMessageMarkers("mparam1 MPARAM3", "x", "y", "z"), "mparam1 z");
}

TEST(MessageStoreLimits, HoldsAtMostFiftyMessages) {
    MessageStore store;
    for (int i = 0; i < kMaxStoredMessages; ++i) {
        ASSERT_TRUE(store.Append(2, std::to_string(i)));
    }
    EXPECT_FALSE(store.Append(3, "overflow", "x"));
    EXPECT_EQ(store.Count(), kMaxStoredMessages);
    EXPECT_EQ(store.Message(49).Type, 2);
    EXPECT_EQ(ParamText(store.Message(49).Param1), "49");
}

TEST(MessageStoreLimits, ParametersAreCutToNinetyNineCharacters) {
    MessageStore store;
    ASSERT_TRUE(store.Append(2, std::string(150, 'p')));
    const StoredMessage& message = store.Message(0);
    EXPECT_EQ(ParamText(message.Param1), std::string(99, 'p'));
    EXPECT_EQ(message.Param1[99], '\0');
    EXPECT_EQ(ParamText(message.Param2), "");
}

TEST(MessageTextLoading, DamagedRecordsGiveEmptyTexts) {
    ByteRecordSet set;
    set.Add("NUMBEROFMESSAGES", ByteRecord().I16({4}))
        .Add("message0", ByteRecord().Text("Nothing new.").I16({0}))
        .Add("Message1", ByteRecord().Text("Go MPARAM1").U8({1}))  // goto flag cut short
        .Add("Message2", ByteRecord().Raw("no end byte"))
        .Add("Message3", ByteRecord().Text("Go to MPARAM1.").I16({1, 99}));
    MessageStore store(set.Store());
    ASSERT_EQ(store.MessageTexts().size(), 4u);
    EXPECT_EQ(store.MessageTexts()[0].Text, "Nothing new.");
    EXPECT_EQ(store.MessageTexts()[1].Text, "");
    EXPECT_EQ(store.MessageTexts()[1].GotoFlag, 0);
    EXPECT_EQ(store.MessageTexts()[2].Text, "");
    EXPECT_EQ(store.MessageTexts()[3].Text, "Go to MPARAM1.");
    EXPECT_EQ(store.MessageTexts()[3].GotoFlag, 1);

    // Types without a text in the table show an empty text with "Goto" disabled.
    ASSERT_TRUE(store.Append(3, "Rome"));
    ASSERT_TRUE(store.Append(7, "x"));
    ASSERT_TRUE(store.Append(-1));
    EXPECT_EQ(store.CurrentPanel().Text, "Go to Rome.");
    for (int i = 1; i < 3; ++i) {
        ASSERT_TRUE(store.StepForward());
        EXPECT_EQ(store.CurrentPanel().Text, "");
        EXPECT_FALSE(store.CurrentPanel().GotoEnabled);
    }
}

TEST(MessageTextLoading, MissingOrNegativeCountGivesNoTexts) {
    EXPECT_TRUE(LoadMessageTexts(ByteRecordSet().Store()).empty());
    ByteRecordSet negative;
    negative.Add("NumberOfMessages", ByteRecord().I16({-3}));
    EXPECT_TRUE(LoadMessageTexts(negative.Store()).empty());

    MessageStore store{std::vector<MessageText>{}};
    EXPECT_EQ(store.Count(), 0);
    EXPECT_EQ(store.CurrentPanel().Text, "");
    EXPECT_FALSE(store.CurrentPanel().NextEnabled);  // nothing to step to before any message
}

}  // namespace
