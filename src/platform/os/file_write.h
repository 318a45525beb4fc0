#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

// Why a file could not be written: the file's name and the reason the system gave
// ("Permission denied", "No such file or directory").
struct WriteFailure {
    std::string Path;
    std::string Reason;
};

// "<path>: <reason>", for the second line of a message box.
std::string DescribeWriteFailure(const WriteFailure& failure);

// Writes the bytes to a temporary file beside `path`, flushes it and renames it over
// `path`, so a failed write never destroys the file it would replace. Returns the failure
// (and leaves any old file as it was) when any step fails.
std::optional<WriteFailure> WriteFileAtomically(const std::string& path,
                                                std::span<const uint8_t> bytes);
