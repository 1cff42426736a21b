#pragma once
// The byte link under the monitor protocol: a COM port or the USB HID link.

#include <cstdint>
#include <string>

namespace korvath {

class ByteTransport {
public:
    virtual ~ByteTransport() = default;

    // Opens the link; on failure errorText says why.
    virtual bool open(std::string& errorText, int baud) = 0;
    virtual void close() = 0;
    // Reads one byte, waiting at most the link's read time-out; returns the count read (0 or 1).
    virtual std::int32_t read_byte(unsigned char* buffer) = 0;
    // Reads up to n bytes; a short count means nothing more arrived within the time-out.
    virtual std::int32_t read(unsigned char* buffer, std::int32_t n) = 0;
    // Sends one byte; returns the count sent (0 or 1).
    virtual std::int32_t write_byte(unsigned char ch) = 0;
    // Sends n bytes; n == 0 sends the NUL-terminated text in data. Returns the count sent.
    virtual std::int32_t write(const unsigned char* data, std::int32_t n) = 0;
    // Drops everything received and not yet read, and everything not yet sent.
    virtual bool purge() = 0;
    virtual bool is_usb() const = 0;
};

}  // namespace korvath
