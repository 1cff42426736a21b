// Replays the damaged files of tests/fixtures/rtf/damaged (kept as a plain folder so that it
// can seed other tools too). Each must read without a crash or a read past the end, and the
// result must stay proportional to the input.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "richtext/rtf_reader.h"
#include "support/rich_document_bytes.h"

namespace korvath::richtext {
namespace {

TEST(DamagedRtf, EveryFileOfTheCorpusReadsSafely) {
    const std::filesystem::path folder = std::filesystem::path(KORVATH_SOURCE_DIR) / "tests/fixtures/rtf/damaged";
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        const std::string input = s.str();
        const RichDocument doc = ReadRtf(input);
        EXPECT_FALSE(doc.paragraphs.empty()) << entry.path();
        EXPECT_LE(test::RichDocumentBytes(doc), test::RichDocumentBytesLimit(input.size())) << entry.path();
        ++files;
    }
    EXPECT_GE(files, 10);
}

TEST(DamagedRtf, DamageKeepsWhatCanBeRead) {
    // Text before a cut picture and after a stray brace survives; a length past the end stops
    // at the end; a lone hex digit makes a byte of its own.
    auto text = [](const RichDocument& d) {
        std::string out;
        for (const auto& p : d.paragraphs)
            for (const auto& s : p.spans) out += s.text;
        return out;
    };
    EXPECT_EQ(text(ReadRtf("{\\rtf1 before{\\pict\\pngblip 89504")), "before");
    EXPECT_EQ(ReadRtf("{\\rtf1 before{\\pict\\pngblip 89504").pictures.at(0).data.size(), 2u);
    EXPECT_EQ(text(ReadRtf("{\\rtf1 a}} b}")), "a b");
    EXPECT_EQ(text(ReadRtf("{\\rtf1 x{\\pict\\pngblip\\bin1000000000 ab}")), "x");
    EXPECT_EQ(text(ReadRtf("{\\rtf1 \\'4 \\'g")), " g");  // a control character is dropped
    const std::string deep = "{\\rtf1 a" + std::string(100000, '{') + "lost" + std::string(100000, '}') + "b}";
    EXPECT_EQ(text(ReadRtf(deep)), "ab");
}

}  // namespace
}  // namespace korvath::richtext
