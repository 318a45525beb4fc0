#include "platform/os/windows_1252.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string AllBytes() {
    std::string all;
    for (int byte = 0; byte < 256; ++byte)
        all.push_back(static_cast<char>(byte));
    return all;
}

TEST(Windows1252Utf8, EveryByteSurvivesARoundTripThroughUtf8) {
    const std::string all = AllBytes();
    const std::string utf8 = Windows1252ToUtf8(all);
    EXPECT_EQ(Utf8ToWindows1252(utf8), all);
    EXPECT_EQ(Windows1252ToUtf8("\x80\xC9\x9F"), "\u20ac\u00c9\u0178");
    EXPECT_EQ(Utf8ToWindows1252("\u00c9mile \u20ac"), "\xC9mile \x80");
}

TEST(Windows1252Utf8, RefusesWhatTheCodePageLacksAndNamesTheFirstSuchCharacter) {
    std::string lacking;
    EXPECT_EQ(Utf8ToWindows1252("Ab\u0416\u0443\u043a", &lacking), std::nullopt);
    EXPECT_EQ(lacking, "\u0416");
    EXPECT_EQ(Utf8ToWindows1252("\u0142", &lacking), std::nullopt);
    EXPECT_EQ(lacking, "\u0142");
    EXPECT_EQ(Utf8ToWindows1252("x\U0001F600", &lacking), std::nullopt);
    EXPECT_EQ(lacking, "\U0001F600");
    EXPECT_EQ(Utf8ToWindows1252("ok", &lacking), "ok");
    EXPECT_EQ(lacking, "");
}

TEST(Windows1252Utf8, RefusesBytesThatAreNotUtf8) {
    std::string lacking = "stale";
    for (const char* bad : {"\xC9mile",          // a Latin-1 byte alone
                            "\xC3",              // cut short
                            "\xC0\x80",          // overlong form of 0
                            "\xE0\x80\xAF",      // overlong "/"
                            "\xED\xA0\x80",      // a surrogate
                            "\xF4\x90\x80\x80",  // above U+10FFFF
                            "\x80", "\xFF"}) {
        EXPECT_EQ(Utf8ToWindows1252(bad, &lacking), std::nullopt) << bad;
        EXPECT_EQ(lacking, "") << bad;
    }
}

TEST(Windows1252Utf16, ExactConversionRefusesInsteadOfReplacing) {
    const std::string all = AllBytes();
    EXPECT_EQ(Utf16ToWindows1252Exactly(Windows1252ToUtf16(all)), all);
    EXPECT_EQ(Utf16ToWindows1252Exactly(u"\u20ac\u00e9"), "\x80\xE9");
    EXPECT_EQ(Utf16ToWindows1252Exactly(u"\u03a9mega"), std::nullopt);
    EXPECT_EQ(Utf16ToWindows1252Exactly(u"a\U0001F600"), std::nullopt);
    EXPECT_EQ(Utf16ToWindows1252Exactly(std::u16string(1, u'\xD800')), std::nullopt);
    EXPECT_TRUE(InWindows1252(u'\u0178'));
    EXPECT_FALSE(InWindows1252(u'\u0142'));
}

}  // namespace
