// The block packets of CTCS_Monitor: escaped, checksummed packets into and out of the
// controller's RAM buffer, and the burn and load commands that move that buffer to and from flash.

#include "comm/block_packets.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/printf_format.h"
#include "comm/vuz_monitor.h"

namespace korvath {
namespace {

// The status line stops growing here; the dots still count the progress up to it.
constexpr std::size_t kMaxStatusLength = 150;

// Received characters as text: what arrived, up to the first zero byte.
std::string ReceivedText(const unsigned char* bytes, std::int32_t count) {
    std::string text;
    for (std::int32_t i = 0; i < count && bytes[i] != 0; ++i) text.push_back(static_cast<char>(bytes[i]));
    return text;
}

// "b%.3X%.2X" / "r%.3X%.2X": the letter, the block number (0-0xFFF) and the block count less one
// (0-255).
std::string FlashCommand(char letter, std::int32_t block, std::int32_t count) {
    const auto b = static_cast<unsigned>(std::clamp<std::int32_t>(block, 0, 0xFFF));
    const auto c = static_cast<unsigned>(std::clamp<std::int32_t>(count - 1, 0, 255));
    return FormatText("%c%.3X%.2X", letter, b, c);
}

}  // namespace

void CTCS_Monitor::put_raw(std::uint8_t byte) {
    packet_.push_back(byte);
    ++packetPending_;
}

void CTCS_Monitor::put_escaped(std::uint8_t byte) {
    switch (byte) {
        case 0x00:
            put_raw(packet::kEscape);
            put_raw(packet::kEscapedZero);
            break;
        case packet::kEscape:
            put_raw(packet::kEscape);
            put_raw(packet::kEscapedEscape);
            break;
        case packet::kEndMarker:
            put_raw(packet::kEscape);
            put_raw(packet::kEscapedMarker);
            break;
        default: put_raw(byte); break;
    }
}

void CTCS_Monitor::add_checksum(std::uint8_t byte) { packetChecksum_ = static_cast<std::uint16_t>(packetChecksum_ + byte); }

void CTCS_Monitor::put_packet_header(char letter, std::int32_t address, std::int32_t countLessOne) {
    packetChecksum_ = 0;
    packetPending_ = 0;
    packet_.clear();
    put_raw(static_cast<std::uint8_t>(letter));
    add_checksum(static_cast<std::uint8_t>(letter));
    if (ramMode_ == 2) {
        const auto a = static_cast<unsigned>(std::clamp<std::int32_t>(address, 0, 0xFFFF));
        const std::string digits = FormatText("%.4X", a);
        put_raw(static_cast<std::uint8_t>(digits[0]));
        put_raw(static_cast<std::uint8_t>(digits[1]));
        add_checksum(static_cast<std::uint8_t>(a >> 8));
        put_raw(static_cast<std::uint8_t>(digits[2]));
        put_raw(static_cast<std::uint8_t>(digits[3]));
        add_checksum(static_cast<std::uint8_t>(a & 0xFF));
    } else {
        const auto a = static_cast<unsigned>(std::clamp<std::int32_t>(address, 0, 0xFFF));
        const std::string digits = FormatText("%.3X", a);
        put_raw(static_cast<std::uint8_t>(digits[0]));
        add_checksum(static_cast<std::uint8_t>(a >> 8));
        put_raw(static_cast<std::uint8_t>(digits[1]));
        add_checksum(static_cast<std::uint8_t>(a & 0xFF));
        put_raw(static_cast<std::uint8_t>(digits[2]));
    }
    const std::string count = FormatText("%.2X", static_cast<unsigned>(countLessOne));
    put_raw(static_cast<std::uint8_t>(count[0]));
    put_raw(static_cast<std::uint8_t>(count[1]));
    add_checksum(static_cast<std::uint8_t>(countLessOne));
}

void CTCS_Monitor::packet_progress(std::int32_t index, std::string& statusText) {
    if (index % packet::kProgressEvery != 0 || !packetProgress_) return;
    packetProgress_->ShowPacketStatus(statusText, static_cast<std::uint32_t>(index));
    if (statusText.size() < kMaxStatusLength) statusText += '.';
}

std::uint8_t CTCS_Monitor::upload_block(const std::uint8_t* image, std::int32_t start, std::int32_t address,
                                        std::int32_t count, std::int32_t nvmType, std::string& statusText) {
    const std::int32_t c = std::clamp<std::int32_t>(count - 1, 0, packet::kMaxCount - 1);
    put_packet_header(static_cast<char>(packet::kUpload), address, c);
    for (std::int32_t i = start; i <= start + c; ++i) {
        packet_progress(i, statusText);
        put_escaped(image[i]);
        add_checksum(image[i]);
    }
    add_checksum(packet::kEndMarker);
    put_escaped(packet::kEndMarker);
    const std::uint16_t checksum = packetChecksum_;
    put_escaped(static_cast<std::uint8_t>(checksum & 0xFF));
    put_escaped(static_cast<std::uint8_t>(checksum >> 8));
    if (!transport_) return packet::kUploadTimeout;

    // Every packet byte comes back as its echo, then 'c': pending reaches -1 exactly when all
    // have arrived. A piece of the packet goes out only while fewer than two echoes are
    // outstanding; reading stops as soon as that is so again, which keeps the line busy.
    const auto length = static_cast<std::int32_t>(packet_.size());
    const bool usb = transport_->is_usb();
    std::vector<unsigned char> received(static_cast<std::size_t>(length) + 1);
    std::int32_t sent = 0, got = 0;
    while (packetPending_ >= 0) {
        if (sent - got < packet::kMaxOutstandingEcho) {
            std::int32_t chunk = length - sent;
            if (usb) {
                if (chunk > packet::kUsbChunkLimit) chunk = packet::kUsbChunk;
            } else if (nvmType < 2 && chunk > packet::kSerialChunk) {
                chunk = packet::kSerialChunk;
            }
            if (chunk > 0) {
                const std::int32_t written = transport_->write(packet_.data() + sent, chunk);
                if (written > 0) sent += std::min(written, chunk);
            }
        }
        std::int32_t want = packetPending_ + 1;
        if (sent < length) want = std::min(want, std::max<std::int32_t>(1, sent - got - (packet::kMaxOutstandingEcho - 1)));
        const std::int32_t n = transport_->read(received.data() + got, want);
        if (n <= 0) return packet::kUploadTimeout;
        const std::int32_t taken = std::min(n, want);
        packetPending_ -= taken;
        got += taken;
        if (packetPending_ == -1) {
            const bool echoed = std::memcmp(received.data(), packet_.data(), static_cast<std::size_t>(length)) == 0;
            return echoed && received[static_cast<std::size_t>(got - 1)] == packet::kConfirm ? packet::kUploadOk
                                                                                            : packet::kUploadMalformed;
        }
        if (packetPending_ < -1) return packet::kUploadTimeout;
    }
    return packet::kUploadTimeout;
}

std::uint16_t CTCS_Monitor::read_unescaped() {
    if (!transport_) return packet::kNoData;
    unsigned char byte = 0;
    if (transport_->read_byte(&byte) != 1) return packet::kNoData;
    if (byte != packet::kEscape) return byte;
    if (transport_->read_byte(&byte) != 1) return packet::kNoData;
    switch (byte) {
        case packet::kEscapedZero: return 0x00;
        case packet::kEscapedEscape: return packet::kEscape;
        case packet::kEscapedMarker: return packet::kEndMarker;
        default: return packet::kBadEscape;
    }
}

std::uint16_t CTCS_Monitor::download_block(std::uint8_t* image, std::int32_t start, std::int32_t address,
                                           std::int32_t count, std::string& statusText) {
    const std::int32_t c = std::clamp<std::int32_t>(count - 1, 0, packet::kMaxCount - 1);
    put_packet_header(static_cast<char>(packet::kDownload), address, c);
    if (!transport_) return packet::kNoData;
    const auto headerLength = static_cast<std::int32_t>(packet_.size());
    std::array<unsigned char, 8> echo{};
    std::int32_t echoed = 0;
    if (transport_->write(packet_.data(), headerLength) == headerLength)
        echoed = transport_->read(echo.data(), headerLength);

    for (std::int32_t i = start; i <= start + c; ++i) {
        packet_progress(i, statusText);
        const std::uint16_t b = read_unescaped();
        if (b > 0xFF) return b;
        image[i] = static_cast<std::uint8_t>(b);
        add_checksum(static_cast<std::uint8_t>(b));
    }
    if (echoed != headerLength ||
        std::memcmp(echo.data(), packet_.data(), static_cast<std::size_t>(headerLength)) != 0) {
        std::array<unsigned char, 4> rest{};
        transport_->read(rest.data(), static_cast<std::int32_t>(rest.size()));
        return packet::kNoData;
    }
    add_checksum(packet::kEndMarker);
    if (read_unescaped() != packet::kEndMarker) return packet::kBadTrailer;
    if (read_unescaped() != (packetChecksum_ & 0xFF)) return packet::kBadTrailer;
    if (read_unescaped() != (packetChecksum_ >> 8)) return packet::kBadTrailer;
    if (read_unescaped() != packet::kConfirm) return packet::kBadEscape;
    return packet::kDownloadOk;
}

std::uint8_t CTCS_Monitor::burn_flash(std::int32_t block, std::int32_t count, std::string& errorText) {
    errorText.clear();
    const std::string command = FlashCommand(static_cast<char>(packet::kBurn), block, count);
    const auto* bytes = reinterpret_cast<const unsigned char*>(command.data());
    std::array<unsigned char, 8> reply{};
    if (transport_ && transport_->write(bytes, 5) == 5 && transport_->read(reply.data(), 5) == 5 &&
        std::memcmp(reply.data(), bytes, 5) == 0) {
        // The last digit goes out only now: the controller starts burning on a checked command.
        std::int32_t n = 0;
        if (transport_->write_byte(bytes[5]) == 1) n = transport_->read(reply.data(), 2);
        if (n == 2 && reply[0] == bytes[5] && reply[1] == packet::kConfirm) return packet::kFlashOk;
        std::array<unsigned char, 6> where{};
        const std::int32_t m = transport_->read(where.data(), static_cast<std::int32_t>(where.size()));
        errorText = FormatText(packet_text::kBurnVerifyFailedFormat, ReceivedText(where.data(), m).c_str());
        transport_->write_byte(packet::kEndMarker);
        return packet::kBurnVerifyFailed;
    }
    errorText = packet_text::kBurnNotInvoked;
    if (transport_) transport_->write_byte(packet::kEndMarker);
    return packet::kFlashNotAccepted;
}

std::uint8_t CTCS_Monitor::load_flash(std::int32_t block, std::int32_t count, std::string& errorText) {
    errorText.clear();
    const std::string command = FlashCommand(static_cast<char>(packet::kLoad), block, count);
    const auto* bytes = reinterpret_cast<const unsigned char*>(command.data());
    std::array<unsigned char, 8> reply{};
    if (transport_ && transport_->write(bytes, 6) == 6 && transport_->read(reply.data(), 7) == 7 &&
        std::memcmp(reply.data(), bytes, 6) == 0 && reply[6] == packet::kConfirm)
        return packet::kFlashOk;
    errorText = packet_text::kLoadFailed;
    if (transport_) {
        transport_->write_byte(packet::kEndMarker);
        unsigned char discard = 0;
        transport_->read_byte(&discard);
    }
    return packet::kFlashNotAccepted;
}

}  // namespace korvath
