// Block packets 'u' and 'd': escaping, checksum, end marker and confirmation.

#include <gtest/gtest.h>

#include "sim_wire.h"

namespace korvath::sim {
namespace {

using test::Bytes;
using test::Send;
using test::UploadPacket;

ControllerConfig Still(MemoryType memory = MemoryType::Flash) {
    ControllerConfig c;
    c.memory = memory;
    c.drive = false;
    return c;
}

TEST(BlockPackets, Upload256OnesToAddress100CarriesChecksum02EC) {
    Controller c(Still());
    std::string packet = UploadPacket(0x100, std::vector<std::uint8_t>(256, 0x01));
    // 0x75 + 0x01 + 0x00 + 0xFF + 256 * 1 + 0x77, low byte first.
    ASSERT_EQ(packet.substr(packet.size() - 4), Bytes({0xFE, 0x03, 0xEC, 0x02}));
    ASSERT_EQ(packet.substr(0, 6), "u100FF");
    // Every byte is echoed as it came, then 'c'.
    EXPECT_EQ(Send(c, packet), packet + "c");
    for (int a = 0x100; a < 0x200; ++a) ASSERT_EQ(c.Ram(static_cast<std::uint16_t>(a)), 0x01) << a;
    EXPECT_EQ(c.Ram(0x200), 0x00);
    EXPECT_EQ(c.Stats().packets_up, 1u);
}

TEST(BlockPackets, UploadWithWrongChecksumIsRefusedAndNotStored) {
    Controller c(Still());
    std::string packet = UploadPacket(0x100, std::vector<std::uint8_t>(256, 0x01), 3, 0x100);
    ASSERT_EQ(packet.substr(packet.size() - 2), Bytes({0xEC, 0x03}));
    std::string answer = Send(c, packet);
    EXPECT_EQ(answer.substr(0, packet.size()), packet);
    EXPECT_EQ(answer.size(), packet.size() + 1);
    EXPECT_NE(answer.back(), 'c');
    EXPECT_EQ(c.Ram(0x100), 0x00);
    EXPECT_EQ(c.Stats().packets_rejected, 1u);
}

TEST(BlockPackets, EscapedBytesAreEchoedEscapedAndStoredDecoded) {
    Controller c(Still());
    std::vector<std::uint8_t> data = {0x77, 0x00, 0xFE, 0x12, 0x01, 0x02, 0x03};
    std::string packet = UploadPacket(0x2F0, data);
    ASSERT_EQ(packet.substr(6, 8), Bytes({0xFE, 0x03, 0xFE, 0x01, 0xFE, 0x02, 0x12, 0x01}));
    EXPECT_EQ(Send(c, packet), packet + "c");
    for (std::size_t i = 0; i < data.size(); ++i) EXPECT_EQ(c.Ram(static_cast<std::uint16_t>(0x2F0 + i)), data[i]);
}

TEST(BlockPackets, ChecksumLowByteZeroIsEscaped) {
    // 0x75 + 0x01 + 0x00 + 0x00 (count 1) + 0x13 + 0x77 = 0x0100.
    Controller c(Still());
    std::string packet = UploadPacket(0x100, {0x13});
    ASSERT_EQ(packet.substr(packet.size() - 3), Bytes({0xFE, 0x01, 0x01}));
    EXPECT_EQ(Send(c, packet), packet + "c");
    EXPECT_EQ(c.Ram(0x100), 0x13);
}

TEST(BlockPackets, BrokenEscapeOrMissingMarkerSpoilsThePacket) {
    Controller c(Still());
    std::string bad_escape = "u10001" + Bytes({0xFE, 0x09, 0x05, 0xFE, 0x03, 0x01, 0x01});
    std::string answer = Send(c, bad_escape);
    EXPECT_EQ(answer.size(), bad_escape.size() + 1);
    EXPECT_NE(answer.back(), 'c');

    // A data byte where the escaped end marker belongs.
    std::string no_marker = "u10000" + Bytes({0x05, 0x06, 0x01, 0x01});
    answer = Send(c, no_marker);
    EXPECT_EQ(answer.size(), no_marker.size() + 1);
    EXPECT_NE(answer.back(), 'c');
    EXPECT_EQ(c.Ram(0x100), 0x00);
    EXPECT_EQ(c.Stats().packets_rejected, 2u);
}

TEST(BlockPackets, BareEndMarkerAbandonsAnUploadAndTheNextCommandWorks) {
    Controller c(Still());
    std::string started = "u10003" + Bytes({0x11, 0x22});
    EXPECT_EQ(Send(c, started), started);
    EXPECT_EQ(Send(c, Bytes({0x77})), "");
    EXPECT_EQ(c.Stats().aborts, 1u);
    EXPECT_EQ(c.Ram(0x100), 0x00);
    EXPECT_EQ(Send(c, "v00"), "v0021");
}

TEST(BlockPackets, DownloadSendsEscapedDataBareMarkerChecksumAndConfirmation) {
    Controller c(Still());
    std::vector<std::uint8_t> ram = {0x00, 0xFE, 0x77, 0x41, 0xFF};
    for (std::size_t i = 0; i < ram.size(); ++i) c.SetRam(static_cast<std::uint16_t>(0x200 + i), ram[i]);
    std::string answer = Send(c, "d20004");
    ASSERT_EQ(answer.substr(0, 6), "d20004");
    std::string body = answer.substr(6);
    EXPECT_EQ(body.substr(0, 8), Bytes({0xFE, 0x01, 0xFE, 0x02, 0xFE, 0x03, 0x41, 0xFF}));
    EXPECT_EQ(body[8], '\x77');  // the end marker goes out bare
    EXPECT_EQ(body.find('\0'), std::string::npos);

    test::Download d;
    ASSERT_TRUE(test::DecodeDownload(body, ram.size(), &d));
    EXPECT_EQ(d.data, ram);
    EXPECT_EQ(d.marker, 0x77);
    std::uint16_t sum = 'd' + 0x02 + 0x00 + 0x04 + 0x00 + 0xFE + 0x77 + 0x41 + 0xFF + 0x77;
    EXPECT_EQ(d.checksum, sum);
    EXPECT_EQ(d.last, 'c');
}

TEST(BlockPackets, FourDigitAddressesOnSecondFlashType) {
    Controller c(Still(MemoryType::Flash2));
    std::vector<std::uint8_t> data = {1, 2, 3, 4};
    std::string packet = UploadPacket(0x1100, data, 4);
    ASSERT_EQ(packet.substr(0, 7), "u110003");
    EXPECT_EQ(Send(c, packet), packet + "c");
    EXPECT_EQ(c.Ram(0x1103), 4);

    std::string answer = Send(c, "d110003");
    ASSERT_EQ(answer.substr(0, 7), "d110003");
    test::Download d;
    ASSERT_TRUE(test::DecodeDownload(answer.substr(7), 4, &d));
    EXPECT_EQ(d.data, data);
    EXPECT_EQ(d.checksum, 'd' + 0x11 + 0x00 + 0x03 + 1 + 2 + 3 + 4 + 0x77);
}

TEST(BlockPackets, DownloadAtTheTopOfRamWrapsInsteadOfOverrunning) {
    Controller c(Still(MemoryType::Flash2));
    c.SetRam(0xFFFF, 0x21);
    c.SetRam(0x0000, 0x22);
    std::string answer = Send(c, "dFFFF01");
    test::Download d;
    ASSERT_TRUE(test::DecodeDownload(answer.substr(7), 2, &d));
    EXPECT_EQ(d.data, (std::vector<std::uint8_t>{0x21, 0x22}));
}

}  // namespace
}  // namespace korvath::sim
