#include "game/version_stamp.h"

#include <gtest/gtest.h>

namespace {

TEST(VersionStamp, DeletesTheLastDotThenTheFirst) {
    EXPECT_EQ(StripVersionDots("0.3.6.340"), "03.6340");
    EXPECT_EQ(StripVersionDots("1.2"), "12");
    EXPECT_EQ(StripVersionDots("1.2.3"), "123");
    EXPECT_EQ(StripVersionDots("7"), "7");
}

TEST(VersionStamp, ConvertsToTheStampNumber) {
    ASSERT_TRUE(VersionTextToNumber("0.3.6.340").has_value());
    EXPECT_FLOAT_EQ(*VersionTextToNumber("0.3.6.340"), 3.634f);
    EXPECT_FLOAT_EQ(*VersionTextToNumber("1.2"), 12.0f);
    EXPECT_FLOAT_EQ(*VersionTextToNumber("2"), 2.0f);
}

TEST(VersionStamp, TextThatIsNoNumberGivesNothing) {
    EXPECT_FALSE(VersionTextToNumber("Unknown!").has_value());
    EXPECT_FALSE(VersionTextToNumber("").has_value());
    EXPECT_FALSE(VersionTextToNumber("1.2.3.4.5").has_value());  // "12.3.45" keeps a second dot
    EXPECT_FALSE(VersionTextToNumber("0.3.6.340 beta").has_value());
}

}  // namespace
