#include "platform/os/named_records.h"

#include <utility>

namespace {

char Fold(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (Fold(a[i]) != Fold(b[i]))
            return false;
    }
    return true;
}

NamedRecordStore::NamedRecordStore(std::vector<NamedRecordEntry> entries)
    : entries_(std::move(entries)) {}

std::optional<std::span<const uint8_t>> NamedRecordStore::Find(std::string_view name) const {
    for (const NamedRecordEntry& entry : entries_) {
        if (entry.name != nullptr && EqualsIgnoringCase(entry.name, name)) {
            return std::span<const uint8_t>(entry.data, entry.size);
        }
    }
    return std::nullopt;
}

const NamedRecordStore& BuiltInRecords() {
    static const NamedRecordStore store(std::vector<NamedRecordEntry>(
        kBuiltInRecordEntries, kBuiltInRecordEntries + kBuiltInRecordCount));
    return store;
}

std::optional<std::span<const uint8_t>> FindNamedRecord(std::string_view name) {
    return BuiltInRecords().Find(name);
}
