// Builds and inspects the little-endian tagged records of game files in tests.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "game/game_state.h"

#include <signal.h>
#include <sys/resource.h>

class FileBytes {
public:
    FileBytes& I32(int32_t value) {
        auto bits = static_cast<uint32_t>(value);
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<uint8_t>(bits >> (8 * i)));
        return *this;
    }
    FileBytes& F32(float value) { return I32(std::bit_cast<int32_t>(value)); }
    FileBytes& U8(uint8_t value) {
        bytes.push_back(value);
        return *this;
    }
    FileBytes& Raw(std::string_view chars) {
        bytes.insert(bytes.end(), chars.begin(), chars.end());
        return *this;
    }
    // A text counted with its terminating 0 (player and race files).
    FileBytes& Text0(std::string_view text) {
        I32(static_cast<int32_t>(text.size() + 1)).Raw(text);
        return U8(0);
    }
    // A text counted without a 0 byte (host and history files).
    FileBytes& Text(std::string_view text) {
        return I32(static_cast<int32_t>(text.size())).Raw(text);
    }

    std::vector<uint8_t> bytes;
};

// A title state holding the two version stamps.
inline TitleState Stamps(float a, float b) {
    TitleState title;
    title.VersionStampA = a;
    title.VersionStampB = b;
    return title;
}

inline int32_t I32At(const std::vector<uint8_t>& bytes, size_t offset) {
    uint32_t bits = 0;
    for (int i = 0; i < 4; ++i)
        bits |= static_cast<uint32_t>(bytes.at(offset + i)) << (8 * i);
    return static_cast<int32_t>(bits);
}

inline float F32At(const std::vector<uint8_t>& bytes, size_t offset) {
    return std::bit_cast<float>(I32At(bytes, offset));
}

inline std::string_view CharsAt(const std::vector<uint8_t>& bytes, size_t offset, size_t count) {
    return std::string_view(reinterpret_cast<const char*>(bytes.data()) + offset, count);
}

// Limits the size of the files this process writes for the lifetime of the object, so a
// write past the limit fails (with EFBIG; the signal it would raise is ignored meanwhile).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &previous_);
        previousHandler_ = signal(SIGXFSZ, SIG_IGN);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
    sighandler_t previousHandler_ = SIG_DFL;
};
