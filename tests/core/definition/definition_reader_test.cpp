#include "definition/definition_reader.h"

#include <gtest/gtest.h>

#include "support/recording_host.h"

namespace korvath {
namespace {

class ReaderTest : public ::testing::Test {
protected:
    void Load(const std::string& text) { ASSERT_TRUE(reader.LoadDefinitionFile(dir.Write("d.def", text))); }
    testing::TempDir dir;
    DefinitionReader reader;
};

TEST_F(ReaderTest, LoadingCutsCommentsTrimsLinesAndTurnsTabsIntoSpaces) {
    Load("  [A]  \r\n\tKey\tvalue // note\r\n\r\n// only a comment\nPath C://dir\n");
    EXPECT_EQ(reader.text(), "\n[A]\nKey value\nPath C:");
    EXPECT_FALSE(reader.LoadDefinitionFile(dir.File("missing.def")));
    EXPECT_EQ(reader.text(), "\n[A]\nKey value\nPath C:");  // unchanged by a failed load
}

TEST_F(ReaderTest, SectionsEndAtTheNextBracketEvenInsideAValue) {
    Load("[One]\nA 1\nB x[y\nC 3\n[Two]\nA 2\n");
    ASSERT_TRUE(reader.FindSection("[One]", 0));
    std::string v;
    EXPECT_TRUE(reader.FindKeyValue("A", v, 0));
    EXPECT_EQ(v, "1");
    EXPECT_TRUE(reader.FindKeyValue("B", v, 0));
    EXPECT_EQ(v, "x");  // the value is cut where the section ends
    EXPECT_FALSE(reader.FindKeyValue("C", v, 0, "dflt"));
    EXPECT_EQ(v, "dflt");

    ASSERT_TRUE(reader.FindSection("[Two]", 0));
    EXPECT_TRUE(reader.FindKeyValue("A", v, 0));
    EXPECT_EQ(v, "2");
    EXPECT_FALSE(reader.FindSection("[Three]", 0));
    EXPECT_EQ(reader.sectionStart(), -1);
}

TEST_F(ReaderTest, KeysAreFoundAnywhereInALineAndNeedASpaceAfterThem) {
    Load("[S]\nLabel says Speed 5\nSpeed 7\nAlone\nAloneToo x\n");
    ASSERT_TRUE(reader.FindSection("[S]", 0));
    std::string v;
    EXPECT_TRUE(reader.FindKeyValue("Speed", v, 0));
    EXPECT_EQ(v, "5");  // the earlier occurrence inside another line wins
    EXPECT_FALSE(reader.FindKeyValue("Alone", v, 0));  // a key alone on its line has no space after it
    EXPECT_TRUE(reader.FindKeyValue("Label says", v, 0));  // keys may hold spaces
    EXPECT_EQ(v, "Speed 5");
}

TEST_F(ReaderTest, NumbersAreScannedWithTheCRules) {
    Load("[N]\nHex 0x1F\nOct 010\nBad abc\nNeg -12\nF 2.5e1\nBig 70000\nEmpty \n");
    ASSERT_TRUE(reader.FindSection("[N]", 0));
    std::int32_t i = 99;
    EXPECT_EQ(reader.ReadKeyInt("Hex", i, 0), 1);
    EXPECT_EQ(i, 31);
    EXPECT_EQ(reader.ReadKeyInt("Oct", i, 0), 1);
    EXPECT_EQ(i, 8);
    EXPECT_EQ(reader.ReadKeyInt("Bad", i, 0), 0);
    EXPECT_EQ(i, 8);
    EXPECT_EQ(reader.ReadKeyInt("Missing", i, 0, 42), 0);
    EXPECT_EQ(i, 42);
    EXPECT_EQ(reader.ReadKeyInt("Missing", i, 0), 0);
    EXPECT_EQ(i, 42);
    std::int16_t s = 0;
    EXPECT_EQ(reader.ReadKeyShort("Neg", s, 0), 1);
    EXPECT_EQ(s, -12);
    EXPECT_EQ(reader.ReadKeyShort("Big", s, 0), 1);
    EXPECT_EQ(s, static_cast<std::int16_t>(70000));
    float f = 1;
    EXPECT_EQ(reader.ReadKeyFloat("F", f, 0), 1);
    EXPECT_FLOAT_EQ(f, 25.0f);
    EXPECT_EQ(reader.ReadKeyFloat("Missing", f, 0), 0);
    EXPECT_FLOAT_EQ(f, 25.0f);  // "no default" leaves the output alone
    EXPECT_EQ(reader.ReadKeyFloat("Empty", f, 0), 0);

    std::string text = "old";
    EXPECT_TRUE(reader.ReadKeyString("Hex", text, 2, 0));
    EXPECT_EQ(text, "0x");
    EXPECT_FALSE(reader.ReadKeyString("Missing", text, 3, 0, "default"));
    EXPECT_EQ(text, "def");
}

TEST_F(ReaderTest, LinesOfASectionAndOfABlock) {
    Load("[G]\nName Curves\nGraphElement First {\nTrace 0\nLink 1\n}\nGraphElement Second{\nTrace 1\n}\n[H]\nX 1\n");
    ASSERT_TRUE(reader.FindSection("[G]", 0));
    std::vector<std::string> keys;
    std::string key, value;
    std::int32_t cursor = 0;
    while (reader.ReadNextLine(key, value, cursor, 0)) keys.push_back(key + "=" + value);
    ASSERT_GE(keys.size(), 3u);
    EXPECT_EQ(keys[0], "=");  // the rest of the header line
    EXPECT_EQ(keys[1], "Name=Curves");
    EXPECT_EQ(keys.back(), "}=");

    std::string label;
    ASSERT_TRUE(reader.FindBlock("GraphElement", label, 0));
    EXPECT_EQ(label, "First");
    std::int32_t trace = -1;
    EXPECT_EQ(reader.ReadKeyInt("Trace", trace, 1), 1);
    EXPECT_EQ(trace, 0);
    ASSERT_TRUE(reader.FindBlock("GraphElement", label, 1));
    EXPECT_EQ(label, "Second");
    EXPECT_EQ(reader.ReadKeyInt("Trace", trace, 1), 1);
    EXPECT_EQ(trace, 1);
    EXPECT_EQ(reader.ReadKeyInt("Link", trace, 1), 0);  // keys of the first block are not in this one
    EXPECT_FALSE(reader.FindBlock("GraphElement", label, 1));
}

TEST_F(ReaderTest, BlocksWithoutAClosingBraceInTheirSectionAreNotFound) {
    Load("[A]\nBlock One {\nKey 1\n[B]\n}\n");
    ASSERT_TRUE(reader.FindSection("[A]", 0));
    std::string label;
    EXPECT_FALSE(reader.FindBlock("Block", label, 0));
    Load("[A]\nBlock One\nKey 1\n");
    ASSERT_TRUE(reader.FindSection("[A]", 0));
    EXPECT_FALSE(reader.FindBlock("Block", label, 0));
}

TEST_F(ReaderTest, SectionsAndBlocksByLogicalName) {
    Load("[Page]\nLogicalName A\nDisplayName First page\n[Page]\nDisplayName No name\n[Page]\nLogicalName B\n"
         "DisplayName Second\nOpt x {\nLogicalName P\n}\nOpt y {\nValue 1\n}\nOpt z {\nLogicalName Q\nValue 2\n}\n");
    ASSERT_TRUE(reader.FindSectionWithLogicalName("[Page]", "B"));
    std::string v;
    ASSERT_TRUE(reader.FindKeyValue("DisplayName", v, 0));
    EXPECT_EQ(v, "Second");
    ASSERT_TRUE(reader.FindBlockWithLogicalName("Opt", "Q"));
    std::int32_t value = 0;
    EXPECT_EQ(reader.ReadKeyInt("Value", value, 1), 1);
    EXPECT_EQ(value, 2);
    EXPECT_FALSE(reader.FindBlockWithLogicalName("Opt", "R"));
    EXPECT_FALSE(reader.FindSectionWithLogicalName("[Page]", "C"));

    std::string logical, display;
    EXPECT_TRUE(reader.FindSectionNames("[Page]", 0, logical, display));
    EXPECT_EQ(logical, "A");
    EXPECT_EQ(display, "First page");
    EXPECT_FALSE(reader.FindSectionNames("[Page]", 1, logical, display));  // the second page has no LogicalName
}

TEST_F(ReaderTest, ReadsBeforeAnySectionOrAfterAFailedSearchDoNotCrash) {
    DefinitionReader empty;
    std::string k, v;
    std::int32_t cursor = 0;
    EXPECT_FALSE(empty.FindKeyValue("X", v, 0));
    EXPECT_FALSE(empty.FindKeyValue("X", v, 1));
    Load("[A]\nX 1\n");
    EXPECT_FALSE(reader.FindSection("[Nope]", 0));
    EXPECT_FALSE(reader.ReadNextLine(k, v, cursor, 0));
    std::string label;
    EXPECT_FALSE(reader.FindBlock("X", label, 0));
    EXPECT_FALSE(reader.FindSection("[A]", 1));  // continuing after a failure finds nothing
}

}  // namespace
}  // namespace korvath
