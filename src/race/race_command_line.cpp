#include "race/race_command_line.h"

#include <charconv>
#include <iterator>
#include <string_view>
#include <utility>

#include "platform/os/windows_1252.h"
#include "race/race_file.h"
#include "race/race_points.h"

namespace {

bool ParseInt(std::string_view text, int32_t& value) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && !text.empty();
}

// Splits "5,5,8" into its numbers; false when a piece is not a number.
bool ParseList(std::string_view text, std::vector<int32_t>& values) {
    for (;;) {
        const size_t comma = text.find(',');
        int32_t value = 0;
        if (!ParseInt(text.substr(0, comma), value))
            return false;
        values.push_back(value);
        if (comma == std::string_view::npos)
            return true;
        text.remove_prefix(comma + 1);
    }
}

}  // namespace

std::optional<RaceCommandLine> ParseRaceCommandLine(const std::vector<std::string>& args,
                                                    std::string& error) {
    RaceCommandLine result;
    result.Race.RaceClass = kMammalia;
    bool slotsGiven = false;
    bool outputGiven = false;

    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (i + 1 >= args.size()) {
            error = option.starts_with("-") ? "option " + option + " needs a value"
                                            : "unexpected argument '" + option + "'";
            return std::nullopt;
        }
        const std::string& value = args[++i];
        if (option == "--singular") {
            result.Race.NameSingular = value;
        } else if (option == "--plural") {
            result.Race.NamePlural = value;
        } else if (option == "--leader") {
            result.Race.LeaderName = value;
        } else if (option == "--title") {
            result.Race.LeaderTitle = value;
        } else if (option == "--password") {
            result.Race.Password = value;
        } else if (option == "-o") {
            result.OutputPath = value;
            outputGiven = true;
        } else if (option == "--sex" || option == "--class") {
            int32_t number = 0;
            if (!ParseInt(value, number)) {
                error = option + " takes a number, not '" + value + "'";
                return std::nullopt;
            }
            (option == "--sex" ? result.Race.Sex : result.Race.RaceClass) = number;
        } else if (option == "--slots") {
            std::vector<int32_t> slots;
            bool ok = ParseList(value, slots);
            // Without commas the eight numbers are eight arguments.
            while (ok && value.find(',') == std::string::npos && slots.size() < 8 &&
                   i + 1 < args.size() && !args[i + 1].starts_with("-")) {
                ok = ParseList(args[++i], slots);
            }
            if (!ok || slots.size() != 8) {
                error = "--slots takes eight numbers, e.g. --slots 5,5,8,6,5,5,3,5";
                return std::nullopt;
            }
            for (size_t k = 0; k < 8; ++k)
                result.Race.DesignSlots[k] = slots[k];
            slotsGiven = true;
        } else {
            error = "unknown option '" + option + "'";
            return std::nullopt;
        }
    }
    if (!outputGiven || result.OutputPath.empty()) {
        error = "the race file to write must be given with -o FILE";
        return std::nullopt;
    }
    if (!slotsGiven && IsRaceClass(result.Race.RaceClass)) {
        result.Race.DesignSlots = ClassBase(result.Race.RaceClass);
    }
    return result;
}

std::string StoreRaceTexts(RaceRecord& race) {
    const std::pair<std::string*, const char*> texts[] = {
        {&race.NameSingular, "--singular"}, {&race.NamePlural, "--plural"},
        {&race.LeaderName, "--leader"},     {&race.LeaderTitle, "--title"},
        {&race.Password, "--password"},
    };
    std::string stored[std::size(texts)];
    for (size_t i = 0; i < std::size(texts); ++i) {
        const auto& [text, option] = texts[i];
        std::string lacking;
        std::optional<std::string> converted = Utf8ToWindows1252(*text, &lacking);
        if (!converted && lacking.empty())
            return std::string(option) + " is not UTF-8 text";
        if (!converted) {
            return std::string(option) + " '" + *text + "' cannot be stored: the game keeps " +
                   "its texts in the Windows-1252 code page (Western European), which has no '" +
                   lacking + "'";
        }
        stored[i] = std::move(*converted);
    }
    for (size_t i = 0; i < std::size(texts); ++i)
        *texts[i].first = std::move(stored[i]);
    return {};
}

std::string RaceRefusal(const RaceRecord& race) {
    const std::pair<const std::string*, const char*> names[] = {
        {&race.NameSingular, "--singular"},
        {&race.NamePlural, "--plural"},
        {&race.LeaderName, "--leader"},
        {&race.LeaderTitle, "--title"},
    };
    for (const auto& [text, option] : names) {
        if (text->empty())
            return std::string(option) + " must not be empty";
    }
    if (std::string_view overlong = FirstOverlongRaceText(race); !overlong.empty()) {
        return std::string(overlong) + " is longer than 199 characters";
    }
    if (!IsRaceSex(race.Sex))
        return "--sex must be 0 (Male), 1 (Female) or 2 (Other)";
    if (!IsRaceClass(race.RaceClass)) {
        return "--class must be 0 (Arachnidia), 1 (Amphibia), 2 (Aves), 3 (Insecta), "
               "4 (Mammalia) or 5 (Reptillia)";
    }
    static const char* const kCategories[] = {"Infantry", "Cavalry",  "Vehicle", "Artillery",
                                              "Ships",    "Aircraft", "Mechs",   "Satellites"};
    for (size_t i = 0; i < race.DesignSlots.size(); ++i) {
        const int32_t slots = race.DesignSlots[i];
        if (slots < kMinDesignSlots || slots > kMaxDesignSlots) {
            return std::string(kCategories[i]) + " design slots " + std::to_string(slots) +
                   " are outside 2..20";
        }
    }
    const int32_t points =
        RacePoints(race.RaceClass, AdjustmentsFromTotals(race.RaceClass, race.DesignSlots));
    if (points < 0) {
        return "these design slots cost more than the race has: " + std::to_string(points) +
               " race points would be left";
    }
    return {};
}
