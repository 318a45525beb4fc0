// Builds byte records and in-memory named record stores for tests of the record loaders.
#pragma once

#include <cstdint>
#include <deque>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/os/named_records.h"

// Appends fields in the packed little-endian layout of the built-in records.
class ByteRecord {
public:
    ByteRecord& Text(std::string_view text) {
        bytes_.insert(bytes_.end(), text.begin(), text.end());
        bytes_.push_back(0);
        return *this;
    }
    ByteRecord& Raw(std::string_view chars) {
        bytes_.insert(bytes_.end(), chars.begin(), chars.end());
        return *this;
    }
    ByteRecord& I16(std::initializer_list<int> values) {
        for (int v : values) {
            auto bits = static_cast<uint16_t>(v);
            bytes_.push_back(static_cast<uint8_t>(bits & 0xFF));
            bytes_.push_back(static_cast<uint8_t>(bits >> 8));
        }
        return *this;
    }
    ByteRecord& U8(std::initializer_list<int> values) {
        for (int v : values)
            bytes_.push_back(static_cast<uint8_t>(v));
        return *this;
    }
    const std::vector<uint8_t>& Bytes() const { return bytes_; }
    operator std::vector<uint8_t>() const { return bytes_; }
    operator std::span<const uint8_t>() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

// Owns named byte records and hands out a NamedRecordStore over them. Every record's bytes
// sit in their own exactly sized allocation, so a read past a record's end is caught by the
// address sanitizer. Records added later do not move earlier ones.
class ByteRecordSet {
public:
    ByteRecordSet& Add(std::string name, std::vector<uint8_t> bytes) {
        names_.push_back(std::move(name));
        records_.push_back(std::move(bytes));
        return *this;
    }
    NamedRecordStore Store() const {
        std::vector<NamedRecordEntry> entries;
        for (size_t i = 0; i < names_.size(); ++i) {
            entries.push_back({names_[i].c_str(), records_[i].data(), records_[i].size()});
        }
        return NamedRecordStore(std::move(entries));
    }

private:
    std::deque<std::string> names_;
    std::deque<std::vector<uint8_t>> records_;
};
