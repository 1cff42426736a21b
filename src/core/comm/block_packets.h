#pragma once
// The binary block packets of the flash transfer: what travels on the wire, the results of the
// packet operations of CTCS_Monitor, and the texts they compose.
//
// A packet is a letter ('u' stores bytes into controller RAM, 'd' fetches them), the RAM address
// as 3 or 4 upper-case hex digits, the count less one as 2 hex digits, then for 'u' the escaped
// data, the escaped end marker and the escaped checksum. The controller echoes every byte of an
// upload and confirms it with 'c'; a download comes back as escaped data, the marker, the
// checksum and 'c'. Neither a zero byte nor a bare end marker ever appears inside a packet: a
// lone end marker tells the controller to abandon a burn or load.

#include <cstdint>
#include <string>

namespace korvath {

namespace packet {

inline constexpr std::uint8_t kUpload = 'u';
inline constexpr std::uint8_t kDownload = 'd';
inline constexpr std::uint8_t kBurn = 'b';
inline constexpr std::uint8_t kLoad = 'r';
inline constexpr std::uint8_t kConfirm = 'c';
inline constexpr std::uint8_t kEndMarker = 0x77;
inline constexpr std::uint8_t kEscape = 0xFE;
// The byte after kEscape: 0x00, 0xFE and the end marker.
inline constexpr std::uint8_t kEscapedZero = 0x01;
inline constexpr std::uint8_t kEscapedEscape = 0x02;
inline constexpr std::uint8_t kEscapedMarker = 0x03;

inline constexpr std::int32_t kMaxCount = 256;  // data bytes in one packet
// Pieces the link gets a packet in, each released by the echo of the previous one.
inline constexpr std::int32_t kUsbChunk = 62;
inline constexpr std::int32_t kUsbChunkLimit = 61;  // a USB piece above this is cut to kUsbChunk
inline constexpr std::int32_t kSerialChunk = 250;   // serial link, memory types below 2
// The next piece goes out only while fewer echo bytes than this are outstanding.
inline constexpr std::int32_t kMaxOutstandingEcho = 2;
inline constexpr std::int32_t kProgressEvery = 20;  // image bytes per status dot

// upload_block results.
inline constexpr std::uint8_t kUploadOk = 0;
inline constexpr std::uint8_t kUploadMalformed = 1;  // wrong echo or no 'c' at the end
inline constexpr std::uint8_t kUploadTimeout = 0xFF;  // nothing arrived, or more than was sent
// download_block and read_unescaped results above a byte.
inline constexpr std::uint16_t kDownloadOk = 0;
inline constexpr std::uint16_t kNoData = 0x1000;       // nothing arrived, or a wrong header echo
inline constexpr std::uint16_t kBadEscape = 0x2000;    // an unknown escape, or no 'c' at the end
inline constexpr std::uint16_t kBadTrailer = 0xF000;   // wrong end marker or checksum
// burn_flash and load_flash results.
inline constexpr std::uint8_t kFlashOk = 0;
inline constexpr std::uint8_t kFlashNotAccepted = 1;
inline constexpr std::uint8_t kBurnVerifyFailed = 0xFF;

}  // namespace packet

namespace packet_text {
inline constexpr char kBurnVerifyFailedFormat[] = "Flash memory write verification failed at address 0x%s";
inline constexpr char kBurnNotInvoked[] = "Could not invoke flash memory write due to communication error.";
inline constexpr char kLoadFailed[] = "Could not read flash memory due to a communication error.";
}  // namespace packet_text

// Where the packet layer shows its progress: the status text grows by one dot every
// packet::kProgressEvery image bytes; bytesDone is the image index reached.
class PacketProgress {
public:
    virtual ~PacketProgress() = default;
    virtual void ShowPacketStatus(const std::string& statusText, std::uint32_t bytesDone) = 0;
};

}  // namespace korvath
