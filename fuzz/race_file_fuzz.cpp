// Feeds arbitrary bytes to both race file readers: the New Game wizard's record reader and
// the race design wizard's reader, whose password prompt is answered wrongly, then rightly.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/os/scripted_ui_shell.h"
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
    }

    ScriptedUiShell shell;
    ScopedShell installed(shell);
    shell.passwordAnswers = {std::string("wrong"), std::string("secret")};
    RaceDesignValues values;
    values.RaceNameSingular = "before";
    if (ReadRaceIntoDesign(view, values)) {
        if (!IsRaceSex(values.Sex) || !IsRaceClass(values.RaceClass))
            __builtin_trap();
        for (int32_t total : DesignSlotTotals(values)) {
            if (total < kMinDesignSlots || total > kMaxDesignSlots)
                __builtin_trap();
        }
        sum += static_cast<size_t>(RacePoints(values) & 0xFF);
        sum += RaceStory(values).size() + Touch(values.LoadedRacePassword);
    } else if (values.RaceNameSingular != "before" || shell.passwordPrompts != 0) {
        __builtin_trap();  // a refused file must change nothing and prompt for nothing
    }

    sink = sum;
    return 0;
}
