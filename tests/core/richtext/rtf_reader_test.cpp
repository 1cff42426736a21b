#include "richtext/rtf_reader.h"

#include <algorithm>
#include <iterator>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "richtext/rtf_picture.h"

namespace korvath::richtext {
namespace {

std::string Fixture(const std::string& name) {
    std::ifstream in(std::string(KORVATH_SOURCE_DIR) + "/tests/fixtures/rtf/" + name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The paragraph's text with pictures as "[P]" and line breaks as "|".
std::string TextOf(const Paragraph& p) {
    std::string out;
    for (const Span& s : p.spans) {
        if (s.kind == Span::Kind::Text) out += s.text;
        if (s.kind == Span::Kind::LineBreak) out += "|";
        if (s.kind == Span::Kind::Picture) out += "[P]";
    }
    return out;
}

const Span* SpanWith(const Paragraph& p, const std::string& text) {
    for (const Span& s : p.spans)
        if (s.kind == Span::Kind::Text && s.text.find(text) != std::string::npos) return &s;
    return nullptr;
}

std::string Hex(const std::vector<std::uint8_t>& bytes) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (const auto b : bytes) {
        out.push_back(digits[b >> 4]);
        out.push_back(digits[b & 15]);
    }
    return out;
}

// A 2 x 1 DIB of 24 bits per pixel (rows padded to 4 bytes).
// Made at its full size: growing a vector by resize trips a false -Warray-bounds of GCC 12 at -O3.
std::vector<std::uint8_t> SmallDib() {
    static constexpr std::uint8_t kHeader[] = {40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24, 0};
    std::vector<std::uint8_t> dib(48, 0);
    std::copy(std::begin(kHeader), std::end(kHeader), dib.begin());
    for (int i = 0; i < 8; ++i) dib[static_cast<std::size_t>(40 + i)] = static_cast<std::uint8_t>(0x10 + i);
    return dib;
}

TEST(RtfReader, CharacterAndParagraphFormatsFollowGroupsAndResets) {
    const auto doc = ReadRtf(
        "{\\rtf1\\ansi\\deff1{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}}"
        "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue128;}"
        "\\pard\\qc\\sb120\\sa60 {\\b\\fs36\\cf2 Title}\\par"
        "\\pard\\li720\\ri360\\fi-360 plain {\\i it{\\ul\\f0 under}} \\b0\\cf1 red\\plain  back\\par"
        "\\pard\\qr right\\line next\\tab x\\qj\\par}");
    ASSERT_EQ(doc.paragraphs.size(), 3u);
    const Paragraph& title = doc.paragraphs[0];
    EXPECT_EQ(title.format.alignment, Alignment::Centre);
    EXPECT_EQ(title.format.spaceBefore, 120);
    EXPECT_EQ(title.format.spaceAfter, 60);
    ASSERT_EQ(title.spans.size(), 1u);
    EXPECT_TRUE(title.spans[0].format.bold);
    EXPECT_EQ(title.spans[0].format.halfPoints, 36);
    EXPECT_EQ(title.spans[0].format.colour, 0x000080u);

    const Paragraph& body = doc.paragraphs[1];
    EXPECT_EQ(body.format.alignment, Alignment::Left);  // \pard dropped the centring
    EXPECT_EQ(body.format.leftIndent, 720);
    EXPECT_EQ(body.format.rightIndent, 360);
    EXPECT_EQ(body.format.firstLineIndent, -360);
    EXPECT_EQ(TextOf(body), "plain itunder red back");
    EXPECT_FALSE(SpanWith(body, "plain")->format.italic);
    EXPECT_TRUE(SpanWith(body, "it")->format.italic);
    const Span* under = SpanWith(body, "under");
    EXPECT_TRUE(under->format.underline && under->format.italic);
    EXPECT_EQ(under->format.fontFamily, "Arial");
    EXPECT_EQ(SpanWith(body, "red")->format.fontFamily, "Times New Roman");  // the group ended
    EXPECT_EQ(SpanWith(body, "red")->format.colour, 0xFF0000u);
    EXPECT_FALSE(SpanWith(body, "back")->format.colour);  // \plain

    EXPECT_EQ(TextOf(doc.paragraphs[2]), "right|next\tx");
    EXPECT_EQ(doc.paragraphs[2].format.alignment, Alignment::Justify);  // the last word before \par counts
}

TEST(RtfReader, CharactersDecodeFromTheCodePageAndUnicode) {
    const auto doc = ReadRtf(
        "{\\rtf1\\ansi\\ansicpg1252 caf\\'e9 \\'80\\'96 \\u8364?\\uc2\\u20320\\'3f\\'3f!\\uc0\\u-3988 "
        "\\u-10179\\u-8704 a\\~b\\_c\\-d\\{\\}\\\\ \\emdash\\ldblquote}");
    ASSERT_EQ(doc.paragraphs.size(), 1u);
    EXPECT_EQ(TextOf(doc.paragraphs[0]), "café €– €你!\uF06C😀a\u00A0b\u2011cd{}\\ —“");
}

TEST(RtfReader, IgnoredDestinationsAndUnknownWordsLeaveNoText) {
    const auto doc = ReadRtf(
        "{\\rtf1{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}}{\\*\\generator G;}{\\header H}"
        "{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt shown}}\\unknownword12 {\\*\\unknowndest hidden} end}");
    ASSERT_EQ(doc.paragraphs.size(), 1u);
    EXPECT_EQ(TextOf(doc.paragraphs[0]), "shown end");
}

TEST(RtfReader, PicturesKeepTheirBytesAndGoalSize) {
    const std::string png = "89504e470d0a1a0a";
    const auto doc = ReadRtf("{\\rtf1 a{\\pict\\pngblip\\picw10\\pich5\\picwgoal1440\\pichgoal720\\picscalex50 " + png +
                             "}{\\pict\\jpegblip\\bin3 \xff\xd8}}b{\\pict\\dibitmap0 " + Hex(SmallDib()) +
                             "}{\\pict\\emfblip 0102}}");
    ASSERT_EQ(doc.pictures.size(), 4u);
    EXPECT_EQ(doc.pictures[0].format, PictureFormat::Png);
    EXPECT_EQ(Hex(doc.pictures[0].data), png);
    EXPECT_EQ(doc.pictures[0].widthTwips, 720);
    EXPECT_EQ(doc.pictures[0].heightTwips, 720);
    EXPECT_EQ(doc.pictures[1].format, PictureFormat::Jpeg);
    EXPECT_EQ(doc.pictures[1].data, (std::vector<std::uint8_t>{0xFF, 0xD8, '}'}));  // \bin takes braces as data
    EXPECT_EQ(doc.pictures[2].format, PictureFormat::Bmp);
    // What cannot be drawn keeps its place as a frame, an inch square when it gives no size.
    EXPECT_EQ(doc.pictures[3].format, PictureFormat::Placeholder);
    EXPECT_EQ(doc.pictures[3].widthTwips, 1440);
    EXPECT_EQ(TextOf(doc.paragraphs[0]), "a[P][P]b[P][P]");
}

TEST(RtfReader, ObjectsShowTheirResultAndFieldsLinkTheirText) {
    const auto doc = ReadRtf(
        "{\\rtf1 {\\object\\objemb{\\*\\objclass Paint}{\\*\\objdata 0102}{\\result{\\pict\\pngblip 89504e47}shown}}"
        "{\\pict\\emfblip\\picw2540\\pich1270 0102} see {\\field{\\*\\fldinst HYPERLINK \"Curves.rtf\"}{\\fldrslt the curves}}"
        " and {\\field{\\*\\fldinst PAGE}{\\fldrslt 3}} {\\field{\\*\\fldinst{ HYPERLINK Live.rtf }}{\\fldrslt live}}}");
    ASSERT_EQ(doc.pictures.size(), 2u);
    EXPECT_EQ(doc.pictures[0].format, PictureFormat::Png);
    EXPECT_EQ(doc.pictures[1].format, PictureFormat::Placeholder);
    EXPECT_EQ(doc.pictures[1].widthTwips, 1440);  // hundredths of a millimetre: 25.4 mm
    EXPECT_EQ(doc.pictures[1].heightTwips, 720);
    EXPECT_EQ(TextOf(doc.paragraphs[0]), "[P]shown[P] see the curves and 3 live");
    EXPECT_EQ(SpanWith(doc.paragraphs[0], "the curves")->format.link, "Curves.rtf");
    EXPECT_EQ(SpanWith(doc.paragraphs[0], "3")->format.link, "");
    EXPECT_EQ(SpanWith(doc.paragraphs[0], "live")->format.link, "Live.rtf");
    EXPECT_EQ(SpanWith(doc.paragraphs[0], " see ")->format.link, "");
}

TEST(RtfReader, ShapePicturesWinOverTheirStandIns) {
    const std::string png = "{\\pict\\pngblip 89504e47}";
    const std::string wmfWithoutBitmap = "{\\pict\\wmetafile8 010009000003}";
    const auto doc = ReadRtf("{\\rtf1 {\\*\\shppict" + png + "}{\\nonshppict" + wmfWithoutBitmap + " alt}" +
                             "{\\*\\shppict{\\pict\\emfblip 01}}{\\nonshppict" + png + "}" +
                             "{\\shp{\\*\\shpinst\\shpleft100\\shptop0\\shpright1540\\shpbottom720{\\sp{\\sn fillBlip}{\\sv " +
                             png + "}}{\\sp{\\sn pib}{\\sv " + png + "}}}{\\shprslt" + png + " result}}}");
    // One picture from each pair: the shape picture, the stand-in where the shape gave nothing,
    // and the shape's "pib" picture (not its fill, not its result) at the shape's size.
    ASSERT_EQ(doc.pictures.size(), 3u);
    EXPECT_EQ(TextOf(doc.paragraphs[0]), "[P][P][P]");
    EXPECT_EQ(doc.pictures[2].widthTwips, 1440);
    EXPECT_EQ(doc.pictures[2].heightTwips, 720);
}

TEST(RtfPicture, DibsGetAFileHeaderAndMetafilesGiveUpTheirBitmap) {
    const auto dib = SmallDib();
    const auto bmp = BmpFromDib(dib);
    ASSERT_TRUE(bmp);
    ASSERT_EQ(bmp->size(), dib.size() + 14);
    EXPECT_EQ((*bmp)[0], 'B');
    EXPECT_EQ((*bmp)[10], 54);  // pixels follow the two headers
    EXPECT_FALSE(BmpFromDib(std::vector<std::uint8_t>(dib.begin(), dib.begin() + 30)));

    // A metafile: its header, a StretchDIBits record holding the DIB, the end record.
    std::vector<std::uint8_t> wmf = {1, 0, 9, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    const std::size_t words = 3 + (22 + dib.size()) / 2;
    wmf.insert(wmf.end(), {static_cast<std::uint8_t>(words), 0, 0, 0, 0x43, 0x0F});
    wmf.resize(wmf.size() + 22, 0);
    wmf.insert(wmf.end(), dib.begin(), dib.end());
    wmf.insert(wmf.end(), {3, 0, 0, 0, 0, 0});
    EXPECT_EQ(DibFromMetafile(wmf), dib);
    wmf[18] = 0xFF;  // a record longer than the file
    EXPECT_FALSE(DibFromMetafile(wmf));
}

TEST(RtfReader, WriterFilesShowTheirTextStylesAndPictures) {
    const auto doc = ReadRtf(Fixture("writer_shapes.rtf"));
    ASSERT_EQ(doc.paragraphs.size(), 6u);
    EXPECT_EQ(TextOf(doc.paragraphs[0]), "Connecting a Controller");
    EXPECT_EQ(doc.paragraphs[0].format.alignment, Alignment::Centre);
    const Span& title = doc.paragraphs[0].spans[0];
    EXPECT_TRUE(title.format.bold);
    EXPECT_EQ(title.format.halfPoints, 36);
    EXPECT_EQ(title.format.colour, 0x1F3F7Fu);
    EXPECT_EQ(title.format.fontFamily, "DejaVu Sans");
    const Paragraph& body = doc.paragraphs[1];
    EXPECT_TRUE(SpanWith(body, "Communication Setup")->format.bold);
    EXPECT_TRUE(SpanWith(body, "Settings")->format.italic);
    EXPECT_TRUE(SpanWith(body, "port number")->format.underline);
    EXPECT_EQ(SpanWith(body, "Never unplug")->format.colour, 0xC00000u);
    EXPECT_NE(TextOf(body).find("Café – “quoted” € 5.\tAfter a tab."), std::string::npos);
    EXPECT_EQ(TextOf(doc.paragraphs[2]), "A picture saved as PNG: [P]");
    EXPECT_EQ(doc.paragraphs[3].format.leftIndent, 850);
    EXPECT_EQ(doc.paragraphs[3].format.firstLineIndent, -283);
    EXPECT_EQ(doc.paragraphs[5].format.alignment, Alignment::Right);
    EXPECT_EQ(TextOf(doc.paragraphs[5]), "Right-aligned small italic line|with a line break.");
    // Each shape's picture, not its fill: 4.5 x 2.8 cm and 2 x 2 cm.
    ASSERT_EQ(doc.pictures.size(), 2u);
    EXPECT_EQ(doc.pictures[0].format, PictureFormat::Png);
    EXPECT_EQ(doc.pictures[0].widthTwips, 2550);
    EXPECT_NEAR(doc.pictures[0].heightTwips, 1587, 2);
    EXPECT_EQ(doc.pictures[1].widthTwips, 1132);
    EXPECT_EQ(doc.defaultTabTwips, 709);

    const auto metafile = ReadRtf(Fixture("writer_metafile.rtf"));
    ASSERT_EQ(metafile.pictures.size(), 2u);
    EXPECT_EQ(metafile.pictures[1].format, PictureFormat::Bmp);  // the bitmap inside the metafile
    EXPECT_EQ(metafile.pictures[1].widthTwips, 1440 * 78 / 100);
}

}  // namespace
}  // namespace korvath::richtext
