// CSerialPort over a real pseudo-terminal: port resolution and open failures, exclusive use,
// the read time-outs and the NUL filter.

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

#include "comm/port_names.h"
#include "comm/serialport.h"
#include "platform/settings_store.h"
#include "pty_pair.h"

namespace korvath {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using test::ElapsedMs;
using test::PtyPair;

class SerialPortTest : public ::testing::Test {
protected:
    SerialPortTest() {
        dir = fs::temp_directory_path() / ("korvath-serial-" + std::to_string(getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir / "ports");
        settings = std::make_unique<IniSettingsStore>((dir / "korvath.INI").string());
    }
    ~SerialPortTest() override { fs::remove_all(dir); }

    std::unique_ptr<CSerialPort> PortOn(int number) {
        settings->SetInt(kCommSettingsSection, kComPortNumberKey, number);
        SerialPortConfig config;
        config.settings = settings.get();
        config.portsDirectory = PortsDirectoryFor(settings->path());
        return std::make_unique<CSerialPort>(config, nullptr);
    }
    void Link(int number, const fs::path& target) { fs::create_symlink(target, dir / "ports" / ("COM" + std::to_string(number))); }

    fs::path dir;
    std::unique_ptr<IniSettingsStore> settings;
    std::string error;
};

TEST_F(SerialPortTest, ComNumbersResolveThroughLinksOrTheFixedRule) {
    EXPECT_EQ(ComPortDevice(1, ""), "/dev/ttyS0");
    EXPECT_EQ(ComPortDevice(32, ""), "/dev/ttyS31");
    EXPECT_EQ(ComPortDevice(33, ""), "/dev/ttyUSB0");
    EXPECT_EQ(ComPortDevice(65, ""), "/dev/ttyACM0");
    EXPECT_EQ(ComPortDevice(96, ""), "/dev/ttyACM31");
    EXPECT_EQ(ComPortDevice(97, ""), "");
    EXPECT_EQ(ComPortDevice(0, ""), "");
    Link(3, "/dev/null");
    EXPECT_EQ(ComPortDevice(3, (dir / "ports").string()), (dir / "ports" / "COM3").string());
    EXPECT_EQ(PortsDirectoryFor("/etc/x/korvath.INI"), "/etc/x/ports");
}

TEST_F(SerialPortTest, OpenFailuresNameThePort) {
    auto none = PortOn(0);
    EXPECT_FALSE(none->open(error, 9600));
    EXPECT_EQ(error,
              "No COM port has been selected, so no port could be opened.  Choose Communication Setup from the "
              "View menu to select a communication port.");

    Link(7, dir / "no-such-device");
    auto missing = PortOn(7);
    EXPECT_FALSE(missing->open(error, 9600));
    EXPECT_EQ(error,
              "Could not open serial port COM7.  This port does not appear to exist on this system.\n\nIf COM7 is "
              "a USB-to-serial adapter, please make sure that the device and the appropriate driver are properly "
              "installed and try again.");

    Link(8, dir);  // a directory cannot be opened for writing
    auto directory = PortOn(8);
    EXPECT_FALSE(directory->open(error, 9600));
    EXPECT_EQ(error, "Could not open serial port COM8, due to an unexpected error.  Error number = 21 (Is a directory)");

    std::FILE* f = std::fopen((dir / "plain").c_str(), "w");
    std::fclose(f);
    Link(9, dir / "plain");  // not a terminal: its line settings cannot be read
    auto plain = PortOn(9);
    EXPECT_FALSE(plain->open(error, 9600));
    EXPECT_EQ(error, "GetCommState failed for serial port COM9.  Error number = 25 (Inappropriate ioctl for device)");
}

TEST_F(SerialPortTest, OpenFailuresOfANamedDeviceNameItsPath) {
    auto device = [&](const fs::path& path) {
        SerialPortConfig config;
        config.settings = settings.get();
        config.devicePath = path.string();
        return std::make_unique<CSerialPort>(config, nullptr);
    };
    settings->SetInt(kCommSettingsSection, kComPortNumberKey, 9);  // not the one that is opened
    const fs::path missing = dir / "nonexist";
    EXPECT_FALSE(device(missing)->open(error, 9600));
    EXPECT_EQ(error, "Could not open the serial device " + missing.string() +
                         ".  This device does not appear to exist on this system.");
    EXPECT_FALSE(device(dir)->open(error, 9600));
    EXPECT_EQ(error, "Could not open the serial device " + dir.string() + ", due to an unexpected error.  Error number = 21 (Is a directory)");
    std::fclose(std::fopen((dir / "plain").c_str(), "w"));
    EXPECT_FALSE(device(dir / "plain")->open(error, 9600));
    EXPECT_EQ(error, "The serial device " + (dir / "plain").string() +
                         " could not be set up as a serial line.  Error number = 25 (Inappropriate ioctl for device)");
}

TEST_F(SerialPortTest, PortHeldElsewhereIsInUse) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    Link(4, pty.slave());
    auto first = PortOn(4);
    ASSERT_TRUE(first->open(error, 9600)) << error;
    EXPECT_FALSE(first->is_usb());

    auto second = PortOn(4);
    EXPECT_FALSE(second->open(error, 9600));
    EXPECT_EQ(error, "Could not open serial port COM4.  This port appears to be in use by another program.");

    first->close();
    EXPECT_TRUE(second->open(error, 9600)) << error;
    second->close();

    // Another program holding the lock on the device.
    int other = ::open(pty.slave().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
    EXPECT_FALSE(first->open(error, 9600));
    EXPECT_EQ(error, "Could not open serial port COM4.  This port appears to be in use by another program.");
    ::close(other);
    EXPECT_TRUE(first->open(error, 9600));
    EXPECT_TRUE(first->open(error, 9600)) << "a second open lets the first go";
}

TEST_F(SerialPortTest, BytesBothWaysWithoutZeros) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    SerialPortConfig config;
    config.devicePath = pty.slave();  // a named device needs no COM number
    CSerialPort port(config, nullptr);
    ASSERT_TRUE(port.open(error, 9600)) << error;

    EXPECT_EQ(port.write(reinterpret_cast<const unsigned char*>("e3A"), 0), 3);
    EXPECT_EQ(port.write_byte('x'), 1);
    EXPECT_EQ(pty.Receive(), "e3Ax");

    pty.Send(std::string("A\0B\0\0C", 6));
    unsigned char buffer[8] = {};
    EXPECT_EQ(port.read(buffer, 3), 3);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 3), "ABC");

    pty.Send("junk");
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(port.purge());
    EXPECT_EQ(port.read_byte(buffer), 0);

    port.close();
    EXPECT_EQ(port.write_byte('e'), 0);
    EXPECT_EQ(port.read_byte(buffer), 0);
}

TEST_F(SerialPortTest, ReadTimeOuts) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    SerialPortConfig config;
    config.devicePath = pty.slave();
    CSerialPort port(config, nullptr);
    ASSERT_TRUE(port.open(error, 9600)) << error;
    unsigned char buffer[8] = {};

    // Silence: the whole time-out of 100 + 5 * 3 ms.
    auto start = Clock::now();
    EXPECT_EQ(port.read(buffer, 3), 0);
    auto silent = ElapsedMs(start);
    EXPECT_GE(silent, 110);
    EXPECT_LT(silent, 400);

    // Two bytes 60 ms apart: the gap ends the read after the first.
    std::thread peer([&] {
        pty.Send("1");
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        pty.Send("2");
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(port.read(buffer, 2), 1);
    EXPECT_EQ(buffer[0], '1');
    peer.join();
    EXPECT_EQ(port.read_byte(buffer), 1);
    EXPECT_EQ(buffer[0], '2');

    // Zero bytes are not bytes: a line that sends only zeros is silent.
    pty.Send(std::string(4, '\0'));
    start = Clock::now();
    EXPECT_EQ(port.read(buffer, 1), 0);
    EXPECT_GE(ElapsedMs(start), 100);

    // A write does not wait until its characters are out, so the answer's time-out leaves room
    // for them: 300 characters need 312 ms at 9600 baud, the answer comes 150 ms after the write.
    const std::string packet(300, 'p');
    ASSERT_EQ(port.write(reinterpret_cast<const unsigned char*>(packet.data()), 300), 300);
    std::thread late([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        pty.Send("c");
    });
    EXPECT_EQ(port.read_byte(buffer), 1);
    EXPECT_EQ(buffer[0], 'c');
    late.join();
    EXPECT_EQ(pty.Receive(), packet);
}

TEST_F(SerialPortTest, PeerThatGoesAwayEndsReadsAtOnce) {
    SerialPortConfig config;
    auto pty = std::make_unique<PtyPair>();
    ASSERT_TRUE(pty->ok());
    config.devicePath = pty->slave();
    CSerialPort port(config, nullptr);
    ASSERT_TRUE(port.open(error, 9600)) << error;
    pty.reset();
    unsigned char buffer[4];
    auto start = Clock::now();
    EXPECT_EQ(port.read(buffer, 4), 0);
    EXPECT_LT(ElapsedMs(start), 400);
}

}  // namespace
}  // namespace korvath
