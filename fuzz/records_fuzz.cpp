// Feeds arbitrary bytes to the built-in record loaders as a technology, a hull, a component
// and a message record, through an in-memory record store.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "game/message_store.h"
#include "platform/os/named_records.h"
#include "research/tech_catalogue.h"
#include "units/unit_catalogue.h"

namespace {

// Keeps the reads of the views from being optimised away.
volatile size_t sink = 0;

// Touches every byte of a view, so a view reaching outside the record is reported.
size_t Touch(std::string_view text) {
    size_t sum = 0;
    for (char c : text)
        sum += static_cast<unsigned char>(c);
    return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The input in an allocation of its own size, so reads past it are caught.
    std::vector<uint8_t> bytes(data, data + size);
    static const uint8_t kThree[] = {3, 0};
    static const uint8_t kTwo[] = {2, 0};
    NamedRecordStore store({
        {"NumberOfTechs", kThree, sizeof kThree},
        {"Tech0", bytes.data(), bytes.size()},
        {"Tech1", bytes.data(), bytes.size()},
        {"HullType1", bytes.data(), bytes.size()},
        {"UnitCom1", bytes.data(), bytes.size()},
        {"NumberOfMessages", kTwo, sizeof kTwo},
        {"Message0", bytes.data(), bytes.size()},
    });

    size_t sum = 0;
    TechCatalogue techs;
    techs.Load(store);
    for (const TechRecord& tech : techs.Techs()) {
        sum += Touch(tech.Name) + Touch(tech.Description) + Touch(tech.Benefits);
        for (int32_t p : tech.Prerequisites) {
            if (p != -1 && (p < 0 || p >= techs.Count()))
                __builtin_trap();
        }
    }

    UnitCatalogue units;
    units.Load(store);
    const HullType& hull = units.Hull(0);
    if (hull.SlotCount < 0 || hull.SlotCount > kMaxHullSlots)
        __builtin_trap();
    sum +=
        Touch(hull.Name) + Touch(units.Component(0).Name) + Touch(units.Component(0).Description);

    MessageStore messages(store);
    messages.Append(0, "first", "second", "third");
    messages.Append(1, "MPARAM2", "MPARAM3", "MPARAM1");
    sum += messages.CurrentPanel().Text.size();
    messages.StepForward();
    sum += messages.CurrentPanel().Text.size();

    sink = sum;
    return 0;
}
