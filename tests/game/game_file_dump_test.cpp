#include "game/game_file_dump.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "game/host_file.h"
#include "game/player_file.h"
#include "game/turn_files.h"
#include "game_file_bytes.h"
#include "support/temp_dir.h"

namespace {

// A strict check of JSON syntax (RFC 8259), enough to tell that the tool's output parses.
class JsonSyntax {
public:
    explicit JsonSyntax(std::string_view text) : text_(text) {}
    bool Valid() {
        Space();
        if (!Value())
            return false;
        Space();
        return at_ == text_.size();
    }

private:
    bool Value() {
        if (at_ >= text_.size())
            return false;
        char c = text_[at_];
        if (c == '{')
            return Members('}', true);
        if (c == '[')
            return Members(']', false);
        if (c == '"')
            return String();
        for (std::string_view word : {"true", "false", "null"}) {
            if (text_.substr(at_, word.size()) == word) {
                at_ += word.size();
                return true;
            }
        }
        return Number();
    }
    bool Members(char close, bool object) {
        ++at_;
        Space();
        if (Peek(close))
            return ++at_, true;
        for (;;) {
            if (object) {
                if (!String())
                    return false;
                Space();
                if (!Peek(':'))
                    return false;
                ++at_;
                Space();
            }
            if (!Value())
                return false;
            Space();
            if (Peek(close))
                return ++at_, true;
            if (!Peek(','))
                return false;
            ++at_;
            Space();
        }
    }
    bool String() {
        if (!Peek('"'))
            return false;
        for (++at_; at_ < text_.size(); ++at_) {
            auto c = static_cast<unsigned char>(text_[at_]);
            if (c == '"')
                return ++at_, true;
            if (c < 0x20 || c >= 0x80)
                return false;  // the writer emits plain ASCII
            if (c == '\\') {
                if (++at_ >= text_.size())
                    return false;
                if (text_[at_] == 'u') {
                    for (int i = 0; i < 4; ++i) {
                        if (++at_ >= text_.size() || !std::isxdigit(text_[at_]))
                            return false;
                    }
                } else if (std::string_view("\"\\/bfnrt").find(text_[at_]) ==
                           std::string_view::npos) {
                    return false;
                }
            }
        }
        return false;
    }
    bool Number() {
        size_t start = at_;
        if (Peek('-'))
            ++at_;
        if (!Digits())
            return false;
        if (Peek('.') && (++at_, !Digits()))
            return false;
        if (Peek('e') || Peek('E')) {
            ++at_;
            if (Peek('+') || Peek('-'))
                ++at_;
            if (!Digits())
                return false;
        }
        return at_ > start;
    }
    bool Digits() {
        size_t start = at_;
        while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_])))
            ++at_;
        return at_ > start;
    }
    bool Peek(char c) const { return at_ < text_.size() && text_[at_] == c; }
    void Space() {
        while (at_ < text_.size() &&
               std::string_view(" \t\r\n").find(text_[at_]) != std::string_view::npos) {
            ++at_;
        }
    }

    std::string_view text_;
    size_t at_ = 0;
};

bool Has(const std::string& json, std::string_view part) {
    return json.find(part) != std::string::npos;
}

TEST(GameFileKind, TakenFromTheName) {
    EXPECT_EQ(GameFileKindOf("war.p07"), GameFileKind::Player);
    EXPECT_EQ(GameFileKindOf("dir.x/WAR.P10"), GameFileKind::Player);
    EXPECT_EQ(GameFileKindOf("war.hst"), GameFileKind::Host);
    EXPECT_EQ(GameFileKindOf("war.H03"), GameFileKind::History);
    EXPECT_EQ(GameFileKindOf("war.S03"), GameFileKind::Send);
    EXPECT_EQ(GameFileKindOf("myrace.rce"), GameFileKind::Race);
    EXPECT_EQ(GameFileKindOf("war.txt"), GameFileKind::Unknown);
    EXPECT_EQ(GameFileKindOf("p07"), GameFileKind::Unknown);
    EXPECT_EQ(GameFileKindName(GameFileKind::History), "history");
}

TEST(GameFileDump, EscapesWindows1252TextsAsAsciiAndWritesFloatsThatReadBack) {
    RaceRecord race;
    race.Version = std::nanf("");
    race.NameSingular = "a\"b\\c\n\x01";
    race.NamePlural = "caf\xe9 \x80 \x7f";
    race.LeaderName = "\x81\x9f\xff";  // unassigned in the code page, then two letters
    std::string json = DumpRaceRecord(race);
    EXPECT_TRUE(JsonSyntax(json).Valid()) << json;
    EXPECT_EQ(
        json.rfind(R"({"kind":"race","Race":{"Version":null,"NameSingular":"a\"b\\c\n\u0001",)"
                   R"("NamePlural":"caf\u00e9 \u20ac \u007f","LeaderName":"\u0081\u0178\u00ff",)",
                   0),
        0u)
        << json;

    for (const auto& [value, text] :
         {std::pair{20.5f, "20.5"}, std::pair{50.9f, "50.9"}, std::pair{3.634f, "3.634"},
          std::pair{-INFINITY, "null"}, std::pair{20.0f, "20"}, std::pair{-7.0f, "-7"},
          std::pair{1e-7f, "1e-07"}}) {
        race.Version = value;
        json = DumpRaceRecord(race);
        EXPECT_TRUE(Has(json, std::string(R"("Version":)") + text + ",")) << value << ": " << json;
    }
}

TEST(GameFileDump, PlayerFile) {
    auto world = std::make_unique<WorldMap>();
    for (int c = 0; c < 256; ++c)
        world->At(0, c).Terrain = 6;
    std::array<PendingMessage, 1> messages = {PendingMessage{1, 3, "Gorm", "Elf", "Lord \xe9"}};
    std::vector<uint8_t> bytes = EncodePlayerFile(Stamps(3.634f, 3.634f), *world, messages);

    DumpResult plain = DumpPlayerImage("war.p01", bytes, {});
    ASSERT_TRUE(plain.Ok()) << plain.Error;
    EXPECT_TRUE(JsonSyntax(plain.Json).Valid()) << plain.Json;
    EXPECT_EQ(plain.Json.rfind(R"({"kind":"player","VersionStampA":3.634,)", 0), 0u);
    EXPECT_TRUE(Has(plain.Json, R"("VersionStampB":3.634,"Width":256,)"));
    EXPECT_TRUE(Has(plain.Json, R"("Messages":[{"Type":1,"Param1":"Gorm","Param2":"Elf",)"
                                R"("Param3":"Lord \u00e9"}])"));
    EXPECT_TRUE(Has(plain.Json, R"("AvailableResearchPoints":50,)"));
    EXPECT_TRUE(Has(plain.Json, R"("PointList":[[20.5,50.9,20],[30.2,70.1,29.6]])"));
    EXPECT_TRUE(Has(plain.Json, R"("TerrainCounts":{"-1":32512,"6":256}})"));
    EXPECT_FALSE(Has(plain.Json, "Tiles"));

    DumpResult tiles = DumpPlayerImage("war.p01", bytes, DumpOptions{true});
    ASSERT_TRUE(tiles.Ok());
    EXPECT_TRUE(JsonSyntax(tiles.Json).Valid());
    EXPECT_TRUE(Has(tiles.Json, R"("Tiles":[[[6,0],[6,0],)"));
    size_t pairs = 0;  // a pair is the only array that starts with a number
    for (size_t at = tiles.Json.find("\"Tiles\""); at + 1 < tiles.Json.size(); ++at) {
        char next = tiles.Json[at + 1];
        pairs += tiles.Json[at] == '[' && (next == '-' || std::isdigit(next));
    }
    EXPECT_EQ(pairs, static_cast<size_t>(kWorldTiles));

    // A file without its optional records shows them as null.
    DumpResult bare = DumpPlayerImage("war.p01", FileBytes().I32(0).bytes, {});
    EXPECT_TRUE(Has(bare.Json, R"("VersionStampA":null,)"));
    EXPECT_TRUE(Has(bare.Json, R"("Messages":[],"AvailableResearchPoints":null,"PointList":[])"));
}

TEST(GameFileDump, HostHistoryAndSendFiles) {
    auto world = std::make_unique<WorldMap>();
    std::array<PlayerSlot, kPlayerCount> players{};
    players[2].InPlay = 1;
    players[2].Race.NameSingular = "Elf";
    players[2].Race.DesignSlots = {2, 2, 2, 2, 2, 2, 2, 6};
    DumpResult host = DumpHostImage("war.hst", EncodeHostFile({}, *world, players), {});
    ASSERT_TRUE(host.Ok()) << host.Error;
    EXPECT_TRUE(JsonSyntax(host.Json).Valid()) << host.Json;
    EXPECT_TRUE(Has(host.Json, R"("Players":[{"Player":3,"Race":{"Version":0,)"
                               R"("NameSingular":"Elf","NamePlural":"",)"));
    EXPECT_TRUE(Has(host.Json, R"("Password":"","Sex":0,"RaceClass":0,)"
                               R"("DesignSlots":[2,2,2,2,2,2,2,6]}}])"));

    DumpResult history = DumpHistoryImage("war.H01", EncodeHistoryFile({}, UnitDesignTable{}));
    ASSERT_TRUE(history.Ok()) << history.Error;
    EXPECT_TRUE(JsonSyntax(history.Json).Valid()) << history.Json;
    EXPECT_TRUE(Has(history.Json, R"("Designs":[{"PlayerSlot":0,"Position":0,"Hull":0,)"
                                  R"("Name":"Hominid","SlotComponent":[-1,)"));
    EXPECT_TRUE(Has(history.Json, R"({"PlayerSlot":3,"Position":0,"Hull":3,"Name":"Corsair",)"));
    EXPECT_TRUE(Has(history.Json, R"("Flag":0}]})"));

    DumpResult send = DumpSendImage("war.S01", EncodeSendFile(Stamps(0, 3.634f)));
    EXPECT_EQ(send.Json, R"({"kind":"send","VersionStampB":3.634})");

    EXPECT_EQ(DumpRaceRecord(RaceRecord{}).rfind(R"({"kind":"race","Race":{"Version":0,)", 0), 0u);
}

TEST(GameFileDump, DamagedFilesGiveAnErrorNamingTheOffset) {
    FileBytes player;
    player.I32(2002).I32(-1);
    DumpResult damaged = DumpPlayerImage("war.p01", player.bytes, {});
    EXPECT_FALSE(damaged.Ok());
    EXPECT_EQ(damaged.Error, "war.p01: damaged at byte 4: message text count -1 is negative");

    DumpResult cut = DumpHistoryImage("war.H01", FileBytes().I32(2).bytes);
    EXPECT_EQ(cut.Error, "war.H01: damaged at byte 0: the file ends inside the record of tag 2");
    EXPECT_FALSE(DumpSendImage("war.S01", FileBytes().I32(3).F32(1).bytes).Ok());

    TempDir dir;
    EXPECT_FALSE(DumpGameFile(dir.File("missing.p01"), {}).Ok());
    EXPECT_FALSE(DumpGameFile(dir.File("war.txt"), {}).Ok());
    ASSERT_TRUE(WriteFileReplacing(dir.File("war.S02"), EncodeSendFile({})));
    DumpResult file = DumpGameFile(dir.File("war.S02"), {});
    EXPECT_EQ(file.Json, R"({"kind":"send","VersionStampB":0})");
}

}  // namespace
