// The help files' RTF reader on any bytes, and its picture converters on the raw input: the
// result stays proportional to the input, its text is UTF-8, every picture a span names exists,
// and every bitmap handed to the viewer is a whole BMP file.

#include <span>
#include <string_view>

#include "fuzz_target.h"
#include "richtext/rtf_picture.h"
#include "richtext/rtf_reader.h"
#include "support/rich_document_bytes.h"

namespace {

bool IsUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead < 0xE0 ? 2 : lead >= 0xE0 && lead < 0xF0 ? 3
                                   : lead >= 0xF0 && lead < 0xF5                ? 4
                                                                                : 0;
        if (length == 0 || i + length > text.size()) return false;
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            c = c << 6 | (next & 0x3F);
        }
        // No overlong form, no surrogate, nothing above the last code point.
        static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
        if (c < kLeast[length] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) return false;
        i += length;
    }
    return true;
}

std::uint32_t Le32(const std::vector<std::uint8_t>& d, std::size_t at) {
    return static_cast<std::uint32_t>(d[at] | d[at + 1] << 8 | d[at + 2] << 16) | std::uint32_t{d[at + 3]} << 24;
}

// A BMP file whose header gives its own size and a pixel offset inside it.
bool IsWholeBmp(const std::vector<std::uint8_t>& bmp) {
    return bmp.size() > 14 && bmp[0] == 'B' && bmp[1] == 'M' && Le32(bmp, 2) == bmp.size() && Le32(bmp, 10) < bmp.size();
}

}  // namespace

KORVATH_FUZZ_TARGET(rtf)(const std::uint8_t* data, std::size_t size) {
    using namespace korvath::richtext;
    const RichDocument doc = ReadRtf(korvath::fuzz::AsText(data, size));
    KORVATH_FUZZ_CHECK(korvath::test::RichDocumentBytes(doc) <= korvath::test::RichDocumentBytesLimit(size));
    for (const Paragraph& paragraph : doc.paragraphs) {
        for (const Span& span : paragraph.spans) {
            KORVATH_FUZZ_CHECK(IsUtf8(span.text) && IsUtf8(span.format.fontFamily));
            if (span.kind == Span::Kind::Picture) KORVATH_FUZZ_CHECK(span.picture < doc.pictures.size());
        }
    }
    for (const Picture& picture : doc.pictures)
        if (picture.format == PictureFormat::Bmp) KORVATH_FUZZ_CHECK(IsWholeBmp(picture.data));

    const std::span<const std::uint8_t> raw(data, size);
    if (const auto bmp = BmpFromDib(raw)) KORVATH_FUZZ_CHECK(IsWholeBmp(*bmp) && bmp->size() == size + 14);
    if (const auto dib = DibFromMetafile(raw)) KORVATH_FUZZ_CHECK(!dib->empty() && dib->size() < size);
    return 0;
}
