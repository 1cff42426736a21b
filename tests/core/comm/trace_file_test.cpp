// The communication trace: bursts, directions and events as lines, the size limit, and what a
// real link over a pseudo-terminal writes into it.

#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "comm/serialport.h"
#include "comm/trace_file.h"
#include "pty_pair.h"
#include "support/recording_host.h"

namespace korvath {
namespace {

std::vector<std::string> Lines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// A line without its time stamp; the stamp must be milliseconds with three decimals.
std::string Body(const std::string& line) {
    const auto digit = [&](std::size_t i) { return i < line.size() && line[i] >= '0' && line[i] <= '9'; };
    std::size_t at = line.find_first_not_of(' ');
    const std::size_t first = at;
    while (digit(at)) ++at;
    const bool stamped = at != first && at < line.size() && line[at] == '.' && digit(at + 1) && digit(at + 2) &&
                         digit(at + 3) && at + 4 < line.size() && line[at + 4] == ' ';
    if (!stamped) return "<no time stamp: " + line + ">";
    return line.substr(at + 5);
}

std::vector<std::string> Bodies(const std::string& path) {
    const auto lines = Lines(path);
    std::vector<std::string> bodies;
    for (std::size_t i = 1; i < lines.size(); ++i) bodies.push_back(Body(lines[i]));
    return bodies;
}

const unsigned char kM0[] = {'M', '0'};

TEST(TraceFile, OneLinePerBurstAndPerEvent) {
    testing::TempDir dir;
    const std::string path = dir.File("trace.txt");
    TraceFile trace;
    std::string why;
    ASSERT_TRUE(trace.Start(path, why)) << why;
    trace.Opened("/dev/ttyUSB0");
    trace.Sent(kM0, 1);
    trace.Sent(kM0 + 1, 1);  // the same direction again: the same burst
    const unsigned char answer[] = {0x4D, 0x30, 0x00, 0xFF};
    trace.Received(answer, 4);
    trace.Sent(kM0, 0);  // nothing sent: no line
    trace.TimedOut(3, 1);
    trace.OpenFailed("COM4", "Could not open\n\nsecond line");
    trace.Closed();
    trace.Stop();
    const auto lines = Lines(path);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0].rfind("# communication trace, started ", 0), 0u) << lines[0];
    EXPECT_EQ(Bodies(path), (std::vector<std::string>{"open /dev/ttyUSB0", "> 4D 30", "< 4D 30 00 FF",
                                                      "timeout after 1 of 3 bytes",
                                                      "open failed COM4: Could not open  second line", "close",
                                                      "trace ended"}));
    EXPECT_FALSE(trace.active());
    // Nothing is written once the trace has stopped.
    trace.Sent(kM0, 2);
    EXPECT_EQ(Lines(path).size(), lines.size());
    EXPECT_FALSE(trace.Start(dir.File("no/such/folder/trace.txt"), why));
    EXPECT_FALSE(why.empty());
}

TEST(TraceFile, StopsAtItsLimitAndSaysSoOnce) {
    testing::TempDir dir;
    const std::string path = dir.File("trace.txt");
    constexpr std::uintmax_t kLimit = 4096;
    TraceFile trace(kLimit);
    int told = 0;
    trace.SetLimitHandler([&] { ++told; });
    std::string why;
    ASSERT_TRUE(trace.Start(path, why));
    for (int i = 0; i < 2000; ++i) {
        trace.Sent(kM0, 2);
        trace.Received(kM0, 2);
    }
    EXPECT_FALSE(trace.active());
    EXPECT_EQ(told, 1);
    trace.Stop();
    EXPECT_LE(std::filesystem::file_size(path), kLimit);
    const auto bodies = Bodies(path);
    ASSERT_GT(bodies.size(), 100u);
    EXPECT_EQ(bodies.back(), "trace stopped: the file reached its size limit");
    const char last = bodies[bodies.size() - 2][0];
    EXPECT_TRUE(last == '>' || last == '<') << bodies[bodies.size() - 2];
}

TEST(TraceFile, ALinkTracesWhatCrossesIt) {
    test::PtyPair pty;
    ASSERT_TRUE(pty.ok());
    testing::TempDir dir;
    const std::string path = dir.File("trace.txt");
    TraceFile trace;
    std::string why;
    ASSERT_TRUE(trace.Start(path, why));
    SerialPortConfig config;
    config.devicePath = pty.slave();
    {
        CSerialPort port(config, nullptr);
        port.SetTrace(&trace);
        ASSERT_TRUE(port.open(why, 9600)) << why;
        ASSERT_EQ(port.write(kM0, 2), 2);
        EXPECT_EQ(pty.Receive(), "M0");
        pty.Send("M0");
        unsigned char got[4] = {};
        EXPECT_EQ(port.read(got, 2), 2);
        pty.Send("7");
        EXPECT_EQ(port.read(got, 3), 1);  // one of three: a time-out
    }
    trace.Stop();
    EXPECT_EQ(Bodies(path), (std::vector<std::string>{"open " + pty.slave(), "> 4D 30", "< 4D 30 37",
                                                      "timeout after 1 of 3 bytes", "close", "trace ended"}));
}

}  // namespace
}  // namespace korvath
