// Flash burn 'b' and load 'r' with the RAM transfer buffer, walked through the 1000-byte table
// exchange with the default layout (buffer 0x100, 512 bytes; 64-byte blocks; table #1 at 0x7000).

#include <gtest/gtest.h>

#include "sim_wire.h"

namespace korvath::sim {
namespace {

using test::Bytes;
using test::Send;
using test::UploadPacket;

ControllerConfig Still() {
    ControllerConfig c;
    c.memory = MemoryType::Flash;
    c.drive = false;
    return c;
}

std::vector<std::uint8_t> Image1000() {
    std::vector<std::uint8_t> image(1000);
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>((i * 7 + 3) & 0xFF);
    return image;
}

std::vector<std::uint8_t> Slice(const std::vector<std::uint8_t>& v, std::size_t from, std::size_t count) {
    return std::vector<std::uint8_t>(v.begin() + static_cast<std::ptrdiff_t>(from),
                                     v.begin() + static_cast<std::ptrdiff_t>(from + count));
}

// Burns the way the tool does: first five characters, check their echo, then the sixth.
std::string Burn(Controller& c, const std::string& command) {
    std::string first = Send(c, command.substr(0, 5));
    EXPECT_EQ(first, command.substr(0, 5));
    return Send(c, command.substr(5));
}

void WriteTable1000(Controller& c, const std::vector<std::uint8_t>& image, const char* first_burn,
                    const char* second_burn) {
    const std::size_t offsets[] = {0, 256, 512, 768};
    const std::uint32_t buffer[] = {0x100, 0x200, 0x100, 0x200};
    for (int k = 0; k < 4; ++k) {
        std::size_t count = std::min<std::size_t>(256, image.size() - offsets[k]);
        std::string packet = UploadPacket(buffer[k], Slice(image, offsets[k], count));
        ASSERT_EQ(Send(c, packet), packet + "c") << "packet " << k;
        if (k == 1) {
            ASSERT_EQ(Burn(c, first_burn), std::string(1, first_burn[5]) + "c");
        }
        if (k == 3) {
            ASSERT_EQ(Burn(c, second_burn), std::string(1, second_burn[5]) + "c");
        }
    }
}

TEST(FlashTransfer, ThousandByteTableBurnsEightBlocksAt448AndAt456) {
    Controller c(Still());
    auto image = Image1000();
    // Block 448 = 0x1C0 and 456 = 0x1C8, eight blocks each (count - 1 = 07).
    WriteTable1000(c, image, "b1C007", "b1C807");
    EXPECT_EQ(c.Stats().burns, 2u);
    EXPECT_EQ(c.Stats().packets_up, 4u);
    auto table = c.FlashTable(0);
    EXPECT_EQ(Slice(table, 0, 1000), image);
    // The second burn copies the whole second buffer half: bytes 1000-1023 come from RAM 0x2E8-0x2FF.
    EXPECT_EQ(table[1000], c.Ram(0x2E8));
    // Nothing beyond the eight blocks moved.
    EXPECT_EQ(c.Flash()[0x7000 + 1024], 0xFF);

    // Flash2 table written afterwards: the tool marks it with RAM 0x1045 on 4-digit controllers,
    // with RAM 69 otherwise; here the flash controller gets 69 = 1 for table #1.
    EXPECT_EQ(Send(c, "f04501"), "f04500" "01");
    ASSERT_EQ(c.RecordedWrites().size(), 1u);
    EXPECT_EQ(c.RecordedWrites()[0].address, 69);
}

TEST(FlashTransfer, ThousandByteTableReadsBackThroughLoadsAndDownloads) {
    Controller c(Still());
    auto image = Image1000();
    ASSERT_TRUE(c.LoadFlashTable(0, image));
    std::vector<std::uint8_t> read;
    const std::uint32_t buffer[] = {0x100, 0x200, 0x100, 0x200};
    for (int k = 0; k < 4; ++k) {
        if (k == 0) {
            ASSERT_EQ(Send(c, "r1C007"), "r1C007c");
        }
        if (k == 2) {
            ASSERT_EQ(Send(c, "r1C807"), "r1C807c");
        }
        std::size_t count = std::min<std::size_t>(256, image.size() - read.size());
        std::string header = std::string("d") + test::Hex(buffer[k], 3) + test::Hex(static_cast<std::uint32_t>(count - 1), 2);
        std::string answer = Send(c, header);
        ASSERT_EQ(answer.substr(0, 6), header);
        test::Download d;
        ASSERT_TRUE(test::DecodeDownload(answer.substr(6), count, &d)) << "download " << k;
        EXPECT_EQ(d.last, 'c');
        read.insert(read.end(), d.data.begin(), d.data.end());
    }
    EXPECT_EQ(read, image);
    EXPECT_EQ(c.Stats().loads, 2u);
}

TEST(FlashTransfer, TableTwoStartsOnePageLaterAtBlock464) {
    Controller c(Still());
    auto image = Image1000();
    WriteTable1000(c, image, "b1D007", "b1D807");
    EXPECT_EQ(Slice(c.FlashTable(1), 0, 1000), image);
    EXPECT_EQ(c.FlashTableAddress(1), 0x7400u);
    EXPECT_EQ(c.FlashTable(0), std::vector<std::uint8_t>(1024, 0xFF));
}

TEST(FlashTransfer, FailedVerificationReportsTheFailedAddressThenALoneEndMarkerIsSwallowed) {
    ControllerConfig config = Still();
    config.faults.push_back({FaultKind::BurnFail, 456});
    Controller c(config);
    auto image = Image1000();
    for (int k = 0; k < 2; ++k) {
        std::string packet = UploadPacket(k == 0 ? 0x100 : 0x200, Slice(image, 256 * k, 256));
        ASSERT_EQ(Send(c, packet), packet + "c");
    }
    ASSERT_EQ(Burn(c, "b1C007"), "7c");
    // Block 456 begins at flash address 456 * 64 = 0x7200: echo, a refusal, six address digits.
    std::string report = Burn(c, "b1C807");
    ASSERT_EQ(report.size(), 8u);
    EXPECT_EQ(report[0], '7');
    EXPECT_NE(report[1], 'c');
    EXPECT_EQ(report.substr(2), "007200");
    EXPECT_EQ(c.Stats().burns_failed, 1u);
    EXPECT_EQ(c.FlashTable(0)[0x200], 0xFF);
    // The tool abandons with a lone 0x77: not taken for a 'w' query.
    EXPECT_EQ(Send(c, Bytes({0x77})), "");
    EXPECT_EQ(Send(c, "w00"), "w0033");
}

TEST(FlashTransfer, LoneEndMarkerBeforeTheLastCharacterAbandonsTheBurn) {
    Controller c(Still());
    c.SetRam(0x100, 0x5A);
    EXPECT_EQ(Send(c, "b1C00"), "b1C00");
    EXPECT_EQ(Send(c, Bytes({0x77})), "");
    EXPECT_EQ(c.Flash()[0x7000], 0xFF);
    EXPECT_EQ(c.Stats().aborts, 1u);
    EXPECT_EQ(c.Stats().burns, 0u);
    // Outside a 'b' or 'r', 0x77 is the version query letter.
    EXPECT_EQ(Send(c, Bytes({0x77}) + "00"), "w0033");
}

TEST(FlashTransfer, EndMarkerLongAfterABurnIsAVersionQueryAgain) {
    Controller c(Still());
    c.SetTime(1000);
    EXPECT_EQ(Send(c, "b1C000"), "b1C000c");
    c.SetTime(1000 + Controller::kAbandonWindowMs + 1);
    EXPECT_EQ(Send(c, "w00"), "w0033");
}

TEST(FlashTransfer, BlocksOutsideFlashOrBufferFailInsteadOfOverrunning) {
    Controller c(Still());
    // Block 0xFFF of 64 bytes lies beyond the 64 KiB flash.
    std::string report = Burn(c, "bFFF00");
    ASSERT_EQ(report.size(), 8u);
    EXPECT_EQ(report.substr(2), "03FFC0");
    EXPECT_EQ(Send(c, "rFFF00").back(), '?');
    EXPECT_EQ(c.Stats().loads_failed, 1u);

    // A buffer at the top of RAM: five blocks would run past its end.
    ControllerConfig config = Still();
    config.cal_buffer_start = 0xFF00;
    config.cal_buffer_size = 0x100;
    Controller top(config);
    EXPECT_EQ(Send(top, "r00003"), "r00003c");
    EXPECT_EQ(Send(top, "r00004").back(), '?');
    EXPECT_EQ(Burn(top, "b00004").substr(2), "000100");
}

}  // namespace
}  // namespace korvath::sim
