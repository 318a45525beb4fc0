// Feeds arbitrary bytes to the player file reader, as "Load Game" reads a file, to the
// player's description of a damaged file, and to the tool's description of a player file.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "game/game_file_dump.h"
#include "game/message_store.h"
#include "game/player_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The input in an allocation of its own size, so reads past it are caught.
    std::vector<uint8_t> bytes(data, data + size);

    static auto world = std::make_unique<WorldMap>();
    TitleState title;
    MessageStore messages{std::vector<MessageText>{}};
    ResearchPoints research;
    ReadOutcome outcome = LoadPlayerFileImage(bytes, {*world, title, messages, research});

    if (messages.Count() < 1 || messages.Count() > kMaxStoredMessages)
        __builtin_trap();
    if (title.PointList.size() > static_cast<size_t>(kMaxPointListCount))
        __builtin_trap();
    for (int i = 0; i < messages.Count(); ++i) {
        const StoredMessage& message = messages.Message(i);
        if (message.Type < 0 || message.Type >= kMessageTypes)
            __builtin_trap();
        if (message.Param1.back() != 0 || message.Param3.back() != 0)
            __builtin_trap();
    }

    PlayerFileLoad load;
    load.Outcome = outcome;
    load.FileSize = bytes.size();
    const std::string damage = DescribePlayerFileDamage("fuzz.p01", load);
    if (damage.empty() != !outcome.Damaged())
        __builtin_trap();

    // The description reads the file the same way; it is worth its cost for whole files.
    if (!outcome.Damaged()) {
        DumpResult dump = DumpPlayerImage("fuzz.p01", bytes, DumpOptions{});
        if (!dump.Ok() || dump.Json.empty())
            __builtin_trap();
    }
    return 0;
}
