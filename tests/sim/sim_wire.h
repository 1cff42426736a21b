#pragma once
// Helpers for talking raw bytes to the simulated controller in tests. The packet builder below is
// written from the wire format, on purpose without any code of the simulator or of the tool.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "engine/controller.h"

namespace korvath::sim::test {

// Sends bytes and returns everything the controller has to say by its current time.
inline std::string Send(Controller& c, std::string_view bytes) {
    c.Receive(bytes);
    return c.TakeOutputText();
}

inline std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s.push_back(static_cast<char>(v));
    return s;
}

inline std::string Hex(std::uint32_t value, int digits) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.*X", digits, value);
    return buf;
}

inline void PutEscaped(std::string& out, std::uint8_t b) {
    if (b == 0x00) out += Bytes({0xFE, 0x01});
    else if (b == 0xFE) out += Bytes({0xFE, 0x02});
    else if (b == 0x77) out += Bytes({0xFE, 0x03});
    else out.push_back(static_cast<char>(b));
}

// A 'u' packet: letter, address digits, count-1 digits, escaped data, escaped end marker and the
// escaped checksum (low byte first). `checksum_adjust` spoils the checksum on purpose.
inline std::string UploadPacket(std::uint32_t address, const std::vector<std::uint8_t>& data, int address_digits = 3,
                                int checksum_adjust = 0) {
    std::string p = "u";
    p += Hex(address, address_digits);
    p += Hex(static_cast<std::uint32_t>(data.size() - 1), 2);
    std::uint32_t sum = 'u' + ((address >> 8) & 0xFF) + (address & 0xFF) + static_cast<std::uint32_t>(data.size() - 1);
    for (std::uint8_t b : data) {
        PutEscaped(p, b);
        sum += b;
    }
    sum += 0x77;
    sum += static_cast<std::uint32_t>(checksum_adjust);
    PutEscaped(p, 0x77);
    PutEscaped(p, static_cast<std::uint8_t>(sum & 0xFF));
    PutEscaped(p, static_cast<std::uint8_t>((sum >> 8) & 0xFF));
    return p;
}

// Decodes the answer to a 'd' packet after the header echo: data, 0x77, checksum low, high, then
// the final character. Returns false when the escaping is broken or the answer is short.
struct Download {
    std::vector<std::uint8_t> data;
    std::uint8_t marker = 0;
    std::uint16_t checksum = 0;
    char last = 0;
};

inline bool DecodeDownload(std::string_view answer, std::size_t count, Download* out) {
    std::size_t i = 0;
    auto next = [&](std::uint8_t* b) {
        if (i >= answer.size()) return false;
        auto c = static_cast<std::uint8_t>(answer[i++]);
        if (c != 0xFE) {
            *b = c;
            return true;
        }
        if (i >= answer.size()) return false;
        auto e = static_cast<std::uint8_t>(answer[i++]);
        if (e == 1) *b = 0x00;
        else if (e == 2) *b = 0xFE;
        else if (e == 3) *b = 0x77;
        else return false;
        return true;
    };
    std::uint8_t b = 0;
    for (std::size_t k = 0; k < count; ++k) {
        if (!next(&b)) return false;
        out->data.push_back(b);
    }
    std::uint8_t lo = 0, hi = 0;
    if (!next(&out->marker) || !next(&lo) || !next(&hi)) return false;
    out->checksum = static_cast<std::uint16_t>(lo | (hi << 8));
    if (i + 1 != answer.size()) return false;
    out->last = answer[i];
    return true;
}

}  // namespace korvath::sim::test
