// Bounded reading of the built-in data records: packed little-endian 16-bit integers and
// zero-ended 8-bit texts, with no gaps between fields.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

// Walks a record's bytes. A read that would pass the record's end (or a text without its
// 0 byte) reads nothing and returns false; after the first failure every further read
// fails too, so a loader can read a whole layout and check Failed() once.
class RecordCursor {
public:
    explicit RecordCursor(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    bool ReadInt16(int16_t& value) {
        if (failed_ || Remaining() < 2)
            return Fail();
        value = static_cast<int16_t>(
            static_cast<uint16_t>(bytes_[offset_] | (bytes_[offset_ + 1] << 8)));
        offset_ += 2;
        return true;
    }

    // A text up to its 0 byte, as a view into the record; the 0 byte is consumed.
    bool ReadText(std::string_view& text) {
        if (failed_)
            return false;
        for (size_t end = offset_; end < bytes_.size(); ++end) {
            if (bytes_[end] == 0) {
                text = std::string_view(reinterpret_cast<const char*>(bytes_.data()) + offset_,
                                        end - offset_);
                offset_ = end + 1;
                return true;
            }
        }
        return Fail();
    }

    bool Skip(size_t count) {
        if (failed_ || Remaining() < count)
            return Fail();
        offset_ += count;
        return true;
    }

    bool Failed() const { return failed_; }
    size_t Offset() const { return offset_; }
    size_t Remaining() const { return bytes_.size() - offset_; }

private:
    bool Fail() {
        failed_ = true;
        offset_ = bytes_.size();
        return false;
    }

    std::span<const uint8_t> bytes_;
    size_t offset_ = 0;
    bool failed_ = false;
};
