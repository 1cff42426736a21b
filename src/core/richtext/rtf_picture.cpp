#include "richtext/rtf_picture.h"

#include <cstddef>

namespace korvath::richtext {
namespace {

std::uint32_t Le16(std::span<const std::uint8_t> d, std::size_t at) {
    return at + 2 <= d.size() ? static_cast<std::uint32_t>(d[at] | d[at + 1] << 8) : 0;
}

std::uint32_t Le32(std::span<const std::uint8_t> d, std::size_t at) {
    return at + 4 <= d.size() ? Le16(d, at) | Le16(d, at + 2) << 16 : 0;
}

void PutLe32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kBitfieldsCompression = 3;
constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::size_t kPlaceableHeaderSize = 22;
constexpr std::size_t kMetaHeaderSize = 18;

// Metafile records that carry a DIB, and where it starts in their parameters.
struct BitmapRecord {
    std::uint16_t function;
    std::size_t dibOffset;
};
constexpr BitmapRecord kBitmapRecords[] = {
    {0x0F43, 22},  // StretchDIBits
    {0x0B41, 20},  // DIBStretchBlt
    {0x0940, 16},  // DIBBitBlt
    {0x0D33, 18},  // SetDIBitsToDevice
};

}  // namespace

std::optional<std::vector<std::uint8_t>> BmpFromDib(std::span<const std::uint8_t> dib) {
    const std::uint32_t headerSize = Le32(dib, 0);
    if (headerSize != kCoreHeaderSize && (headerSize < kInfoHeaderSize || headerSize > 256)) return std::nullopt;
    if (headerSize > dib.size()) return std::nullopt;
    std::uint32_t bitCount = 0;
    std::uint32_t paletteBytes = 0;
    if (headerSize == kCoreHeaderSize) {
        bitCount = Le16(dib, 10);
        paletteBytes = bitCount <= 8 ? 3u << bitCount : 0;
    } else {
        bitCount = Le16(dib, 14);
        const std::uint32_t compression = Le32(dib, 16);
        std::uint32_t colours = Le32(dib, 32);
        if (colours == 0 && bitCount <= 8) colours = 1u << bitCount;
        if (colours > 256) return std::nullopt;
        paletteBytes = colours * 4;
        if (compression == kBitfieldsCompression && headerSize == kInfoHeaderSize) paletteBytes += 12;
    }
    if (bitCount == 0 || bitCount > 32) return std::nullopt;
    const std::size_t pixelsAt = std::size_t{headerSize} + paletteBytes;
    if (pixelsAt >= dib.size()) return std::nullopt;

    std::vector<std::uint8_t> bmp;
    bmp.reserve(14 + dib.size());
    bmp.push_back('B');
    bmp.push_back('M');
    PutLe32(bmp, static_cast<std::uint32_t>(14 + dib.size()));
    PutLe32(bmp, 0);
    PutLe32(bmp, static_cast<std::uint32_t>(14 + pixelsAt));
    bmp.insert(bmp.end(), dib.begin(), dib.end());
    return bmp;
}

std::optional<std::vector<std::uint8_t>> DibFromMetafile(std::span<const std::uint8_t> wmf) {
    std::size_t at = Le32(wmf, 0) == kPlaceableKey ? kPlaceableHeaderSize : 0;
    // The header's size is counted in 16-bit words.
    if (Le16(wmf, at + 2) * 2 != kMetaHeaderSize) return std::nullopt;
    at += kMetaHeaderSize;

    std::span<const std::uint8_t> best;
    while (at + 6 <= wmf.size()) {
        const std::size_t words = Le32(wmf, at);
        const std::uint32_t function = Le16(wmf, at + 4);
        if (words < 3 || words > (wmf.size() - at) / 2) break;
        const std::size_t size = words * 2;
        if (function == 0) break;  // the end record
        for (const BitmapRecord& r : kBitmapRecords) {
            const std::size_t dibAt = 6 + r.dibOffset;
            if (function == r.function && size > dibAt && size - dibAt > best.size())
                best = wmf.subspan(at + dibAt, size - dibAt);
        }
        at += size;
    }
    if (best.empty()) return std::nullopt;
    return std::vector<std::uint8_t>(best.begin(), best.end());
}

}  // namespace korvath::richtext
