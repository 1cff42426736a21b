// A log's channels as the viewer plots them: numbers, texts as steps (gears in their order), and
// gaps where the link was lost or a cell is empty.

#include <gtest/gtest.h>

#include <cmath>

#include "core/datalog/log_text.h"
#include "datalog/log_channels.h"
#include "support/recording_host.h"

namespace korvath {
namespace {

using namespace korvath::datalog;

TEST(LogChannelsTest, NumbersTextsAndGaps) {
    testing::TempDir dir;
    DataLogReader log;
    std::string why;
    ASSERT_TRUE(log.Open(dir.Write("a.csv", testing::LogText({"Speed", "Gear", "Mode"},
                                                             {{"0", "1.5", "Second", "Sport", "", "", ""},
                                                              {"50", "", "N", "Eco", "", "", ""},
                                                              {"100", "", "", "", "", "", "link lost"},
                                                              {"150", "20", "First", "Sport", "", "", ""}})),
                         why));
    LogChannels channels;
    ASSERT_TRUE(LoadLogChannels(log, channels, why)) << why;
    EXPECT_EQ(channels.seconds, (std::vector<double>{0.0, 0.05, 0.1, 0.15}));
    ASSERT_EQ(channels.channels.size(), 3u);

    const LogChannel& speed = channels.channels[0];
    EXPECT_FALSE(speed.text);
    EXPECT_EQ(speed.values[0], 1.5);
    EXPECT_TRUE(std::isnan(speed.values[1]));  // not read in that round
    EXPECT_TRUE(std::isnan(speed.values[2]));  // link lost
    EXPECT_EQ(speed.values[3], 20.0);

    // Gears bottom up, whatever order they came in; other texts as they came.
    const LogChannel& gear = channels.channels[1];
    EXPECT_TRUE(gear.text);
    EXPECT_EQ(gear.texts, (std::vector<std::string>{"N", "First", "Second"}));
    EXPECT_EQ(gear.values[0], 2.0);
    EXPECT_EQ(gear.values[1], 0.0);
    EXPECT_TRUE(std::isnan(gear.values[2]));
    EXPECT_EQ(gear.values[3], 1.0);
    EXPECT_EQ(channels.channels[2].texts, (std::vector<std::string>{"Sport", "Eco"}));
    EXPECT_EQ(channels.channels[2].values[3], 0.0);
}

TEST(LogChannelsTest, RowsSkippedWhenTheLogWasOpenedAreLeftOutOfTheSweep) {
    std::string text = testing::LogText({"Speed"}, {{"0", "1", "", "", ""}, {"50", "2", "", "", ""}});
    const auto second = text.find("50,");
    text.insert(second, "not,a,row\r\nx,1,0,,,,KV4\r\n");
    testing::TempDir dir;
    DataLogReader log;
    std::string why;
    ASSERT_TRUE(log.Open(dir.Write("c.csv", text), why));
    EXPECT_EQ(log.skippedRows(), 2u);
    LogChannels channels;
    ASSERT_TRUE(LoadLogChannels(log, channels, why)) << why;
    EXPECT_EQ(channels.seconds, (std::vector<double>{0.0, 0.05}));
    EXPECT_EQ(channels.channels[0].values, (std::vector<double>{1.0, 2.0}));
}

TEST(LogChannelsTest, ATextChannelKeepsABoundedNumberOfTexts) {
    std::vector<std::vector<std::string>> rows;
    for (std::size_t r = 0; r < kMaxChannelTexts + 10; ++r) {
        // Appended, not "t" + std::string&&: that trips a false -Wrestrict of GCC 12 at -O3.
        std::string text = "t";
        text += std::to_string(r);
        rows.push_back({std::to_string(r), text, "", "", ""});
    }
    testing::TempDir dir;
    DataLogReader log;
    std::string why;
    ASSERT_TRUE(log.Open(dir.Write("b.csv", testing::LogText({"Note"}, rows)), why));
    LogChannels channels;
    ASSERT_TRUE(LoadLogChannels(log, channels, why));
    EXPECT_EQ(channels.channels[0].texts.size(), kMaxChannelTexts);
    EXPECT_EQ(channels.channels[0].values[kMaxChannelTexts - 1], static_cast<double>(kMaxChannelTexts - 1));
    EXPECT_TRUE(std::isnan(channels.channels[0].values[kMaxChannelTexts]));
}

}  // namespace
}  // namespace korvath
