#include "richtext/topic_navigation.h"

#include <gtest/gtest.h>

#include "richtext/rtf_reader.h"

namespace korvath::richtext {
namespace {

TEST(TopicNavigation, TheContentsListIsEveryLinkOnceInReadingOrder) {
    const auto doc = ReadRtf(
        "{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"B.rtf\"}{\\fldrslt  Second {\\b topic} }}\\par "
        "{\\field{\\*\\fldinst HYPERLINK \"A.rtf\"}{\\fldrslt First}} and {\\field{\\*\\fldinst HYPERLINK \"B.rtf\"}"
        "{\\fldrslt again}}}");
    EXPECT_EQ(LinksOf(doc), (std::vector<TopicLink>{{"B.rtf", "Second topic"}, {"A.rtf", "First"}}));
}

TEST(TopicNavigation, BackAndForwardWalkTheTopicsRead) {
    TopicHistory history;
    EXPECT_FALSE(history.CanGoBack());
    EXPECT_EQ(history.Back(), "");
    history.Visit("Contents.rtf");
    history.Visit("Curves.rtf");
    history.Visit("Curves.rtf");  // the same topic again adds nothing
    history.Visit("Live.rtf");
    EXPECT_EQ(history.Back(), "Curves.rtf");
    EXPECT_EQ(history.Back(), "Contents.rtf");
    EXPECT_FALSE(history.CanGoBack());
    EXPECT_EQ(history.Forward(), "Curves.rtf");
    // A new topic from the middle forgets the ones gone back past.
    history.Visit("Settings.rtf");
    EXPECT_FALSE(history.CanGoForward());
    EXPECT_EQ(history.Back(), "Curves.rtf");
    EXPECT_EQ(history.current(), "Curves.rtf");
    for (int i = 0; i < 300; ++i) {
        std::string topic = "T";  // appended: "T" + std::string&& trips a false -Wrestrict at -O3
        topic += std::to_string(i);
        history.Visit(topic + ".rtf");
    }
    int steps = 0;
    while (history.CanGoBack()) {
        history.Back();
        ++steps;
    }
    EXPECT_EQ(steps, 99);  // a long history keeps its newest hundred
}

}  // namespace
}  // namespace korvath::richtext
