// Feeds arbitrary bytes to the host file readers: the head reader of the host screen and
// the whole-file reader behind the tool's description.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "game/game_file_dump.h"
#include "game/host_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The input in an allocation of its own size, so reads past it are caught.
    std::vector<uint8_t> bytes(data, data + size);

    std::optional<HostFileHead> head = ParseHostFileHead(bytes);
    if (head.has_value() != (size >= 8))
        __builtin_trap();

    static auto world = std::make_unique<WorldMap>();
    HostFileContents contents;
    ReadOutcome outcome = ReadHostFileImage(bytes, contents, *world);
    if (contents.Players.size() > static_cast<size_t>(kPlayerCount))
        __builtin_trap();
    for (const HostPlayer& player : contents.Players) {
        const RaceRecord& race = player.Race;
        for (const std::string* text : {&race.NameSingular, &race.NamePlural, &race.LeaderName,
                                        &race.LeaderTitle, &race.Password}) {
            if (text->size() > static_cast<size_t>(kRaceTextMax))
                __builtin_trap();
        }
    }

    // The description reads the file the same way; it is worth its cost for whole files.
    if (!outcome.Damaged()) {
        DumpResult dump = DumpHostImage("fuzz.hst", bytes, DumpOptions{});
        if (!dump.Ok() || dump.Json.empty())
            __builtin_trap();
    }
    return 0;
}
