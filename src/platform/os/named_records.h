#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

// One raw byte record of the program, found by its name.
struct NamedRecordEntry {
    const char* name;
    const unsigned char* data;
    size_t size;
};

// The packed table of built-in records (written at build time).
extern const NamedRecordEntry kBuiltInRecordEntries[];
extern const size_t kBuiltInRecordCount;

// A store of named byte records. Names compare without regard to letter case (ASCII).
class NamedRecordStore {
public:
    explicit NamedRecordStore(std::vector<NamedRecordEntry> entries);

    std::optional<std::span<const uint8_t>> Find(std::string_view name) const;
    size_t Count() const { return entries_.size(); }

private:
    std::vector<NamedRecordEntry> entries_;
};

// The records built into the program (packed from data/records at build time).
const NamedRecordStore& BuiltInRecords();

// Shorthand for BuiltInRecords().Find(name).
std::optional<std::span<const uint8_t>> FindNamedRecord(std::string_view name);

// Compares two names without regard to ASCII letter case.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);
