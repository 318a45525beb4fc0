#include "creation/create_command_line.h"

#include <algorithm>
#include <charconv>
#include <string_view>

namespace {

template <typename Number>
bool ParseNumber(std::string_view text, Number& value) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return !text.empty() && ec == std::errc() && ptr == end;
}

// "40", "40%" or "40 %".
bool ParseLand(std::string_view text, int& value) {
    if (text.ends_with('%')) {
        text.remove_suffix(1);
        if (text.ends_with(' '))
            text.remove_suffix(1);
    }
    return ParseNumber(text, value);
}

// "N=human", "N=computer:RACEFILE".
bool ParsePlayer(std::string_view text, CreatePlayerOption& player, std::string& error) {
    const size_t equals = text.find('=');
    if (equals == std::string_view::npos || !ParseNumber(text.substr(0, equals), player.Player) ||
        player.Player < 1 || player.Player > 10) {
        error =
            "--player takes N=human or N=computer (N from 1 to 10, optionally followed by "
            ":RACEFILE), not '" +
            std::string(text) + "'";
        return false;
    }
    std::string_view rest = text.substr(equals + 1);
    const size_t colon = rest.find(':');
    const std::string_view kind = rest.substr(0, colon);
    if (kind == "human" || kind == "Human") {
        player.Computer = false;
    } else if (kind == "computer" || kind == "Computer") {
        player.Computer = true;
    } else {
        error = "player " + std::to_string(player.Player) +
                ": the kind is human or computer, not '" + std::string(kind) + "'";
        return false;
    }
    if (colon != std::string_view::npos) {
        player.RaceFile = std::string(rest.substr(colon + 1));
        if (player.RaceFile.empty()) {
            error = "player " + std::to_string(player.Player) + ": the race file name is empty";
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<CreateCommandLine> ParseCreateCommandLine(const std::vector<std::string>& args,
                                                        std::string& error) {
    CreateCommandLine result;
    bool gameGiven = false;
    bool landGiven = false;

    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--force") {
            result.Force = true;
            continue;
        }
        if (option != "--game" && option != "--land" && option != "--player" &&
            option != "--seed") {
            error = option.starts_with("-") ? "unknown option " + option
                                            : "unexpected argument '" + option + "'";
            return std::nullopt;
        }
        if (i + 1 >= args.size()) {
            error = "option " + option + " needs a value";
            return std::nullopt;
        }
        const std::string& value = args[++i];
        if (option == "--game") {
            result.GameFileText = value;
            gameGiven = true;
        } else if (option == "--land") {
            if (!ParseLand(value, result.LandPercent)) {
                error = "--land takes a whole percentage, e.g. 40, not '" + value + "'";
                return std::nullopt;
            }
            landGiven = true;
        } else if (option == "--seed") {
            uint32_t seed = 0;
            if (!ParseNumber(std::string_view(value), seed)) {
                error = "--seed takes a number from 0 to 4294967295, not '" + value + "'";
                return std::nullopt;
            }
            result.Seed = seed;
        } else {
            CreatePlayerOption player;
            if (!ParsePlayer(value, player, error))
                return std::nullopt;
            const bool repeated = std::any_of(
                result.Players.begin(), result.Players.end(),
                [&](const CreatePlayerOption& other) { return other.Player == player.Player; });
            if (repeated) {
                error = "player " + std::to_string(player.Player) + " is given twice";
                return std::nullopt;
            }
            result.Players.push_back(std::move(player));
        }
    }
    if (!gameGiven) {
        error = "--game PATH is required";
        return std::nullopt;
    }
    if (!landGiven) {
        error = "--land P is required";
        return std::nullopt;
    }
    return result;
}
