// The serial line model behind --baud: one character time per byte in each direction.

#include <gtest/gtest.h>

#include "engine/line_pacer.h"

namespace korvath::sim {
namespace {

std::vector<std::uint8_t> V(std::initializer_list<std::uint8_t> b) { return b; }

std::vector<std::uint8_t> ReceivedBy(LinePacer& line, std::uint64_t now_ns) {
    std::vector<std::uint8_t> bytes;
    while (auto in = line.NextReceived(now_ns)) bytes.push_back(in->byte);
    return bytes;
}

TEST(LinePacer, At9600BaudBytesWrittenTogetherArriveOneCharacterTimeApart) {
    LinePacer line(9600);
    const std::uint64_t t = line.CharacterTimeNs();
    EXPECT_EQ(t, 1041667u);  // 10 bits at 9600 baud
    const std::uint8_t sent[] = {'e', '3', 'A'};
    line.Arrive(sent, 3, 5000);
    EXPECT_TRUE(ReceivedBy(line, 5000 + t - 1).empty());
    EXPECT_EQ(ReceivedBy(line, 5000 + t), V({'e'}));
    EXPECT_EQ(*line.NextEvent(), 5000 + 2 * t);
    EXPECT_EQ(ReceivedBy(line, 5000 + 3 * t), V({'3', 'A'}));
    EXPECT_FALSE(line.NextEvent());
}

TEST(LinePacer, AnswersQueueBehindEachOtherAndAfterAQuietLineStartAtOnce) {
    LinePacer line(9600);
    const std::uint64_t t = line.CharacterTimeNs();
    line.Queue(V({'A', 'F', 'F'}), 0);
    EXPECT_EQ(line.Transmitted(t), V({'A'}));
    // More output while the line is still busy waits for it.
    line.Queue(V({'c'}), t);
    EXPECT_EQ(line.Transmitted(3 * t), V({'F', 'F'}));
    EXPECT_EQ(line.Transmitted(4 * t), V({'c'}));
    // After a quiet spell the next byte takes one character time from when it is ready.
    line.Queue(V({'x'}), 100 * t);
    EXPECT_TRUE(line.Transmitted(101 * t - 1).empty());
    EXPECT_EQ(line.Transmitted(101 * t), V({'x'}));
}

TEST(LinePacer, ALateLookSeesWhenEachByteArrivedSoTheEchoLeavesOnTime) {
    LinePacer line(9600);
    const std::uint64_t t = line.CharacterTimeNs();
    const std::uint8_t sent[] = {'e', '3'};
    line.Arrive(sent, 2, 0);
    // Looked at five characters late, the bytes still carry the times they arrived.
    const auto first = line.NextReceived(7 * t);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->at, t);
    line.Queue(V({'e'}), first->at);
    EXPECT_EQ(line.NextReceived(7 * t)->at, 2 * t);
    EXPECT_EQ(*line.NextEvent(), 2 * t);  // the echo is done one character after the byte came
    EXPECT_EQ(line.Transmitted(2 * t), V({'e'}));
}

TEST(LinePacer, BaudZeroPassesEverythingAtOnceAndClearForgetsBytesInFlight) {
    LinePacer fast(0);
    const std::uint8_t sent[] = {1, 2};
    fast.Arrive(sent, 2, 7);
    EXPECT_EQ(ReceivedBy(fast, 7), V({1, 2}));

    LinePacer slow(9600);
    slow.Arrive(sent, 2, 0);
    slow.Queue(V({3}), 0);
    slow.Clear();
    EXPECT_FALSE(slow.NextEvent());
    EXPECT_TRUE(ReceivedBy(slow, 1'000'000'000).empty());
}

}  // namespace
}  // namespace korvath::sim
