#include "platform/os/named_records.h"

#include <gtest/gtest.h>

namespace {

const unsigned char kFirst[] = {1, 2, 3};
const unsigned char kSecond[] = {9};

TEST(NamedRecordStore, FindsNamesWithoutRegardToCase) {
    NamedRecordStore store({{"HullType1", kFirst, sizeof kFirst}, {"UNITCOM1", kSecond, 1}});
    for (const char* name : {"HullType1", "HULLTYPE1", "hulltype1", "hUlLtYpE1"}) {
        auto found = store.Find(name);
        ASSERT_TRUE(found.has_value()) << name;
        EXPECT_EQ(found->size(), 3u);
        EXPECT_EQ((*found)[2], 3);
    }
    ASSERT_TRUE(store.Find("unitcom1").has_value());
    EXPECT_EQ((*store.Find("unitcom1"))[0], 9);
}

TEST(NamedRecordStore, RefusesNamesThatOnlyLookAlike) {
    NamedRecordStore store({{"Tech1", kFirst, sizeof kFirst}});
    EXPECT_FALSE(store.Find("Tech10").has_value());
    EXPECT_FALSE(store.Find("Tech").has_value());
    EXPECT_FALSE(store.Find("").has_value());
    EXPECT_FALSE(store.Find("Tech1 ").has_value());
}

TEST(NamedRecordStore, FoldsOnlyAsciiLetters) {
    EXPECT_TRUE(EqualsIgnoringCase("Message9", "MESSAGE9"));
    EXPECT_FALSE(EqualsIgnoringCase("a[", "A{"));  // '[' and '{' differ by the case bit
    EXPECT_FALSE(EqualsIgnoringCase("\xe9", "\xc9"));
}

}  // namespace
