#pragma once
// The byte stream of a calibration file: little-endian integers and length-prefixed strings.
//
// A string is its length followed by its single-byte characters. The length takes one byte
// below 255; 0xFF and a 16-bit length below 0xFFFE; 0xFF, 0xFFFF and a 32-bit length beyond
// that. Files written by older programs may also hold strings of 16-bit characters, marked by
// 0xFF 0xFFFE before the length; the reader turns those into single-byte text.
//
// The reader never reads past the end of its data: every read checks what is left first and
// a failed read leaves the reader failed, with a description of what was being read.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace korvath {

class ArchiveWriter {
public:
    void WriteBytes(const void* data, std::size_t size);
    void WriteU8(std::uint8_t v) { bytes_.push_back(static_cast<char>(v)); }
    void WriteU16(std::uint16_t v);
    void WriteI16(std::int16_t v) { WriteU16(static_cast<std::uint16_t>(v)); }
    void WriteU32(std::uint32_t v);
    void WriteI32(std::int32_t v) { WriteU32(static_cast<std::uint32_t>(v)); }
    // False (nothing written) for a string of 0xFFFFFFFF characters or more.
    bool WriteString(std::string_view text);

    const std::string& bytes() const { return bytes_; }
    std::string Take() { return std::move(bytes_); }

private:
    std::string bytes_;
};

class ArchiveReader {
public:
    // The reader keeps a view: the bytes must outlive it (hence no temporaries).
    explicit ArchiveReader(std::string_view data) : data_(data) {}
    explicit ArchiveReader(std::string&&) = delete;

    // Each names what it reads ("the hardware/version block") for the failure description.
    bool ReadBytes(void* out, std::size_t size, std::string_view what);
    bool ReadU8(std::uint8_t& v, std::string_view what);
    bool ReadU16(std::uint16_t& v, std::string_view what);
    bool ReadI16(std::int16_t& v, std::string_view what);
    bool ReadU32(std::uint32_t& v, std::string_view what);
    bool ReadI32(std::int32_t& v, std::string_view what);
    bool ReadString(std::string& text, std::string_view what);
    // Marks the reader failed with this description (for checks made by the caller).
    bool Fail(std::string description);

    std::size_t position() const { return position_; }
    std::size_t remaining() const { return failed_ ? 0 : data_.size() - position_; }
    bool failed() const { return failed_; }
    const std::string& error() const { return error_; }

private:
    bool Need(std::size_t size, std::string_view what);
    bool ReadLength(std::uint64_t& length, std::size_t& charSize, std::string_view what);

    std::string_view data_;
    std::size_t position_ = 0;
    bool failed_ = false;
    std::string error_;
};

}  // namespace korvath
