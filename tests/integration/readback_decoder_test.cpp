// The readback decoder: which definition a memory image read from a controller belongs to, by
// the signature lines of TransReadback.sig, and the choice among similar transmissions.

#include <gtest/gtest.h>

#include <fstream>

#include "definition/readback_decoder.h"
#include "transfer_support.h"

namespace korvath {
namespace {

using namespace korvath::testing;

class ScriptedChooser final : public ReadbackChooser {
public:
    explicit ScriptedChooser(int answer) : answer_(answer) {}
    int ChooseTransmission(const std::vector<std::string>& displayTexts) override {
        shown = displayTexts;
        return answer_;
    }
    std::vector<std::string> shown;

private:
    int answer_;
};

std::vector<std::uint8_t> Image(std::size_t size, std::initializer_list<std::pair<std::size_t, std::uint8_t>> bytes) {
    std::vector<std::uint8_t> image(size, 0);
    for (auto [offset, value] : bytes) image[offset] = value;
    return image;
}

TEST(MatchSignature, TermsMasksAndBounds) {
    const auto image = Image(64, {{0x10, 0x53}, {0x11, 0x20}, {0x3F, 0xFF}});
    auto match = [&](std::string_view s) { return CTransReadbackDecoder::MatchSignature(s, image.data(), image.size()); };
    EXPECT_TRUE(match("@0x10:0x03:0x0F @0x11:0x20:0xFF "));
    EXPECT_TRUE(match("@16:3:15 @17:32:255"));
    EXPECT_TRUE(match("@020:0123:0xFF"));  // octal: 16 and 0x53
    EXPECT_FALSE(match("@0x10:0x53:0xFF @0x11:0x21:0xFF"));  // a later term that fails still decides
    EXPECT_TRUE(match("@0x10:0x153:0xFF"));  // compared as 8 bits
    EXPECT_TRUE(match("@0x3F:0xFF"));  // no mask: all ones
    EXPECT_FALSE(match("@0x3F:0xFE"));
    // A term without mask ends the list: what follows is not read.
    EXPECT_TRUE(match("@0x11:0x20 @0x10:0x00:0xFF"));
    EXPECT_TRUE(match("@0x11:0x20 garbage"));
    // Offsets beyond the image, terms that cannot be read, and no term at all never match.
    EXPECT_FALSE(match("@64:0:0"));
    EXPECT_FALSE(match("@0x10:0x03:0x0F @64:0:0"));
    EXPECT_FALSE(match("@-1:0:0"));
    EXPECT_FALSE(match("@0x10"));
    EXPECT_FALSE(match("0x10:3:15"));
    EXPECT_FALSE(match("@0x10:0x03:0x0F junk"));
    EXPECT_FALSE(match(""));
    EXPECT_FALSE(match("   "));
    EXPECT_TRUE(match("  @0x11:0x20:0xFF"));
}

TEST(DecodeReadback, FirstMatchingLineNamesTheDefinition) {
    const auto image = Image(32, {{0, 0x03}, {1, 0x02}, {3, 0x4B}});
    CTransReadbackDecoder decoder;
    std::string result = "unchanged";
    const std::string file =
        "// comment lines have no equals sign\n"
        "x\n"
        "@0:0x04:0xFF = wrong.def\n"
        "@0:0x03:0xFF @1:2:0xFF =   first.def  \r\n"
        "@0:0x03:0xFF = second.def\n";
    ASSERT_TRUE(decoder.DecodeText(file, result, image.data(), image.size()));
    EXPECT_EQ(result, "first.def");
    EXPECT_FALSE(decoder.DecodeText("@0:0x09:0xFF = x.def\n", result, image.data(), image.size()));
    EXPECT_FALSE(decoder.DecodeText("@0:0x03:0xFF =   \n", result, image.data(), image.size()));
    EXPECT_FALSE(decoder.DecodeText("= everything.def\n", result, image.data(), image.size()));
    EXPECT_EQ(result, "first.def");
    // A result name is cut to 200 characters.
    ASSERT_TRUE(decoder.DecodeText("@0:3:255 = " + std::string(250, 'n') + "\n", result, image.data(), image.size()));
    EXPECT_EQ(result, std::string(200, 'n'));
    // A line longer than 399 characters is read in pieces; its tail is a line of its own.
    ASSERT_TRUE(decoder.DecodeText("@0:9:255 = " + std::string(388, 'a') + "@0:3:255 = tail.def\n", result,
                                   image.data(), image.size()));
    EXPECT_EQ(result, "tail.def");
}

TEST(DecodeReadback, SimilarTransmissionsAreChosenFromASortedList) {
    const auto image = Image(32, {{5, 0x11}});
    const std::string file =
        "@5:0x11:0xFF = *several\n"
        "*4-speed overdrive*od4.def\n"
        "\n"
        "*3-speed* three.def \n"
        "* *blank.def\n"
        "@5:0x11:0xFF = not-a-candidate.def\n";
    std::string result;
    ScriptedChooser first(0), second(1), cancel(-1), beyond(2);
    CTransReadbackDecoder(&first).DecodeText(file, result, image.data(), image.size());
    EXPECT_EQ(first.shown, (std::vector<std::string>{"3-speed", "4-speed overdrive"}));  // the blank text is left out
    EXPECT_EQ(result, "three.def");
    ASSERT_TRUE(CTransReadbackDecoder(&second).DecodeText(file, result, image.data(), image.size()));
    EXPECT_EQ(result, "od4.def");
    result = "kept";
    EXPECT_FALSE(CTransReadbackDecoder(&cancel).DecodeText(file, result, image.data(), image.size()));
    EXPECT_FALSE(CTransReadbackDecoder(&beyond).DecodeText(file, result, image.data(), image.size()));
    EXPECT_EQ(result, "kept");
    // Without a chooser the first entry of the list is taken.
    ASSERT_TRUE(CTransReadbackDecoder().DecodeText(file, result, image.data(), image.size()));
    EXPECT_EQ(result, "three.def");
}

TEST(DecodeReadback, WhereTheCandidateListEnds) {
    const auto image = Image(8, {});
    std::string result;
    ScriptedChooser chooser(0);
    CTransReadbackDecoder decoder(&chooser);
    // A line with one star, a line whose second star follows the first, a line without a star.
    for (const char* end : {"*only one star\n", "**empty.def\n", "plain line\n"}) {
        SCOPED_TRACE(end);
        const std::string file = std::string("@0:0:0xFF=*\n*Zeta*z.def\n") + end + "*Alpha*a.def\n";
        ASSERT_TRUE(decoder.DecodeText(file, result, image.data(), image.size()));
        EXPECT_EQ(chooser.shown, (std::vector<std::string>{"Zeta"}));
        EXPECT_EQ(result, "z.def");
    }
    // At most ten candidates are read; no candidate at all gives nothing.
    std::string many = "@0:0:0xFF=*\n";
    for (char c = 'a'; c <= 'l'; ++c) many += std::string("*") + c + "*" + c + ".def\n";
    ASSERT_TRUE(decoder.DecodeText(many, result, image.data(), image.size()));
    EXPECT_EQ(chooser.shown.size(), 10u);
    EXPECT_EQ(chooser.shown.back(), "j");
    EXPECT_FALSE(decoder.DecodeText("@0:0:0xFF=*\n", result, image.data(), image.size()));
}

// The demo signature file tells the demo definitions apart by the images they build.
TEST(DecodeReadback, DemoSignaturesMatchTheDemoDefinitions) {
    TempDir dir;
    CopyDemoFile(dir, "KV4.def");
    CopyDemoFile(dir, "KV5.def");
    CopyDemoFile(dir, "generic.init");
    RecordingHost host;
    MemorySettings settings;
    CGraphEngine graph;
    CQRNDoc doc(DocumentHost{host, host, settings}, dir.path());
    doc.SetGraph(&graph);
    auto imageOf = [&](const std::string& name, int perfMode) {
        doc.ResetVariableTable(2);
        EXPECT_TRUE(doc.LoadDefinitionFile(dir.File("PID2/3/" + name)));
        EXPECT_TRUE(doc.ReadDeclarations(1));
        doc.BindGraphicalTuningTraces();
        if (perfMode >= 0) {
            EXPECT_TRUE(doc.SetIntVariable("PerfMode", static_cast<std::int16_t>(perfMode)));
        }
        return BuildImage(doc);
    };
    const std::string sigDir = std::string(KORVATH_SOURCE_DIR) + "/data/PID2/3";
    std::string result;
    ScriptedChooser chooser(1);
    CTransReadbackDecoder decoder(&chooser);

    // KV5 shares the KV4's image: the image of either offers both.
    const std::vector<std::string> both{"KV4 Four-Speed", "KV5 Five-Speed"};
    auto kv4 = imageOf("KV4.def", 0);
    ASSERT_TRUE(decoder.DecodeReadback(sigDir, result, kv4.data(), kv4.size()));
    EXPECT_EQ(chooser.shown, both);
    EXPECT_EQ(result, "KV5.def");
    auto kv5 = imageOf("KV5.def", 0);
    EXPECT_EQ(kv5, kv4);
    ASSERT_TRUE(decoder.DecodeReadback(sigDir, result, kv5.data(), kv5.size()));
    EXPECT_EQ(chooser.shown, both);
    EXPECT_EQ(result, "KV5.def");
    ASSERT_TRUE(CTransReadbackDecoder().DecodeReadback(sigDir, result, kv5.data(), kv5.size()));
    EXPECT_EQ(result, "KV4.def");  // confirmed at once: the first entry

    auto generic = imageOf("generic.init", -1);
    ASSERT_TRUE(decoder.DecodeReadback(sigDir, result, generic.data(), generic.size()));
    EXPECT_EQ(result, "generic.init");

    auto performance = imageOf("KV4.def", 1);
    ASSERT_TRUE(decoder.DecodeReadback(sigDir, result, performance.data(), performance.size()));
    EXPECT_EQ(chooser.shown, (std::vector<std::string>{"KV4 Four-Speed (performance shift program)",
                                                       "KV5 Five-Speed (performance shift program)",
                                                       "Other four-speed automatic (generic settings)"}));
    EXPECT_EQ(result, "KV5.def");

    EXPECT_FALSE(decoder.DecodeReadback(dir.path(), result, kv4.data(), kv4.size()));  // no signature file
    std::vector<std::uint8_t> blank(256, 0x00);
    EXPECT_FALSE(decoder.DecodeReadback(sigDir, result, blank.data(), blank.size()));
}

}  // namespace
}  // namespace korvath
