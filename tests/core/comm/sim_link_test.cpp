// The monitor and the serial transport against korvath-sim over a real pseudo-terminal, and
// the USB HID framing with a fake HID device in front of the simulator's controller engine.

#include <chrono>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "comm/ram_names.h"
#include "comm/serialport.h"
#include "comm/usb_hid.h"
#include "comm/vuz_monitor.h"
#if __has_include("engine/controller.h")
#include "engine/controller.h"
#define KORVATH_HAVE_SIM_ENGINE 1
#endif
#include "platform/settings_store.h"
#include "fake_hid.h"
#include "fake_link.h"
#include "pty_pair.h"
#include "support/sim_process.h"

namespace korvath {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using test::ElapsedMs;
using test::RecordingClient;
using test::RecordingTimer;
using test::SimProcess;

const std::string kTestAndWrite = "Error in function CTCS_Monitor::test_and_write_NVM: ";
const std::string kReadNvm = "Error in function CTCS_Monitor::read_NVM: ";

// A monitor on the simulator's pty, marked connected as after an identification.
struct SimLink {
    explicit SimLink(std::vector<std::string> options) : sim(std::move(options)) {
        SerialPortConfig config;
        config.devicePath = sim.pty();
        auto transport = std::make_unique<CSerialPort>(config, nullptr);
        port = transport.get();
        monitor = std::make_unique<CTCS_Monitor>(std::move(transport), &timer);
        monitor->set_document(&client);
        monitor->set_connected(1);
        client.statuses.clear();
    }
    nlohmann::json Stats() {
        std::string err = sim.Stop();
        auto start = err.find('{');
        return start == std::string::npos ? nlohmann::json() : nlohmann::json::parse(err.substr(start), nullptr, false);
    }
    SimProcess sim;
    RecordingTimer timer;
    RecordingClient client;
    CSerialPort* port = nullptr;
    std::unique_ptr<CTCS_Monitor> monitor;
    std::string error;
};

class SimLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(test::SimulatorPath())) GTEST_SKIP() << "korvath-sim is not built";
        dir = fs::temp_directory_path() / ("korvath-simlink-" + std::to_string(getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    // An EEPROM table image whose byte 0x3A is 0x7F (every other byte 0x11).
    std::string EepromImage() {
        std::string path = (dir / "table.bin").string();
        std::string bytes(256, '\x11');
        bytes[0x3A] = '\x7F';
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    fs::path dir;
};

TEST_F(SimLinkTest, IdentifiesAndTransfersBytes) {
    SimLink link({"--stats", "--eeprom", EepromImage()});
    ASSERT_FALSE(link.sim.pty().empty());
    std::uint16_t product = 2, hardware = 2, major = 3, minor = 3;
    EXPECT_EQ(link.monitor->query_versions(&product, &hardware, &major, &minor), 0x01 | 0x20);
    EXPECT_EQ(hardware, 1);

    std::uint16_t value = 0;
    ASSERT_TRUE(link.monitor->read_NVM('e', 0x3A, value, link.error)) << link.error;
    EXPECT_EQ(value, 0x7F);

    // The write-enable sequence, then a verified write that holds.
    ASSERT_TRUE(link.monitor->enable_EEPROM_write());
    std::int32_t page = 0;
    ASSERT_TRUE(link.monitor->access_RAM('f', kRamEepromPage, page, link.error));
    EXPECT_TRUE(link.monitor->write_NVM('e', 0x10, 0xA5, link.error)) << link.error;
    EXPECT_TRUE(link.monitor->write_NVM('e', 0x10, 0xA5, link.error));  // already holds: no write
    EXPECT_TRUE(link.monitor->disable_EEPROM_write());
    ASSERT_TRUE(link.monitor->read_NVM('e', 0x10, value, link.error));
    EXPECT_EQ(value, 0xA5);

    EXPECT_TRUE(link.monitor->write_NVM('l', 0x123, 0x42, link.error)) << link.error;
    EXPECT_TRUE(link.client.messages.empty());

    auto stats = link.Stats();
    EXPECT_EQ(stats["commands"]["e"], 5);  // read, write + read-back, read-back only, read
    EXPECT_EQ(stats["eeprom_writes_ignored"], 0);
}

TEST_F(SimLinkTest, NamedRamVariablesInEveryAddressWidth) {
    for (auto [nvm, type] : {std::pair{"eeprom", 0}, {"flash", 1}, {"flash2", 2}}) {
        SimLink link({"--nvm", nvm});
        link.monitor->set_NVM_type(type);
        std::int32_t gear = 3;
        ASSERT_TRUE(link.monitor->access_RAM('f', 47, gear, link.error)) << nvm << ": " << link.error;
        EXPECT_EQ(link.monitor->read_RAM_variable("gear"), 3) << nvm;
        if (type == 2) {
            std::int32_t marker = 0x40;
            ASSERT_TRUE(link.monitor->access_RAM('f', kRamFlashTableWritten, marker, link.error));
            EXPECT_EQ(link.monitor->read_RAM_variable("\\0x1045"), 0x40);
        }
    }
}

TEST_F(SimLinkTest, BadEchoOfTheCommandLetter) {
    SimLink link({"--fault", "bad-echo"});
    std::string value = "12";
    EXPECT_FALSE(link.monitor->test_and_write_NVM('e', "3A", value, link.error));
    EXPECT_EQ(link.error, kTestAndWrite + "Comm. Readback Error: RX = 'x', expected 'e'.\n");
    EXPECT_EQ(link.monitor->is_connected(), 0);
    EXPECT_EQ(link.client.statuses, std::vector<int>{0});
}

TEST_F(SimLinkTest, SilenceAfterTheSecondAddressDigit) {
    SimLink link({"--fault", "silent-after:2"});
    std::uint16_t value = 0;
    auto start = Clock::now();
    EXPECT_FALSE(link.monitor->read_NVM('e', 0x3A, value, link.error));
    auto elapsed = ElapsedMs(start);
    EXPECT_EQ(link.error, kReadNvm + "Comm. Readback Error: RX = NULL, expected 'A'.\n");
    // The last read waited its whole time-out: 100 + 5 * 3 ms.
    EXPECT_GE(elapsed, 110);
    EXPECT_LT(elapsed, 600);
}

TEST_F(SimLinkTest, OnlyOneValueDigit) {
    // Bytes sent: 'e', '3', 'A', '7', 'F': the fifth is dropped.
    SimLink link({"--eeprom", EepromImage(), "--fault", "drop-byte:5"});
    std::uint16_t value = 0;
    EXPECT_FALSE(link.monitor->read_NVM('e', 0x3A, value, link.error));
    EXPECT_EQ(link.error, kReadNvm + "Comm. Result Error: RX = 7, expected 2 bytes.\n");
}

TEST_F(SimLinkTest, LowerCaseDigitsReadButFailVerification) {
    SimLink link({"--eeprom", EepromImage(), "--fault", "lowercase-hex"});
    std::uint16_t value = 0;
    ASSERT_TRUE(link.monitor->read_NVM('e', 0x3A, value, link.error));
    EXPECT_EQ(value, 0x7F);
    EXPECT_FALSE(link.monitor->write_NVM('l', 0x20, 0x3A, link.error));
    EXPECT_EQ(link.error, "3a");
    EXPECT_EQ(link.monitor->is_connected(), 1);
}

TEST_F(SimLinkTest, WriteThatNeverHoldsFailsAfterThreeAttempts) {
    // EEPROM writing is not enabled: the controller ignores the stores.
    SimLink link({"--stats"});
    EXPECT_FALSE(link.monitor->write_NVM('e', 0x20, 0x01, link.error));
    EXPECT_EQ(link.error, "FF");  // erased EEPROM
    EXPECT_EQ(link.monitor->is_connected(), 1);
    auto stats = link.Stats();
    EXPECT_EQ(stats["eeprom_writes_ignored"], 3);
    EXPECT_EQ(stats["commands"]["e"], 4);
}

TEST_F(SimLinkTest, MissingConfirmation) {
    SimLink link({"--fault", "no-confirm"});
    EXPECT_FALSE(link.monitor->write_NVM('l', 0x20, 0x01, link.error));
    EXPECT_EQ(link.error, kTestAndWrite + "Comm. Confirm Error: RX = NULL, expected 'c'.\n");
    EXPECT_EQ(link.monitor->is_connected(), 0);
}

TEST_F(SimLinkTest, DisconnectedLinkSendsNoNvmCommands) {
    SimLink link({"--stats"});
    link.monitor->set_connected(0);
    std::uint16_t value = 0;
    EXPECT_FALSE(link.monitor->read_NVM('e', 1, value, link.error));
    EXPECT_EQ(link.error, kReadNvm);
    EXPECT_FALSE(link.monitor->write_NVM('e', 1, 2, link.error));
    EXPECT_EQ(link.error, kTestAndWrite);
    EXPECT_NE(link.monitor->read_RAM_variable("TPS"), CTCS_Monitor::kNoValue);
    auto stats = link.Stats();
    EXPECT_EQ(stats["commands"].size(), 1u);
    EXPECT_EQ(stats["commands"]["f"], 1);
}

TEST_F(SimLinkTest, UnpluggedControllerIsFoundAgainByTheLinkTick) {
    fs::create_directories(dir / "ports");
    IniSettingsStore settings((dir / "korvath.INI").string());
    settings.SetInt(kCommSettingsSection, kComPortNumberKey, 9);
    auto sim = std::make_unique<SimProcess>(std::vector<std::string>{"--fault", "unplug-after:14"});
    fs::create_symlink(sim->pty(), dir / "ports" / "COM9");

    SerialPortConfig config;
    config.settings = &settings;
    config.portsDirectory = (dir / "ports").string();
    RecordingTimer timer;
    RecordingClient client;
    auto transport = std::make_unique<CSerialPort>(config, nullptr);
    CSerialPort* port = transport.get();
    CTCS_Monitor monitor(std::move(transport), &timer);
    EXPECT_EQ(port->last_open_error(), "");
    monitor.set_document(&client);
    client.identify = [&] {
        std::uint16_t p = 2, h = 1, ma = 3, mi = 3;
        if (!monitor.query_versions(&p, &h, &ma, &mi)) return false;
        monitor.set_connected(1);
        return true;
    };
    timer.Fire();  // reopened and identified twice (12 bytes)
    ASSERT_EQ(client.statuses, std::vector<int>{1});

    std::uint16_t value = 0;
    std::string error;
    EXPECT_FALSE(monitor.read_NVM('e', 1, value, error));  // pulled at the fourteenth byte
    EXPECT_EQ(monitor.is_connected(), 0);
    EXPECT_EQ(timer.periods.back(), CTCS_Monitor::kLinkLostPeriodMs);

    sim->Stop();
    timer.Fire();  // the link is gone
    EXPECT_EQ(monitor.is_connected(), 0);
    EXPECT_EQ(port->last_open_error(),
              "Could not open serial port COM9.  This port does not appear to exist on this system.\n\nIf COM9 is "
              "a USB-to-serial adapter, please make sure that the device and the appropriate driver are properly "
              "installed and try again.");

    // Plugged in again (a new simulator behind the same COM number).
    SimProcess again({});
    fs::remove(dir / "ports" / "COM9");
    fs::create_symlink(again.pty(), dir / "ports" / "COM9");
    timer.Fire();
    EXPECT_EQ(monitor.is_connected(), 1);
    EXPECT_EQ(client.statuses, (std::vector<int>{1, 0, 1}));
}

TEST_F(SimLinkTest, PacedLineAtNineThousandSixHundredBaud) {
    SimLink link({"--baud", "9600", "--eeprom", EepromImage()});
    std::uint16_t value = 0;
    for (int address : {0x3A, 0x3B, 0x3A}) {
        ASSERT_TRUE(link.monitor->read_NVM('e', address, value, link.error)) << link.error;
        EXPECT_EQ(value, address == 0x3A ? 0x7F : 0x11);
    }
}

#ifdef KORVATH_HAVE_SIM_ENGINE
// A HID device whose other side is the simulator's controller engine: every output report's
// payload goes into the controller, its answer comes back in input reports of at most 64 bytes.
class EngineHid {
public:
    explicit EngineHid(sim::ControllerConfig config) : controller(config) {
        state.peer = [this](const std::string& payload) {
            controller.Receive(payload);
            std::string answer = controller.TakeOutputText();
            std::vector<std::string> reports;
            for (std::size_t at = 0; at < answer.size(); at += 64) reports.push_back(answer.substr(at, 64));
            return reports;
        };
    }
    sim::Controller controller;
    test::FakeHidState state;
};

TEST(UsbSimLink, MonitorOverHidReports) {
    sim::ControllerConfig config;
    config.drive = false;
    EngineHid hid(config);
    hid.controller.Eeprom(0)[0x3A] = 0x7F;
    SerialPortConfig portConfig;  // no COM port at all: USB only
    auto usb = std::make_unique<UsbHid>(std::make_unique<test::FakeHidBackend>(hid.state), kDefaultUsbVendorId);
    RecordingTimer timer;
    CTCS_Monitor monitor(std::make_unique<CSerialPort>(portConfig, std::move(usb)), &timer);
    EXPECT_TRUE(monitor.is_usb());

    std::uint16_t product = 2, hardware = 1, major = 3, minor = 3;
    ASSERT_EQ(monitor.query_versions(&product, &hardware, &major, &minor), 0x01);
    monitor.set_connected(1);
    std::uint16_t value = 0;
    std::string error;
    ASSERT_TRUE(monitor.read_NVM('e', 0x3A, value, error)) << error;
    EXPECT_EQ(value, 0x7F);
    ASSERT_TRUE(monitor.enable_EEPROM_write());
    EXPECT_TRUE(monitor.write_NVM('e', 0x3A, 0x12, error)) << error;
    EXPECT_EQ(hid.controller.Eeprom(1)[0x3A], 0x12);  // the enable code 9 left page 1 selected

    // Every report: id 0, the payload, a zero, filler to the report length.
    for (const auto& report : hid.state.output) {
        ASSERT_EQ(report.size(), 65u);
        EXPECT_EQ(report[0], 0);
    }
    // The command letter and first digit go out alone; the rest of the address together.
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(hid.state.output[6].data()) + 1), "e");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(hid.state.output[7].data()) + 1), "3");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(hid.state.output[8].data()) + 1), "A");

    // A silent device closes itself; the next write fails and leaves USB.
    hid.state.peer = nullptr;
    EXPECT_FALSE(monitor.read_NVM('e', 0x3A, value, error));
    EXPECT_EQ(monitor.is_connected(), 0);
    EXPECT_TRUE(monitor.is_usb());
    std::int32_t ram = CTCS_Monitor::kNoValue;
    EXPECT_FALSE(monitor.access_RAM('f', 47, ram, error));
    EXPECT_EQ(error, "Error in function CTCS_Monitor::read_wrt_cmd: Comm. Send Failed.");
    EXPECT_FALSE(monitor.is_usb());
}
#endif

}  // namespace
}  // namespace korvath
