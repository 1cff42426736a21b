#include "calibration/archive.h"

#include <cstring>

namespace korvath {
namespace {

constexpr std::uint8_t kLongLength = 0xFF;
constexpr std::uint16_t kWideMarker = 0xFFFE;
constexpr std::uint16_t kLength32 = 0xFFFF;
constexpr std::uint32_t kLength64 = 0xFFFFFFFF;
// 16-bit characters that have no single-byte form.
constexpr char kUnmappable = '?';

}  // namespace

void ArchiveWriter::WriteBytes(const void* data, std::size_t size) {
    bytes_.append(static_cast<const char*>(data), size);
}

void ArchiveWriter::WriteU16(std::uint16_t v) {
    WriteU8(static_cast<std::uint8_t>(v & 0xFF));
    WriteU8(static_cast<std::uint8_t>(v >> 8));
}

void ArchiveWriter::WriteU32(std::uint32_t v) {
    WriteU16(static_cast<std::uint16_t>(v & 0xFFFF));
    WriteU16(static_cast<std::uint16_t>(v >> 16));
}

bool ArchiveWriter::WriteString(std::string_view text) {
    const std::size_t n = text.size();
    if (n >= kLength64) return false;
    if (n < kLongLength) {
        WriteU8(static_cast<std::uint8_t>(n));
    } else if (n < kWideMarker) {
        WriteU8(kLongLength);
        WriteU16(static_cast<std::uint16_t>(n));
    } else {
        WriteU8(kLongLength);
        WriteU16(kLength32);
        WriteU32(static_cast<std::uint32_t>(n));
    }
    WriteBytes(text.data(), n);
    return true;
}

bool ArchiveReader::Fail(std::string description) {
    if (!failed_) {
        failed_ = true;
        error_ = std::move(description);
    }
    return false;
}

bool ArchiveReader::Need(std::size_t size, std::string_view what) {
    if (failed_) return false;
    if (size > data_.size() - position_)
        return Fail("the file ends inside " + std::string(what) + " (at byte " + std::to_string(position_) + ")");
    return true;
}

bool ArchiveReader::ReadBytes(void* out, std::size_t size, std::string_view what) {
    if (!Need(size, what)) return false;
    if (size > 0) std::memcpy(out, data_.data() + position_, size);
    position_ += size;
    return true;
}

bool ArchiveReader::ReadU8(std::uint8_t& v, std::string_view what) { return ReadBytes(&v, 1, what); }

bool ArchiveReader::ReadU16(std::uint16_t& v, std::string_view what) {
    std::uint8_t b[2];
    if (!ReadBytes(b, 2, what)) return false;
    v = static_cast<std::uint16_t>(b[0] | (b[1] << 8));
    return true;
}

bool ArchiveReader::ReadI16(std::int16_t& v, std::string_view what) {
    std::uint16_t u = 0;
    if (!ReadU16(u, what)) return false;
    v = static_cast<std::int16_t>(u);
    return true;
}

bool ArchiveReader::ReadU32(std::uint32_t& v, std::string_view what) {
    std::uint16_t lo = 0, hi = 0;
    if (!ReadU16(lo, what) || !ReadU16(hi, what)) return false;
    v = static_cast<std::uint32_t>(lo) | (static_cast<std::uint32_t>(hi) << 16);
    return true;
}

bool ArchiveReader::ReadI32(std::int32_t& v, std::string_view what) {
    std::uint32_t u = 0;
    if (!ReadU32(u, what)) return false;
    v = static_cast<std::int32_t>(u);
    return true;
}

bool ArchiveReader::ReadLength(std::uint64_t& length, std::size_t& charSize, std::string_view what) {
    std::uint8_t b = 0;
    if (!ReadU8(b, what)) return false;
    if (b < kLongLength) return length = b, true;
    std::uint16_t w = 0;
    if (!ReadU16(w, what)) return false;
    if (w == kWideMarker) {
        // 16-bit characters: the length follows again in its usual form.
        charSize = 2;
        if (!ReadU8(b, what)) return false;
        if (b < kLongLength) return length = b, true;
        if (!ReadU16(w, what)) return false;
    }
    if (w < kLength32) return length = w, true;
    std::uint32_t d = 0;
    if (!ReadU32(d, what)) return false;
    if (d == kLength64) return Fail("the length of " + std::string(what) + " is too large to be read");
    length = d;
    return true;
}

bool ArchiveReader::ReadString(std::string& text, std::string_view what) {
    std::size_t charSize = 1;
    std::uint64_t length = 0;
    if (!ReadLength(length, charSize, what)) return false;
    const std::uint64_t size = length * charSize;
    if (size > data_.size() - position_)
        return Fail("the length of " + std::string(what) + " (" + std::to_string(length) +
                    " characters) runs past the end of the file");
    const char* p = data_.data() + position_;
    if (charSize == 1) {
        text.assign(p, static_cast<std::size_t>(length));
    } else {
        text.clear();
        text.reserve(static_cast<std::size_t>(length));
        for (std::uint64_t i = 0; i < length; ++i) {
            const unsigned c = static_cast<unsigned char>(p[2 * i]) | (static_cast<unsigned char>(p[2 * i + 1]) << 8);
            text.push_back(c < 0x100 ? static_cast<char>(c) : kUnmappable);
        }
    }
    position_ += static_cast<std::size_t>(size);
    return true;
}

}  // namespace korvath
