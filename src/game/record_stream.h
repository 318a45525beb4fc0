#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/os/file_write.h"

// The tagged-record form shared by every game file: little-endian signed 32-bit tags,
// int32 and float32 values, and texts as a signed 32-bit count followed by the bytes (with
// or without a terminating 0, depending on the file kind).

// Reads records from a file image held in memory. Every read is bounded by the image: a
// read that would pass its end reads nothing, returns false and leaves the reader at the
// end, so callers can stop cleanly on a file cut short.
class RecordReader {
public:
    explicit RecordReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    bool ReadInt32(int32_t& value);
    bool ReadFloat(float& value);
    bool ReadByte(uint8_t& value);
    bool ReadBytes(std::span<uint8_t> out);
    bool Skip(size_t count);

    // Reads a count n and then n bytes. Fails (consuming nothing more than the count) when
    // n is negative or above maxBytes, or the bytes pass the end. The text is the bytes up
    // to the first 0 byte, so the count may or may not include a terminating 0.
    bool ReadCountedText(size_t maxBytes, std::string& text);

    bool AtEnd() const { return offset_ >= bytes_.size(); }
    size_t Offset() const { return offset_; }
    size_t Remaining() const { return bytes_.size() - offset_; }

private:
    std::span<const uint8_t> bytes_;
    size_t offset_ = 0;
};

// Collects records in memory; the file modules write the bytes out in one piece.
class RecordWriter {
public:
    void WriteInt32(int32_t value);
    void WriteFloat(float value);
    void WriteByte(uint8_t value);
    void WriteBytes(std::span<const uint8_t> bytes);
    // A count and the text's bytes; with `withTerminator` the count includes a 0 byte that
    // follows the text.
    void WriteCountedText(std::string_view text, bool withTerminator);

    const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

// Reads a whole file of at most maxBytes bytes; std::nullopt when it is missing, cannot be
// opened, is not a regular file or is larger.
std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path,
                                                  size_t maxBytes = 64u << 20);

// A whole file, or why it could not be read: the system's reason ("No such file or
// directory"), "Is a directory", or that it is larger than maxBytes.
struct WholeFile {
    std::optional<std::vector<uint8_t>> Bytes;
    std::string Reason;  // empty when Bytes holds the file
};
WholeFile ReadWholeFileWithReason(const std::string& path, size_t maxBytes = 64u << 20);

// Why a game file was not taken: the file's name and the reason ("No such file or
// directory", "the file is empty").
struct ReadFailure {
    std::string Path;
    std::string Reason;
};

// "<path>: <reason>", for the second line of a message box.
std::string DescribeReadFailure(const ReadFailure& failure);

// Reads the first bytes of a file, at most maxBytes (fewer when the file is shorter);
// std::nullopt when it is missing, cannot be opened or is not a regular file.
std::optional<std::vector<uint8_t>> ReadFileHead(const std::string& path, size_t maxBytes);

// A fault a reader found in a file: the offset of the record (or value) at fault and what
// is wrong with it.
struct FileDamage {
    size_t Offset = 0;
    std::string What;
};

// How a reader of a game file went: whether it reached the file's proper end, the first
// fault it met (and how many), and which known tags it handled. The readers keep what they
// could read whatever happens; this lets callers and the tool tell a whole file from a
// damaged one.
struct ReadOutcome {
    bool EndReached = false;  // the end record (or, for files without one, the file's end)
    std::optional<FileDamage> FirstDamage;
    int DamageCount = 0;
    std::set<int32_t> TagsSeen;
    // The file ends inside a record or inside a record's tag, so what followed is unknown;
    // CutRecordTag is the tag of that record (none when the tag itself is cut).
    bool CutShort = false;
    std::optional<int32_t> CutRecordTag;

    void NoteDamage(size_t offset, std::string what);
    bool Damaged() const { return DamageCount > 0; }
    bool Saw(int32_t tag) const { return TagsSeen.count(tag) != 0; }
};

// What a file's record handler made of one record (its tag already read).
enum class RecordRead {
    Read,     // read (or passed over by the file's own limits); reading goes on
    Unknown,  // not a tag of this file: it has no payload; reading goes on
    Cut,      // the file ends inside the record's payload; the loop notes it and stops
    Stop,     // the handler noted a fault after which the next record's start is unknown
};

// Read when a payload was read whole, Cut when the file ended inside it.
inline RecordRead ReadOrCut(bool whole) {
    return whole ? RecordRead::Read : RecordRead::Cut;
}

// How a file of the kind ends properly: with the end record (tag 0), or at its last byte
// (a tag 0 still ends the reading).
enum class FileEnding { EndRecord, LastByte };

// Reads one record: the tag, the reader standing after it, the offset of the tag.
using RecordHandler = std::function<RecordRead(int32_t tag, RecordReader& reader,
                                               size_t recordStart, ReadOutcome& outcome)>;

// The record loop every game file reader shares: reads tags until the end record or the
// end of the file and hands each record to `handle`. A record the file ends inside stops
// the reading with the damage noted ("the file ends inside the record of tag N"), as does a
// tag it ends inside ("the file ends inside a record tag"); a file of EndRecord kind whose
// records end without tag 0 is noted as "the file ends before its end record"; the tags of
// records read are kept in TagsSeen.
ReadOutcome ReadRecords(std::span<const uint8_t> bytes, FileEnding ending,
                        const RecordHandler& handle);

// How a bounded text read went. TooLong: the count lies within the file but above the
// limit; the text's bytes were passed over, so reading can go on with the next record.
// Stop: the count is negative or the file ends inside the text; the next record's start
// is unknown.
enum class TextRead { Ok, TooLong, Stop };

// Reads a count n and n bytes; the text is the bytes up to the first 0 byte. Anything but
// Ok is noted in `outcome`, naming the value as `what` ("message text").
TextRead ReadBoundedText(RecordReader& reader, size_t maxBytes, std::string& text,
                         ReadOutcome& outcome, std::string_view what);

// "war.p01: damaged at byte 1234: <what>" (and how many more faults follow).
std::string DescribeDamage(std::string_view path, const ReadOutcome& outcome);

// Writes the bytes to a temporary file beside `path`, flushes it and renames it over
// `path`, so a failed write never destroys the file it would replace. Returns false (and
// leaves any old file as it was) when any step fails.
bool WriteFileReplacing(const std::string& path, std::span<const uint8_t> bytes);

// How writing a game file (or a set of them) went. True when everything was written;
// otherwise Failure names the file that failed and the system's reason, and no file of the
// operation was changed.
struct WriteOutcome {
    std::optional<WriteFailure> Failure;
    explicit operator bool() const { return !Failure.has_value(); }
};

// Little-endian helpers over byte spans (the caller checks the bounds).
inline int32_t LoadInt32(const uint8_t* p) {
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                                (static_cast<uint32_t>(p[2]) << 16) |
                                (static_cast<uint32_t>(p[3]) << 24));
}
inline int16_t LoadInt16(const uint8_t* p) {
    return static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8)));
}
