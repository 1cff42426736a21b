#include "richtext/code_page.h"

namespace korvath::richtext {
namespace {

// 0x80 ... 0x9F of Windows-1252; the bytes it leaves undefined keep their Latin-1 value.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

char32_t DecodeCodePageByte(int codePage, std::uint8_t byte) {
    // ISO 8859-1 (28591) is 1252 without the printable 0x80 ... 0x9F block.
    if (byte >= 0x80 && byte <= 0x9F && codePage != 28591) return kWindows1252High[byte - 0x80];
    return byte;
}

}  // namespace korvath::richtext
