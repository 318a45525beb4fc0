// Feeds arbitrary bytes to the race file readers: the record reader as stored, the check
// both wizards make, and the race design wizard's reader, whose password check refuses a
// wrong password and accepts "secret".

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "race/race_file.h"

namespace {

volatile size_t sink = 0;

size_t Touch(const std::string& text) {
    size_t sum = 0;
    for (char c : text)
        sum += static_cast<unsigned char>(c);
    return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The input in an allocation of its own size, so reads past it are caught.
    std::vector<uint8_t> bytes(data, data + size);
    std::span<const uint8_t> view(bytes);
    size_t sum = 0;

    RaceRecord race;
    race.Password = "kept only when the file fails";
    if (ReadRaceRecord(view, race)) {
        for (const std::string* text : {&race.NameSingular, &race.NamePlural, &race.LeaderName,
                                        &race.LeaderTitle, &race.Password}) {
            if (text->size() > static_cast<size_t>(kRaceTextMax))
                __builtin_trap();
            sum += Touch(*text);
        }
    } else if (race.Password != "kept only when the file fails") {
        __builtin_trap();  // a refused file must leave the record as it was
    }

    std::vector<RaceFileEntry> entries;
    const bool passesCheck = !CheckRaceFile(view, entries).has_value();

    int asked = 0;
    auto givesPassword = [&asked](const std::string& password) {
        ++asked;
        return password == "secret";
    };
    RaceDesignValues values;
    values.RaceNameSingular = "before";
    if (ReadRaceIntoDesign(view, values, givesPassword)) {
        if (!passesCheck || !IsRaceSex(values.Sex) || !IsRaceClass(values.RaceClass))
            __builtin_trap();
        for (int32_t total : DesignSlotTotals(values)) {
            if (total < kMinDesignSlots || total > kMaxDesignSlots)
                __builtin_trap();
        }
        sum += static_cast<size_t>(RacePoints(values) & 0xFF);
        sum += RaceStory(values).size() + Touch(values.LoadedRacePassword);
    } else if (passesCheck || values.RaceNameSingular != "before" || asked != 0) {
        __builtin_trap();  // a refused file must change nothing and ask for nothing
    }

    sink = sum;
    return 0;
}
