// The monitor's block packets on the wire: escaping, the checksum, the pieces a packet goes out
// in, and what each result code means, against the simulated controller and a scripted peer.

#include <gtest/gtest.h>

#include <deque>
#include <memory>

#include "comm/block_packets.h"
#include "comm/vuz_monitor.h"
#include "transfer_support.h"

namespace korvath {
namespace {

using namespace korvath::testing;

// A peer that answers with bytes given in advance and keeps what it was sent.
class ScriptedPeer final : public ByteTransport {
public:
    bool open(std::string&, int) override { return true; }
    void close() override {}
    std::int32_t read_byte(unsigned char* buffer) override { return read(buffer, 1); }
    std::int32_t read(unsigned char* buffer, std::int32_t n) override {
        std::int32_t k = 0;
        while (k < n && !answer.empty()) {
            buffer[k++] = answer.front();
            answer.pop_front();
        }
        return k;
    }
    std::int32_t write_byte(unsigned char ch) override { return write(&ch, 1); }
    std::int32_t write(const unsigned char* data, std::int32_t n) override {
        sent.append(reinterpret_cast<const char*>(data), static_cast<std::size_t>(n));
        return n;
    }
    bool purge() override {
        answer.clear();
        return true;
    }
    bool is_usb() const override { return usb; }

    void Answer(const std::string& bytes) { answer.insert(answer.end(), bytes.begin(), bytes.end()); }
    std::deque<unsigned char> answer;
    std::string sent;
    bool usb = false;
};

class PacketTest : public ::testing::Test {
protected:
    void OnSimulator(sim::ControllerConfig config = {}) {
        config.drive = false;
        controller = std::make_unique<sim::Controller>(config);
        auto transport = std::make_unique<WireRecorder>(*controller);
        wire = transport.get();
        monitor = std::make_unique<CTCS_Monitor>(std::move(transport), nullptr);
    }
    void OnScript(bool usb = false) {
        auto transport = std::make_unique<ScriptedPeer>();
        peer = transport.get();
        peer->usb = usb;
        monitor = std::make_unique<CTCS_Monitor>(std::move(transport), nullptr);
    }
    std::string AllWritten() const {
        std::string all;
        for (const auto& w : wire->writes) all += w;
        return all;
    }

    std::unique_ptr<sim::Controller> controller;
    WireRecorder* wire = nullptr;
    ScriptedPeer* peer = nullptr;
    std::unique_ptr<CTCS_Monitor> monitor;
    std::string status = "Writing";
};

TEST_F(PacketTest, ChecksumOfAFullPacket) {
    OnSimulator();
    const std::vector<std::uint8_t> ones(256, 0x01);
    ASSERT_EQ(monitor->upload_block(ones.data(), 0, 0x100, 256, 1, status), packet::kUploadOk);
    // 0x75 + 0x01 + 0x00 + 0xFF + 256 x 1 + 0x77 = 0x02EC, low byte first, after the escaped marker.
    const std::string all = AllWritten();
    EXPECT_EQ(all.substr(0, 6), "u100FF");
    EXPECT_EQ(all.substr(all.size() - 4), std::string("\xFE\x03\xEC\x02", 4));
    EXPECT_EQ(all.size(), 6u + 256 + 4);
    EXPECT_EQ(controller->Ram(0x100), 1);
    EXPECT_EQ(controller->Ram(0x1FF), 1);
    EXPECT_EQ(controller->Stats().packets_up, 1u);
}

TEST_F(PacketTest, EscapesDataAndChecksumAndComesBackUnescaped) {
    OnSimulator();
    // One byte 0x13 at 0x100: 0x75 + 1 + 0 + 0 + 0x13 + 0x77 = 0x0100, so the checksum's low byte is 0.
    const std::vector<std::uint8_t> one{0x13};
    ASSERT_EQ(monitor->upload_block(one.data(), 0, 0x100, 1, 1, status), packet::kUploadOk);
    EXPECT_EQ(AllWritten(), std::string("u10000\x13\xFE\x03\xFE\x01\x01", 12));

    wire->writes.clear();
    const std::vector<std::uint8_t> special{0x00, 0xFE, 0x77, 0x41, 0xFE};
    ASSERT_EQ(monitor->upload_block(special.data(), 0, 0x120, 5, 1, status), packet::kUploadOk);
    EXPECT_EQ(AllWritten().substr(6, 9), std::string("\xFE\x01\xFE\x02\xFE\x03\x41\xFE\x02", 9));

    std::vector<std::uint8_t> back(8, 0x55);
    ASSERT_EQ(monitor->download_block(back.data(), 2, 0x120, 5, status), packet::kDownloadOk);
    EXPECT_EQ(std::vector<std::uint8_t>(back.begin() + 2, back.begin() + 7), special);
    EXPECT_EQ(back[1], 0x55);  // nothing outside the count is touched
    EXPECT_EQ(back[7], 0x55);
}

TEST_F(PacketTest, FourDigitAddressesAndWholePacketsOnFlashOfType2) {
    sim::ControllerConfig config;
    config.memory = sim::MemoryType::Flash2;
    OnSimulator(config);
    monitor->set_NVM_type(2);
    std::vector<std::uint8_t> data(300);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 7 + 1);
    // A count above 256 is cut to 256.
    ASSERT_EQ(monitor->upload_block(data.data(), 0, 0x1234, 300, 2, status), packet::kUploadOk);
    ASSERT_EQ(wire->writes.size(), 1u);
    EXPECT_EQ(wire->writes[0].substr(0, 7), "u1234FF");
    EXPECT_EQ(controller->Ram(0x1234 + 255), data[255]);
    EXPECT_EQ(controller->Ram(0x1234 + 256), 0);
    std::vector<std::uint8_t> back(256);
    ASSERT_EQ(monitor->download_block(back.data(), 0, 0x1234, 256, status), packet::kDownloadOk);
    EXPECT_EQ(back, std::vector<std::uint8_t>(data.begin(), data.begin() + 256));
}

// The next piece goes out only while fewer than two echo bytes are outstanding.
TEST_F(PacketTest, PiecesWaitForTheEchoOfThePreviousOnes) {
    for (bool usb : {false, true}) {
        SCOPED_TRACE(usb ? "usb" : "serial");
        OnScript(usb);
        const std::vector<std::uint8_t> data(256, 0x21);
        // Answer only the first piece's echo (less the last byte): the second piece must wait.
        const std::size_t piece = usb ? 62 : 250;
        const std::string echo = "u100FF" + std::string(256, '\x21');
        peer->Answer(echo.substr(0, piece - 2));
        EXPECT_EQ(monitor->upload_block(data.data(), 0, 0x100, 256, 1, status), packet::kUploadTimeout);
        EXPECT_EQ(peer->sent.size(), piece);
        // With the echo of all but one byte, the next piece goes.
        OnScript(usb);
        peer->Answer(echo.substr(0, piece - 1));
        EXPECT_EQ(monitor->upload_block(data.data(), 0, 0x100, 256, 1, status), packet::kUploadTimeout);
        EXPECT_EQ(peer->sent.size(), std::min<std::size_t>(2 * piece, 6 + 256 + 4));
    }
}

TEST_F(PacketTest, UploadResults) {
    const std::vector<std::uint8_t> data(16, 0x30);
    {
        SCOPED_TRACE("header echoed, data never");
        sim::ControllerConfig config;
        config.faults.push_back({sim::FaultKind::SilentAfter, 6});
        OnSimulator(config);
        EXPECT_EQ(monitor->upload_block(data.data(), 0, 0x100, 16, 1, status), packet::kUploadTimeout);
    }
    {
        SCOPED_TRACE("refused at the end");
        sim::ControllerConfig config;
        config.faults.push_back({sim::FaultKind::BadChecksum, 1});
        OnSimulator(config);
        EXPECT_EQ(monitor->upload_block(data.data(), 0, 0x100, 16, 1, status), packet::kUploadMalformed);
        EXPECT_EQ(monitor->upload_block(data.data(), 0, 0x100, 16, 1, status), packet::kUploadOk);
    }
    {
        SCOPED_TRACE("wrong echo inside");
        // 0x75 + 0x01 + 0x00 + 0x0F + 16 x 0x30 + 0x77 = 0x03FC.
        const std::string sentPacket = "u1000F" + std::string(16, '0') + std::string("\xFE\x03\xFC\x03", 4);
        OnScript();
        std::string echo = sentPacket + "c";
        echo[10] = '1';
        peer->Answer(echo);
        EXPECT_EQ(monitor->upload_block(data.data(), 0, 0x100, 16, 1, status), packet::kUploadMalformed);
        EXPECT_EQ(peer->sent, sentPacket);
        OnScript();
        peer->Answer(sentPacket + "c");
        EXPECT_EQ(monitor->upload_block(data.data(), 0, 0x100, 16, 1, status), packet::kUploadOk);
    }
}

TEST_F(PacketTest, DownloadAndUnescapeResults) {
    std::vector<std::uint8_t> image(4);
    auto download = [&](const std::string& answer) {
        OnScript();
        peer->Answer(answer);
        return monitor->download_block(image.data(), 0, 0x100, 2, status);
    };
    // 'd' 0x100, count 2: 0x64 + 1 + 0 + 1 + 0x41 + 0x42 + 0x77 = 0x0160.
    const std::string header = "d10001";
    EXPECT_EQ(download(header + "AB\x77\x60\x01" "c"), packet::kDownloadOk);
    EXPECT_EQ(image[0], 'A');
    EXPECT_EQ(download(header + "AB\xFE\x03\x60\x01" "c"), packet::kDownloadOk);  // an escaped marker is taken too
    EXPECT_EQ(download(header + "AB\x77\x61\x01" "c"), packet::kBadTrailer);
    EXPECT_EQ(download(header + "AB\x76\x60\x01" "c"), packet::kBadTrailer);
    EXPECT_EQ(download(header + "AB\x77\x60\x01" "x"), packet::kBadEscape);
    EXPECT_EQ(download(header + "A\xFE\x09\x77\x60\x01" "c"), packet::kBadEscape);
    EXPECT_EQ(download(header + "A"), packet::kNoData);
    EXPECT_EQ(download(header + "A\xFE"), packet::kNoData);
    EXPECT_EQ(download("d10002AB\x77\x60\x01" "c"), packet::kNoData);  // wrong header echo
    EXPECT_EQ(download(""), packet::kNoData);

    OnScript();
    peer->Answer(std::string("\xFE\x01\xFE\x02\xFE\x03\x77\xFE", 8));
    EXPECT_EQ(monitor->read_unescaped(), 0x00);
    EXPECT_EQ(monitor->read_unescaped(), 0xFE);
    EXPECT_EQ(monitor->read_unescaped(), 0x77);
    EXPECT_EQ(monitor->read_unescaped(), 0x77);
    EXPECT_EQ(monitor->read_unescaped(), packet::kNoData);
}

TEST_F(PacketTest, BurnAndLoad) {
    std::string error;
    {
        SCOPED_TRACE("burn and load on the simulator");
        sim::ControllerConfig config;
        config.memory = sim::MemoryType::Flash;
        OnSimulator(config);
        const std::vector<std::uint8_t> data(64, 0x5C);
        ASSERT_EQ(monitor->upload_block(data.data(), 0, 0x100, 64, 1, status), packet::kUploadOk);
        EXPECT_EQ(monitor->burn_flash(448, 1, error), packet::kFlashOk);
        EXPECT_EQ(error, "");
        EXPECT_EQ(controller->Flash()[0x7000], 0x5C);
        EXPECT_EQ(wire->writes[wire->writes.size() - 2], "b1C00");
        EXPECT_EQ(wire->writes.back(), "0");
        EXPECT_EQ(monitor->load_flash(0, 1, error), packet::kFlashOk);  // erased block 0 into the buffer
        EXPECT_EQ(wire->writes.back(), "r00000");
        EXPECT_EQ(controller->Ram(0x100), 0xFF);
        // Beyond the flash: the load is refused and abandoned.
        EXPECT_EQ(monitor->load_flash(0xFFF, 1, error), packet::kFlashNotAccepted);
        EXPECT_EQ(error, "Could not read flash memory due to a communication error.");
        EXPECT_EQ(wire->writes.back(), "\x77");
        // Counts and blocks beyond their digits are clamped.
        monitor->burn_flash(0x1000, 300, error);
        EXPECT_EQ(wire->writes[wire->writes.size() - 3], "bFFFF");
    }
    {
        SCOPED_TRACE("verification failure report");
        sim::ControllerConfig config;
        config.memory = sim::MemoryType::Flash;
        config.faults.push_back({sim::FaultKind::BurnFail, 449});
        OnSimulator(config);
        EXPECT_EQ(monitor->burn_flash(448, 2, error), packet::kBurnVerifyFailed);
        EXPECT_EQ(error, "Flash memory write verification failed at address 0x007040");
        EXPECT_EQ(wire->writes.back(), "\x77");
        EXPECT_EQ(controller->Stats().aborts, 1u);
    }
    {
        SCOPED_TRACE("wrong echo of the command");
        OnScript();
        peer->Answer("b1C0x");
        EXPECT_EQ(monitor->burn_flash(448, 1, error), packet::kFlashNotAccepted);
        EXPECT_EQ(error, "Could not invoke flash memory write due to communication error.");
        EXPECT_EQ(peer->sent, "b1C00\x77");  // the last digit is held back
    }
}

}  // namespace
}  // namespace korvath
