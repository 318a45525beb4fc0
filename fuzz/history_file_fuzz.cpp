// Feeds arbitrary bytes to the history file reader, into a table holding the start-up
// designs as "Load Game" finds it, and to the tool's description of a history file.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "game/game_file_dump.h"
#include "game/turn_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The input in an allocation of its own size, so reads past it are caught.
    std::vector<uint8_t> bytes(data, data + size);

    static UnitDesignTable designs;
    MakeStartUpDesigns(designs);
    TitleState title;
    ReadHistoryImage(bytes, title, designs);
    for (int slot = 0; slot < kDesignPlayerSlots; ++slot) {
        if (designs.Count(slot) < 0 || designs.Count(slot) > kDesignsPerPlayerSlot) {
            __builtin_trap();
        }
        for (int position = 0; position < designs.Count(slot); ++position) {
            if (designs.Design(slot, position).NameText().size() > kUnitNameMaxLength) {
                __builtin_trap();
            }
        }
    }

    DumpResult dump = DumpHistoryImage("fuzz.H01", bytes);
    if (dump.Ok() == dump.Json.empty())
        __builtin_trap();
    return 0;
}
