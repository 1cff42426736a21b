// The USB HID link: report framing, delivery of partial reports, and the failures that close
// the device.

#include <gtest/gtest.h>

#include "comm/hid_descriptor.h"
#include "comm/serialport.h"
#include "comm/usb_hid.h"
#include "fake_hid.h"

namespace korvath {
namespace {

using test::FakeHidBackend;
using test::FakeHidState;
using test::QueueReport;

class UsbHidTest : public ::testing::Test {
protected:
    UsbHidTest() : usb(std::make_unique<FakeHidBackend>(state), kDefaultUsbVendorId) {}
    std::string Read(std::int32_t n) {
        std::vector<unsigned char> buffer(static_cast<std::size_t>(n) + 1, 0xEE);
        std::int32_t count = -1;
        EXPECT_TRUE(usb.usb_read(buffer.data(), n, count));
        if (n > 1) {
            EXPECT_EQ(buffer[static_cast<std::size_t>(count)], 0);
        }
        return std::string(buffer.begin(), buffer.begin() + count);
    }
    FakeHidState state;
    UsbHid usb;
};

TEST_F(UsbHidTest, RestOfAReportIsDeliveredBeforeTheNext) {
    ASSERT_TRUE(usb.usb_find_device());
    QueueReport(state, "3A7F");
    EXPECT_EQ(Read(1), "3");
    EXPECT_EQ(Read(3), "A7F");
    EXPECT_EQ(state.input.size(), 0u);
    EXPECT_EQ(state.timeouts, 0);  // the second request needed no new report

    QueueReport(state, "xy");
    QueueReport(state, "0123456789");
    EXPECT_EQ(Read(1), "x");
    EXPECT_EQ(Read(5), "y0123");  // rest of one report plus at most one more
    EXPECT_EQ(Read(7), "456789");  // rest (6), then no report in time
    EXPECT_FALSE(usb.found());
}

TEST_F(UsbHidTest, PayloadEndsAtItsFirstZeroByte) {
    ASSERT_TRUE(usb.usb_find_device());
    QueueReport(state, std::string("ab\0cd", 5));
    EXPECT_EQ(Read(4), "ab");
    EXPECT_TRUE(usb.found());
}

TEST_F(UsbHidTest, ReportWithAnotherIdClosesTheDevice) {
    ASSERT_TRUE(usb.usb_find_device());
    QueueReport(state, "12", 1);
    EXPECT_EQ(Read(2), "");
    EXPECT_FALSE(usb.found());
    EXPECT_EQ(state.closes, 1);
    std::int32_t count = 0;
    EXPECT_FALSE(usb.usb_write(reinterpret_cast<const unsigned char*>("e"), 1, count));
}

TEST_F(UsbHidTest, TimeOutDeliversWhatWasThereAndCloses) {
    ASSERT_TRUE(usb.usb_find_device());
    QueueReport(state, "AB");
    EXPECT_EQ(Read(1), "A");
    EXPECT_EQ(Read(3), "B");
    EXPECT_EQ(state.timeouts, 1);
    EXPECT_FALSE(usb.found());
    EXPECT_EQ(Read(3), "");  // nothing stale comes back from the old report
}

TEST_F(UsbHidTest, WriteIsOneWholeReport) {
    ASSERT_TRUE(usb.usb_find_device());
    std::int32_t count = 0;
    ASSERT_TRUE(usb.usb_write(reinterpret_cast<const unsigned char*>("b1D007"), 6, count));
    ASSERT_EQ(state.output.size(), 1u);
    std::vector<unsigned char> expected(65, 0);
    std::copy_n("b1D007", 6, expected.begin() + 1);
    EXPECT_EQ(state.output[0], expected);
    EXPECT_EQ(count, 65);

    ASSERT_TRUE(usb.usb_write(reinterpret_cast<const unsigned char*>("ab\0cd"), 5, count));
    EXPECT_EQ(state.output[1][1], 'a');
    EXPECT_EQ(state.output[1][2], 'b');
    EXPECT_EQ(state.output[1][3], 0);
    EXPECT_EQ(state.output[1][4], 0);  // the bytes after the zero are not sent
}

TEST_F(UsbHidTest, TooLongWriteIsCutAndSaysSo) {
    ASSERT_TRUE(usb.usb_find_device());
    std::string text(100, 'q');
    std::int32_t count = 0;
    ASSERT_TRUE(usb.usb_write(reinterpret_cast<const unsigned char*>(text.data()), 100, count));
    EXPECT_EQ(count, 63);
    EXPECT_EQ(state.output[0].size(), 65u);
    EXPECT_EQ(state.output[0][64], 0);
}

TEST_F(UsbHidTest, FailedWriteClosesTheDevice) {
    ASSERT_TRUE(usb.usb_find_device());
    state.writeFails = true;
    std::int32_t count = 0;
    EXPECT_FALSE(usb.usb_write(reinterpret_cast<const unsigned char*>("e"), 1, count));
    EXPECT_FALSE(usb.found());
    EXPECT_EQ(state.closes, 1);
}

TEST_F(UsbHidTest, OnlyTheFirstMatchingDeviceIsOpened) {
    state.paths = {"/dev/hidraw3", "/dev/hidraw4"};
    ASSERT_TRUE(usb.usb_find_device());
    EXPECT_EQ(state.opened, std::vector<std::string>{"/dev/hidraw3"});

    FakeHidState other;
    UsbHid wrongVendor(std::make_unique<FakeHidBackend>(other), 0x1234);
    EXPECT_FALSE(wrongVendor.usb_find_device());
    EXPECT_TRUE(other.opened.empty());
}

TEST_F(UsbHidTest, ClearInputDropsTheRestOfTheReport) {
    ASSERT_TRUE(usb.usb_find_device());
    QueueReport(state, "123");
    QueueReport(state, "9");
    EXPECT_EQ(Read(1), "1");
    usb.usb_clear_input();
    EXPECT_EQ(Read(1), "9");
}

TEST(SerialPortUsb, UsbControllerIsPreferredAndLeftOnAFailedWrite) {
    FakeHidState state;
    SerialPortConfig config;
    config.portOverride = 7;  // never touched while USB answers
    config.portsDirectory = "/nonexistent-ports";
    CSerialPort port(config, std::make_unique<UsbHid>(std::make_unique<FakeHidBackend>(state), kDefaultUsbVendorId));
    std::string error = "old";
    ASSERT_TRUE(port.open(error, 9600));
    EXPECT_EQ(error, "");
    EXPECT_TRUE(port.is_usb());

    state.peer = [](const std::string& payload) { return std::vector<std::string>{payload + "7F"}; };
    EXPECT_EQ(port.write(reinterpret_cast<const unsigned char*>("e3A"), 0), 3);
    unsigned char buffer[8] = {};
    EXPECT_EQ(port.read(buffer, 5), 5);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 5), "e3A7F");
    EXPECT_EQ(port.read_byte(buffer), 0);  // nothing more: the device closes itself

    port.purge();
    state.writeFails = true;
    EXPECT_EQ(port.write_byte('e'), 0);
    EXPECT_FALSE(port.is_usb());
    EXPECT_EQ(port.write_byte('e'), 0);  // no COM port behind it
}

TEST(HidDescriptor, ReportLengthsAndNumbering) {
    // Vendor page, 64-byte input and output reports, no report ids.
    std::vector<unsigned char> plain{0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00,
                                     0x75, 0x08, 0x95, 0x40, 0x09, 0x01, 0x81, 0x02, 0x95, 0x40, 0x09, 0x01,
                                     0x91, 0x02, 0xC0};
    HidReportLayout layout = ParseHidReportDescriptor(plain);
    EXPECT_FALSE(layout.numbered);
    EXPECT_EQ(layout.inputLength, 65u);
    EXPECT_EQ(layout.outputLength, 65u);

    // Report 1 with 32 input bytes, report 2 with 8 output bytes.
    std::vector<unsigned char> numbered{0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x01, 0x75, 0x08,
                                        0x95, 0x20, 0x81, 0x02, 0x85, 0x02, 0x95, 0x08, 0x91, 0x02, 0xC0};
    layout = ParseHidReportDescriptor(numbered);
    EXPECT_TRUE(layout.numbered);
    EXPECT_EQ(layout.inputLength, 33u);
    EXPECT_EQ(layout.outputLength, 9u);

    // A cut-off descriptor and an empty one keep the 64-byte default.
    layout = ParseHidReportDescriptor({0x75, 0x08, 0x96});
    EXPECT_EQ(layout.inputLength, 65u);
    EXPECT_EQ(ParseHidReportDescriptor({}).outputLength, 65u);
}

}  // namespace
}  // namespace korvath
