// The COM port list on a fake sysfs tree: which ttys count, the USB adapter behind a port, the
// ports folder's links first, the adapter followed to another COM number (the window's tests
// open it there), and the advice after a refused open.

#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "comm/com_ports.h"
#include "comm/device_access.h"
#include "comm/port_names.h"
#include "pty_pair.h"
#include "support/fake_sysfs.h"
#include "support/recording_host.h"

namespace korvath {
namespace {

namespace fs = std::filesystem;

class ComPortsTest : public ::testing::Test {
protected:
    ComPortsTest() : sysfs(dir.File("root")) {
        sysfs.AddUsbAdapter("ttyUSB1", "1-2", "0403", "6001", "FTDI", "FT232R USB UART", "A12345",
                            "usb-FTDI_FT232R_USB_UART_A12345-if00-port0");
        sysfs.AddUsbAdapter("ttyACM0", "1-3", "2341", "0043", "", "Uno", "");
        fs::create_directories(portsDirectory());
    }
    std::string portsDirectory() const { return dir.File("ports"); }
    std::vector<ComPort> List() { return ListComPorts({portsDirectory(), sysfs.root(), true}); }
    void Link(int n, const std::string& target) {
        fs::create_symlink(target, portsDirectory() + "/COM" + std::to_string(n));
    }

    testing::TempDir dir;
    testing::FakeSysfs sysfs;
};

TEST_F(ComPortsTest, DevicesComeFromSysfsWithTheirUsbAdapter) {
    const auto devices = ListSerialDevices(sysfs.root());
    ASSERT_EQ(devices.size(), 3u);  // no console, no placeholder 8250 port
    EXPECT_EQ(devices[0].name, "ttyACM0");
    EXPECT_EQ(devices[1].name, "ttyS0");
    EXPECT_FALSE(devices[1].usb);
    const SerialDevice& ftdi = devices[2];
    EXPECT_EQ(ftdi.path, "/dev/ttyUSB1");
    ASSERT_TRUE(ftdi.usb);
    EXPECT_EQ(ftdi.usb->vendorId, 0x0403);
    EXPECT_EQ(ftdi.usb->productId, 0x6001);
    EXPECT_EQ(ftdi.usb->manufacturer, "FTDI");
    EXPECT_EQ(ftdi.usb->serial, "A12345");
    EXPECT_EQ(ftdi.byIdName, "usb-FTDI_FT232R_USB_UART_A12345-if00-port0");
    EXPECT_EQ(AdapterIdentity(ftdi), "A12345");
    EXPECT_EQ(AdapterName(ftdi), "FT232R USB UART A12345");
    // Without a serial number or a by-id name an adapter cannot be told from its twin.
    EXPECT_EQ(AdapterIdentity(devices[0]), "");
    EXPECT_EQ(AdapterIdentity(devices[1]), "");
    EXPECT_TRUE(ListSerialDevices(dir.File("nothing")).empty());
}

TEST_F(ComPortsTest, LinksComeFirstThenTheSystemPortsByNumber) {
    test::PtyPair pty;
    ASSERT_TRUE(pty.ok());
    Link(9, pty.slave());
    Link(3, dir.File("gone"));                       // its device has gone
    Link(40, sysfs.root() + "/dev/ttyUSB1");         // a link to the adapter itself
    fs::create_symlink(pty.slave(), portsDirectory() + "/COM07");  // not a COM link's name
    const auto ports = List();
    std::vector<int> numbers;
    for (const ComPort& p : ports) numbers.push_back(p.number);
    EXPECT_EQ(numbers, (std::vector<int>{3, 9, 40, 1, 34, 65}));

    EXPECT_TRUE(ports[0].linked);
    EXPECT_FALSE(ports[0].exists);
    EXPECT_FALSE(ports[0].access);
    EXPECT_EQ(PortDescription(ports[0]), dir.File("gone") + ", missing");
    EXPECT_EQ(PortDescription(ports[1]), pty.slave());
    EXPECT_TRUE(ports[1].access);
    // The link leads to the adapter, so it carries the adapter's identity.
    EXPECT_EQ(AdapterIdentityOfPort(ports, 40), "A12345");
    EXPECT_EQ(PortDescription(ports[4]), "FTDI FT232R USB UART, serial A12345 (/dev/ttyUSB1)");
    EXPECT_EQ(PortDescription(ports[5]), "Uno (/dev/ttyACM0)");
    EXPECT_EQ(PortDescription(ports[3]), "/dev/ttyS0");

    // A port this user may not open says so (root may open anything, so the flag is set here).
    ComPort refused = ports[4];
    refused.access = false;
    EXPECT_EQ(PortDescription(refused), "FTDI FT232R USB UART, serial A12345 (/dev/ttyUSB1), no access");
    // The system's ports alone, or none.
    EXPECT_EQ(ListComPorts({"", sysfs.root(), true}).size(), 3u);
    EXPECT_EQ(ListComPorts({portsDirectory(), sysfs.root(), false}).size(), 3u);
}

TEST_F(ComPortsTest, AnAdapterIsFollowedToItsNewNumber) {
    // Stored on COM33, the adapter now sits on ttyUSB1 (COM34).
    auto moved = FindMovedAdapter(List(), 33, "A12345");
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->port, 34);
    EXPECT_EQ(moved->adapter, "FT232R USB UART A12345");
    // Where it is, unknown, unplugged, or nothing remembered: nothing moves.
    EXPECT_FALSE(FindMovedAdapter(List(), 34, "A12345"));
    EXPECT_FALSE(FindMovedAdapter(List(), 33, "B99999"));
    EXPECT_FALSE(FindMovedAdapter(List(), 33, ""));
    // By its by-id name when it has no serial number.
    sysfs.AddUsbAdapter("ttyUSB2", "1-4", "067b", "2303", "Prolific", "PL2303", "", "usb-Prolific_PL2303-if00-port0");
    moved = FindMovedAdapter(List(), 33, "usb-Prolific_PL2303-if00-port0");
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->port, 35);
    EXPECT_EQ(moved->adapter, "usb-Prolific_PL2303-if00-port0");
    sysfs.Remove("ttyUSB1");
    EXPECT_FALSE(FindMovedAdapter(List(), 33, "A12345"));
}

TEST(PermissionAdvice, NamesTheDevicesGroupAndHowToJoinIt) {
    DeviceOwnership o;
    o.known = true;
    o.path = "/dev/ttyUSB0";
    o.owner = "root";
    o.group = "uucp";
    o.groupMayReadWrite = true;
    EXPECT_EQ(PermissionAdvice(o),
              "You may not open /dev/ttyUSB0: it belongs to the group uucp, and only its members may use it.  Join the "
              "group with the command\n\n    sudo usermod -aG uucp $USER\n\nthen log out and log in again (a new group "
              "counts from the next login).");
    // Already a member, but this session began before; or joining would not help.
    o.userListedInGroup = true;
    EXPECT_EQ(PermissionAdvice(o).find("usermod"), std::string::npos);
    EXPECT_NE(PermissionAdvice(o).find("Log out and log in again"), std::string::npos);
    o.groupMayReadWrite = false;
    EXPECT_NE(PermissionAdvice(o).find("only its owner root may use it"), std::string::npos);
    EXPECT_EQ(PermissionAdvice(DeviceOwnership{}), "");
}

TEST(PermissionAdvice, OwnershipIsReadFromTheDevice) {
    testing::TempDir dir;
    const std::string file = dir.Write("node", "");
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                              fs::perms::group_write);
    const DeviceOwnership o = OwnershipOf(file);
    ASSERT_TRUE(o.known);
    EXPECT_TRUE(o.groupMayReadWrite);
    EXPECT_TRUE(o.sessionHasGroup);  // a file made by this process has its group
    EXPECT_TRUE(o.userListedInGroup);
    EXPECT_FALSE(o.group.empty());
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_FALSE(OwnershipOf(file).groupMayReadWrite);
    EXPECT_FALSE(OwnershipOf(dir.File("none")).known);
}

}  // namespace
}  // namespace korvath
