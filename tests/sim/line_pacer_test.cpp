// The serial line model behind --baud: one character time per byte in each direction.

#include <gtest/gtest.h>

#include "engine/line_pacer.h"

namespace korvath::sim {
namespace {

std::vector<std::uint8_t> V(std::initializer_list<std::uint8_t> b) { return b; }

TEST(LinePacer, At9600BaudBytesWrittenTogetherArriveOneCharacterTimeApart) {
    LinePacer line(9600);
    const std::uint64_t t = line.CharacterTimeNs();
    EXPECT_EQ(t, 1041667u);  // 10 bits at 9600 baud
    const std::uint8_t sent[] = {'e', '3', 'A'};
    line.Arrive(sent, 3, 5000);
    EXPECT_TRUE(line.Received(5000 + t - 1).empty());
    EXPECT_EQ(line.Received(5000 + t), V({'e'}));
    EXPECT_EQ(*line.NextEvent(), 5000 + 2 * t);
    EXPECT_EQ(line.Received(5000 + 3 * t), V({'3', 'A'}));
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

TEST(LinePacer, BaudZeroPassesEverythingAtOnceAndClearForgetsBytesInFlight) {
    LinePacer fast(0);
    const std::uint8_t sent[] = {1, 2};
    fast.Arrive(sent, 2, 7);
    EXPECT_EQ(fast.Received(7), V({1, 2}));

    LinePacer slow(9600);
    slow.Arrive(sent, 2, 0);
    slow.Queue(V({3}), 0);
    slow.Clear();
    EXPECT_FALSE(slow.NextEvent());
    EXPECT_TRUE(slow.Received(1'000'000'000).empty());
}

}  // namespace
}  // namespace korvath::sim
