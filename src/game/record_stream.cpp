#include "game/record_stream.h"

#include "platform/os/file_write.h"

#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

bool RecordReader::ReadBytes(std::span<uint8_t> out) {
    if (out.size() > Remaining()) {
        offset_ = bytes_.size();
        return false;
    }
    if (!out.empty())
        std::memcpy(out.data(), bytes_.data() + offset_, out.size());
    offset_ += out.size();
    return true;
}

bool RecordReader::Skip(size_t count) {
    if (count > Remaining()) {
        offset_ = bytes_.size();
        return false;
    }
    offset_ += count;
    return true;
}

bool RecordReader::ReadInt32(int32_t& value) {
    uint8_t raw[4];
    if (!ReadBytes(raw))
        return false;
    value = LoadInt32(raw);
    return true;
}

bool RecordReader::ReadFloat(float& value) {
    int32_t bits = 0;
    if (!ReadInt32(bits))
        return false;
    value = std::bit_cast<float>(bits);
    return true;
}

bool RecordReader::ReadByte(uint8_t& value) {
    uint8_t raw[1];
    if (!ReadBytes(raw))
        return false;
    value = raw[0];
    return true;
}

bool RecordReader::ReadCountedText(size_t maxBytes, std::string& text) {
    int32_t count = 0;
    if (!ReadInt32(count))
        return false;
    if (count < 0 || static_cast<size_t>(count) > maxBytes)
        return false;
    if (static_cast<size_t>(count) > Remaining()) {
        offset_ = bytes_.size();
        return false;
    }
    const char* start = reinterpret_cast<const char*>(bytes_.data() + offset_);
    size_t length = ::strnlen(start, static_cast<size_t>(count));
    text.assign(start, length);
    offset_ += static_cast<size_t>(count);
    return true;
}

void RecordWriter::WriteInt32(int32_t value) {
    auto bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        bytes_.push_back(static_cast<uint8_t>(bits >> (8 * i)));
}

void RecordWriter::WriteFloat(float value) {
    WriteInt32(std::bit_cast<int32_t>(value));
}

void RecordWriter::WriteByte(uint8_t value) {
    bytes_.push_back(value);
}

void RecordWriter::WriteBytes(std::span<const uint8_t> bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

void RecordWriter::WriteCountedText(std::string_view text, bool withTerminator) {
    WriteInt32(static_cast<int32_t>(text.size() + (withTerminator ? 1 : 0)));
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    if (withTerminator)
        bytes_.push_back(0);
}

WholeFile ReadWholeFileWithReason(const std::string& path, size_t maxBytes) {
    WholeFile result;
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    if (ec) {
        result.Reason = ec.message();
        return result;
    }
    if (std::filesystem::is_directory(status)) {
        result.Reason = std::strerror(EISDIR);
        return result;
    }
    if (!std::filesystem::is_regular_file(status)) {
        result.Reason = "not a regular file";
        return result;
    }
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        result.Reason = std::strerror(errno);
        return result;
    }
    std::vector<uint8_t> bytes;
    uint8_t buffer[65536];
    for (;;) {
        size_t got = std::fread(buffer, 1, sizeof buffer, file);
        if (bytes.size() + got > maxBytes) {
            result.Reason = "the file is larger than " + std::to_string(maxBytes) + " bytes";
            break;
        }
        bytes.insert(bytes.end(), buffer, buffer + got);
        if (got < sizeof buffer) {
            if (std::ferror(file) != 0)
                result.Reason = std::strerror(errno != 0 ? errno : EIO);
            break;
        }
    }
    std::fclose(file);
    if (result.Reason.empty())
        result.Bytes = std::move(bytes);
    return result;
}

std::string DescribeReadFailure(const ReadFailure& failure) {
    return failure.Path + ": " + failure.Reason;
}

std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path, size_t maxBytes) {
    return ReadWholeFileWithReason(path, maxBytes).Bytes;
}

std::optional<std::vector<uint8_t>> ReadFileHead(const std::string& path, size_t maxBytes) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return std::nullopt;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return std::nullopt;
    std::vector<uint8_t> bytes(maxBytes);
    size_t got = maxBytes == 0 ? 0 : std::fread(bytes.data(), 1, maxBytes, file);
    bool ok = std::ferror(file) == 0;
    std::fclose(file);
    if (!ok)
        return std::nullopt;
    bytes.resize(got);
    return bytes;
}

void ReadOutcome::NoteDamage(size_t offset, std::string what) {
    if (!FirstDamage)
        FirstDamage = FileDamage{offset, std::move(what)};
    ++DamageCount;
}

TextRead ReadBoundedText(RecordReader& reader, size_t maxBytes, std::string& text,
                         ReadOutcome& outcome, std::string_view what) {
    size_t at = reader.Offset();
    int32_t count = 0;
    if (!reader.ReadInt32(count)) {
        outcome.NoteDamage(at, "the file ends inside a " + std::string(what));
        return TextRead::Stop;
    }
    if (count < 0) {
        outcome.NoteDamage(at,
                           std::string(what) + " count " + std::to_string(count) + " is negative");
        return TextRead::Stop;
    }
    if (static_cast<size_t>(count) > reader.Remaining()) {
        outcome.NoteDamage(at, "the file ends inside a " + std::string(what));
        reader.Skip(reader.Remaining());
        return TextRead::Stop;
    }
    if (static_cast<size_t>(count) > maxBytes) {
        outcome.NoteDamage(at, std::string(what) + " count " + std::to_string(count) +
                                   " is above " + std::to_string(maxBytes));
        reader.Skip(static_cast<size_t>(count));
        return TextRead::TooLong;
    }
    std::string bytes(static_cast<size_t>(count), '\0');
    reader.ReadBytes(std::span<uint8_t>(reinterpret_cast<uint8_t*>(bytes.data()), bytes.size()));
    bytes.resize(::strnlen(bytes.data(), bytes.size()));
    text = std::move(bytes);
    return TextRead::Ok;
}

std::string DescribeDamage(std::string_view path, const ReadOutcome& outcome) {
    if (!outcome.FirstDamage)
        return std::string(path) + ": no damage found";
    std::string text = std::string(path) + ": damaged at byte " +
                       std::to_string(outcome.FirstDamage->Offset) + ": " +
                       outcome.FirstDamage->What;
    if (outcome.DamageCount > 1) {
        text += " (and " + std::to_string(outcome.DamageCount - 1) + " more fault" +
                (outcome.DamageCount > 2 ? "s" : "") + ")";
    }
    return text;
}

bool WriteFileReplacing(const std::string& path, std::span<const uint8_t> bytes) {
    return !WriteFileAtomically(path, bytes).has_value();
}

ReadOutcome ReadRecords(std::span<const uint8_t> bytes, FileEnding ending,
                        const RecordHandler& handle) {
    ReadOutcome outcome;
    RecordReader reader(bytes);
    bool stopped = false;
    while (!reader.AtEnd()) {
        const size_t recordStart = reader.Offset();
        int32_t tag = 0;
        if (!reader.ReadInt32(tag)) {
            outcome.NoteDamage(recordStart, "the file ends inside a record tag");
            outcome.CutShort = true;
            stopped = true;
            break;
        }
        if (tag == 0) {
            outcome.EndReached = true;
            break;
        }
        const RecordRead read = handle(tag, reader, recordStart, outcome);
        if (read == RecordRead::Unknown)
            continue;
        if (read == RecordRead::Cut) {
            outcome.NoteDamage(recordStart,
                               "the file ends inside the record of tag " + std::to_string(tag));
        }
        if (read == RecordRead::Cut || read == RecordRead::Stop) {
            // A fault that ran into the end of the file leaves the rest of it unknown.
            if (read == RecordRead::Cut || reader.AtEnd()) {
                outcome.CutShort = true;
                outcome.CutRecordTag = tag;
            }
            stopped = true;
            break;
        }
        outcome.TagsSeen.insert(tag);
    }
    if (ending == FileEnding::LastByte) {
        // The file has no end record: reaching its end whole is the proper end.
        if (!stopped)
            outcome.EndReached = true;
    } else if (!outcome.EndReached && !stopped) {
        outcome.NoteDamage(reader.Offset(), "the file ends before its end record");
    }
    return outcome;
}
