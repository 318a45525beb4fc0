#include "tool/png_writer.h"

#include <array>
#include <cstring>

namespace {

const std::array<std::uint32_t, 256>& CrcTable() {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            t[n] = c;
        }
        return t;
    }();
    return table;
}

std::uint32_t Crc(std::uint32_t crc, const std::uint8_t* data, std::size_t size) {
    const auto& table = CrcTable();
    for (std::size_t i = 0; i < size; ++i) {
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    }
    return crc;
}

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v >> 24));
    out.push_back(static_cast<std::uint8_t>(v >> 16));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}

constexpr std::size_t kMaxStoredBlock = 65535;

}  // namespace

PngRowWriter::~PngRowWriter() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

bool PngRowWriter::Chunk(const char type[4], const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> head;
    PutBigEndian(head, static_cast<std::uint32_t>(size));
    head.insert(head.end(), type, type + 4);
    std::uint32_t crc = Crc(0xFFFFFFFFu, head.data() + 4, 4);
    crc = Crc(crc, data, size) ^ 0xFFFFFFFFu;
    std::vector<std::uint8_t> tail;
    PutBigEndian(tail, crc);
    ok_ = ok_ && std::fwrite(head.data(), 1, head.size(), file_) == head.size() &&
          (size == 0 || std::fwrite(data, 1, size, file_) == size) &&
          std::fwrite(tail.data(), 1, tail.size(), file_) == tail.size();
    return ok_;
}

bool PngRowWriter::Open(const std::string& path, int width, int height) {
    if (file_ != nullptr || width < 1 || height < 1) {
        return false;
    }
    file_ = std::fopen(path.c_str(), "wb");
    if (file_ == nullptr) {
        return false;
    }
    width_ = width;
    height_ = height;
    static const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    ok_ = std::fwrite(kSignature, 1, sizeof kSignature, file_) == sizeof kSignature;
    std::vector<std::uint8_t> header;
    PutBigEndian(header, static_cast<std::uint32_t>(width));
    PutBigEndian(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter, no interlace
    Chunk("IHDR", header.data(), header.size());
    // The zlib stream header (deflate, 32 KiB window, no preset dictionary).
    const std::uint8_t zlibHeader[2] = {0x78, 0x01};
    Chunk("IDAT", zlibHeader, sizeof zlibHeader);
    return ok_;
}

bool PngRowWriter::WriteRow(const std::uint8_t* rgb) {
    if (file_ == nullptr || rows_ >= height_) {
        return false;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(width_) * 3 + 1;
    std::vector<std::uint8_t> raw(rowBytes);
    raw[0] = 0;  // filter: none
    std::memcpy(raw.data() + 1, rgb, rowBytes - 1);
    for (std::uint8_t byte : raw) {
        adlerA_ = (adlerA_ + byte) % 65521;
        adlerB_ = (adlerB_ + adlerA_) % 65521;
    }
    ++rows_;
    const bool lastRow = rows_ == height_;
    buffer_.clear();
    for (std::size_t at = 0; at < rowBytes; at += kMaxStoredBlock) {
        const std::size_t size = std::min(kMaxStoredBlock, rowBytes - at);
        const bool final = lastRow && at + size == rowBytes;
        buffer_.push_back(final ? 1 : 0);
        buffer_.push_back(static_cast<std::uint8_t>(size));
        buffer_.push_back(static_cast<std::uint8_t>(size >> 8));
        buffer_.push_back(static_cast<std::uint8_t>(~size));
        buffer_.push_back(static_cast<std::uint8_t>(~size >> 8));
        buffer_.insert(buffer_.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                       raw.begin() + static_cast<std::ptrdiff_t>(at + size));
    }
    return Chunk("IDAT", buffer_.data(), buffer_.size());
}

bool PngRowWriter::Close() {
    if (file_ == nullptr) {
        return false;
    }
    std::vector<std::uint8_t> adler;
    PutBigEndian(adler, (adlerB_ << 16) | adlerA_);
    if (rows_ == height_) {
        Chunk("IDAT", adler.data(), adler.size());
        Chunk("IEND", nullptr, 0);
    } else {
        ok_ = false;
    }
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    return ok_ && closed;
}
