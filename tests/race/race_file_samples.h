// Race files and race design values for the tests of the race file and its dialogs.
#pragma once

#include <array>
#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "game/game_state.h"
#include "game/record_stream.h"
#include "race/race_design_values.h"
#include "race/race_file.h"

// Little-endian record bytes for hand-made files.
class Bytes {
public:
    Bytes& I32(int32_t v) {
        writer_.WriteInt32(v);
        return *this;
    }
    Bytes& Text(int32_t tag, std::string_view text) {
        writer_.WriteInt32(tag);
        writer_.WriteCountedText(text, true);
        return *this;
    }
    Bytes& Value(int32_t tag, int32_t v) { return I32(tag).I32(v); }
    Bytes& Slots(std::array<int32_t, 8> totals) {
        I32(kRaceTagDesignSlots);
        for (int32_t total : totals)
            I32(total);
        return *this;
    }
    Bytes& Raw(std::string_view chars) {
        writer_.WriteBytes({reinterpret_cast<const uint8_t*>(chars.data()), chars.size()});
        return *this;
    }
    std::vector<uint8_t> End() { return I32(kRaceTagEnd).writer_.Bytes(); }
    std::vector<uint8_t> Cut() const { return writer_.Bytes(); }

private:
    RecordWriter writer_;
};

inline RaceRecord ElvesRace(std::string password = "") {
    RaceRecord race;
    race.Version = 3.634f;
    race.NameSingular = "Elf";
    race.NamePlural = "Elves";
    race.LeaderName = "Ara";
    race.LeaderTitle = "King";
    race.Password = std::move(password);
    race.Sex = 1;
    race.RaceClass = 4;
    race.DesignSlots = {5, 5, 8, 6, 5, 5, 3, 5};
    return race;
}

inline RaceDesignValues OrcsDesign() {
    RaceDesignValues values;
    values.RaceNameSingular = "Orc";
    values.RaceNamePlural = "Orcs";
    values.RaceLeaderName = "Grom";
    values.RaceLeaderTitle = "Chief";
    values.Password = values.PasswordConfirm = "typed";
    values.Sex = 2;
    ChangeRaceClass(values, 0);
    PressCategoryArrow(values, 3, true);
    return values;
}

// The race part of the values: names, sex, class and slots.
inline RaceRecord RaceOf(const RaceDesignValues& values) {
    RaceRecord race = RaceRecordFromDesign(values, 3.634f);
    race.Password.clear();
    return race;
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}
