// Injected faults: what the tool sees on the wire for each, and the fault option syntax.

#include <gtest/gtest.h>

#include "sim_wire.h"

namespace korvath::sim {
namespace {

using test::Send;
using test::UploadPacket;

Controller WithFaults(std::initializer_list<const char*> faults, MemoryType memory = MemoryType::Eeprom) {
    ControllerConfig config;
    config.memory = memory;
    config.drive = false;
    for (const char* text : faults) {
        std::string error;
        auto fault = ParseFault(text, &error);
        EXPECT_TRUE(fault.has_value()) << text << ": " << error;
        if (fault) config.faults.push_back(*fault);
    }
    return Controller(config);
}

TEST(Faults, OptionSyntax) {
    std::string error;
    auto f = ParseFault("silent-after:12", &error);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->kind, FaultKind::SilentAfter);
    EXPECT_EQ(f->arg, 12u);
    EXPECT_EQ(ParseFault("bad-echo", &error)->arg, 1u);
    EXPECT_EQ(ParseFault("no-confirm", &error)->arg, FaultSpec::kEvery);
    EXPECT_EQ(ParseFault("bad-checksum:2", &error)->arg, 2u);

    EXPECT_FALSE(ParseFault("silent-after", &error));
    EXPECT_NE(error.find("silent-after"), std::string::npos);
    EXPECT_FALSE(ParseFault("lowercase-hex:3", &error));
    EXPECT_FALSE(ParseFault("drop-byte:x", &error));
    EXPECT_FALSE(ParseFault("drop-byte:-1", &error));
    EXPECT_FALSE(ParseFault("bad-echo:0", &error));
    EXPECT_FALSE(ParseFault("melt", &error));
    EXPECT_NE(error.find("melt"), std::string::npos);
}

TEST(Faults, BadEchoAnswersXForTheNextCommandLetterOnly) {
    Controller c = WithFaults({"bad-echo"});
    EXPECT_EQ(Send(c, "e"), "x");
    EXPECT_EQ(Send(c, "3A"), "3AFF");
    EXPECT_EQ(Send(c, "e3A"), "e3AFF");
    EXPECT_EQ(c.Stats().faults_fired.at("bad-echo"), 1u);

    Controller twice = WithFaults({"bad-echo:2"});
    EXPECT_EQ(Send(twice, "w00v00e00"), "x0033x0021e00FF");
}

TEST(Faults, LowercaseHexAffectsValueDigitsNotEchoes) {
    Controller c = WithFaults({"lowercase-hex"});
    c.Eeprom(0)[0x3A] = 0xAB;
    EXPECT_EQ(Send(c, "e3A"), "e3Aab");
    EXPECT_EQ(Send(c, "w00"), "w0033");
}

TEST(Faults, SilentAfterAnswersOnlyTheFirstNBytes) {
    Controller c = WithFaults({"silent-after:4"});
    EXPECT_EQ(Send(c, "e3"), "e3");
    EXPECT_EQ(Send(c, "A"), "AFF");  // the third byte still answered in full
    EXPECT_EQ(Send(c, "e"), "e");    // the fourth byte
    EXPECT_EQ(Send(c, "3A"), "");
    EXPECT_EQ(Send(c, "w00"), "");
}

TEST(Faults, DropByteLosesExactlyTheNthByteSent) {
    Controller c = WithFaults({"drop-byte:4"});
    // e, 3, A, F, F: the fourth byte, the first value digit, is missing.
    EXPECT_EQ(Send(c, "e3A"), "e3AF");
    EXPECT_EQ(Send(c, "e3A"), "e3AFF");
}

TEST(Faults, DelayHoldsEveryByteUntilItsTimeComes) {
    Controller c = WithFaults({"delay-ms:60"});
    c.SetTime(1000);
    EXPECT_EQ(Send(c, "e"), "");
    ASSERT_TRUE(c.NextOutputTime());
    EXPECT_EQ(*c.NextOutputTime(), 1060u);
    c.SetTime(1059);
    EXPECT_EQ(c.TakeOutputText(), "");
    c.SetTime(1060);
    EXPECT_EQ(c.TakeOutputText(), "e");
    EXPECT_FALSE(c.NextOutputTime());
}

TEST(Faults, BadChecksumSpoilsUploadsAndDownloads) {
    Controller c = WithFaults({"bad-checksum:2"}, MemoryType::Flash);
    std::string packet = UploadPacket(0x100, {1, 2, 3});
    std::string answer = Send(c, packet);
    EXPECT_EQ(answer.size(), packet.size() + 1);
    EXPECT_NE(answer.back(), 'c');
    EXPECT_EQ(c.Ram(0x100), 0);

    c.SetRam(0x100, 0x42);
    answer = Send(c, "d10000");
    test::Download d;
    ASSERT_TRUE(test::DecodeDownload(answer.substr(6), 1, &d));
    EXPECT_NE(d.checksum, 'd' + 0x01 + 0x00 + 0x00 + 0x42 + 0x77);

    // The count is used up: the third packet goes through.
    EXPECT_EQ(Send(c, packet), packet + "c");
    EXPECT_EQ(c.Stats().faults_fired.at("bad-checksum"), 2u);
}

TEST(Faults, NoConfirmWithholdsEveryConfirmation) {
    Controller c = WithFaults({"no-confirm"}, MemoryType::Flash);
    EXPECT_EQ(Send(c, "l00012"), "l000FF12");
    std::string packet = UploadPacket(0x100, {9});
    EXPECT_EQ(Send(c, packet), packet);
    EXPECT_EQ(c.Ram(0x100), 9);  // stored all the same
    EXPECT_EQ(Send(c, "r1C000"), "r1C000");
}

TEST(Faults, UnplugAfterEndsTheLink) {
    Controller c = WithFaults({"unplug-after:3"});
    EXPECT_EQ(Send(c, "e3"), "e3");
    EXPECT_FALSE(c.Unplugged());
    c.Receive('A');
    EXPECT_TRUE(c.Unplugged());
    EXPECT_EQ(c.TakeOutputText(), "");
    EXPECT_EQ(Send(c, "w00"), "");
}

TEST(Faults, StatisticsNameEveryFaultThatFired) {
    Controller c = WithFaults({"bad-echo", "lowercase-hex"});
    Send(c, "e3Ae3A");
    std::string json = c.StatsJson();
    EXPECT_NE(json.find("\"faults_fired\":{\"bad-echo\":1,\"lowercase-hex\":2}"), std::string::npos) << json;
    EXPECT_NE(json.find("\"commands\":{\"e\":2}"), std::string::npos) << json;
    EXPECT_NE(json.find("\"bytes_received\":6"), std::string::npos) << json;
}

}  // namespace
}  // namespace korvath::sim
