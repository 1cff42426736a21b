// CTCS_Monitor against an in-process controller: addressing, the failures the simulator cannot
// produce, the version query and the connected flag. The faults a controller shows on the wire
// are tested against korvath-sim (sim_link_test.cpp).

#include <gtest/gtest.h>

#include "comm/comm_texts.h"
#include "comm/vuz_monitor.h"
#include "fake_link.h"
#include "platform/message_style.h"

namespace korvath {
namespace {

using test::FakeController;
using test::RecordingClient;
using test::RecordingTimer;

const std::string kReadNvm = "Error in function CTCS_Monitor::read_NVM: ";
const std::string kReadWrt = "Error in function CTCS_Monitor::read_wrt_cmd: ";

class MonitorTest : public ::testing::Test {
protected:
    MonitorTest() {
        auto link = std::make_unique<FakeController>();
        controller = link.get();
        monitor = std::make_unique<CTCS_Monitor>(std::move(link), &timer);
        monitor->set_document(&client);
        monitor->set_connected(1);
        client.statuses.clear();
        controller->written.clear();
    }
    RecordingTimer timer;
    RecordingClient client;
    FakeController* controller = nullptr;
    std::unique_ptr<CTCS_Monitor> monitor;
    std::string error;
};

TEST_F(MonitorTest, AddressesAndValuesAreClampedToTheirDigits) {
    EXPECT_TRUE(monitor->write_NVM('e', 300, 0x12, error));
    // Command, address "FF", value, then the read-back of the same address.
    EXPECT_EQ(controller->written, "eFF12eFF");
    EXPECT_EQ(controller->Byte('e', 0xFF), 0x12);

    controller->written.clear();
    EXPECT_TRUE(monitor->write_NVM('e', -5, 300, error));
    EXPECT_EQ(controller->written, "e00FFe00");
    EXPECT_EQ(error, "");

    EXPECT_EQ(CTCS_Monitor::FormatAddress(1, 0x1234), "FFF");
    EXPECT_EQ(CTCS_Monitor::FormatAddress(2, 0x1045), "1045");
    EXPECT_EQ(CTCS_Monitor::FormatAddress(2, 70000), "FFFF");
    EXPECT_EQ(CTCS_Monitor::FormatValue(CTCS_Monitor::kNoValue), "");
    EXPECT_EQ(CTCS_Monitor::FormatValue(-1), "00");
}

TEST_F(MonitorTest, LettersChooseTheirAddressWidth) {
    controller->Byte('l', 0x123) = 0x5A;
    std::uint16_t value = 0;
    EXPECT_TRUE(monitor->read_NVM('l', 0x123, value, error));
    EXPECT_EQ(value, 0x5A);
    EXPECT_EQ(controller->written, "l123");

    monitor->set_NVM_type(7);  // unknown memory types address RAM with two digits
    EXPECT_EQ(monitor->ram_mode(), 0);
    monitor->set_NVM_type(1);
    EXPECT_EQ(monitor->ram_mode(), 1);
    EXPECT_EQ(monitor->long_mode(), 1);
    EXPECT_EQ(monitor->eeprom_mode(), 0);
}

TEST_F(MonitorTest, RamStoreInFourDigitModeNeedsNoConfirmation) {
    monitor->set_NVM_type(2);
    controller->ramDigits = 4;
    controller->Byte('f', 0x1045) = 0x11;
    std::int32_t value = 64;
    EXPECT_TRUE(monitor->access_RAM('f', 0x1045, value, error));
    EXPECT_EQ(controller->written, "f104540");
    EXPECT_EQ(value, 0x11);  // the byte before the store
    EXPECT_EQ(controller->Byte('f', 0x1045), 0x40);
}

TEST_F(MonitorTest, ByteThatAlreadyHoldsTheValueIsNotWritten) {
    controller->Byte('e', 0x3A) = 0x7F;
    std::string value = "7F";
    EXPECT_TRUE(monitor->test_and_write_NVM('e', "3A", value, error));
    EXPECT_EQ(controller->written, "e3A");
    EXPECT_EQ(error, "");

    std::string readOnly;
    EXPECT_TRUE(monitor->test_and_write_NVM('e', "3A", readOnly, error));
    EXPECT_EQ(readOnly, "7F");
}

TEST_F(MonitorTest, SilenceAtTheFirstCharacter) {
    controller->silentAfter = 0;
    std::int32_t value = CTCS_Monitor::kNoValue;
    EXPECT_FALSE(monitor->access_RAM('f', 47, value, error));
    EXPECT_EQ(error, kReadWrt + "Comm. Readback Error: RX = NULL, expected 'f'.\n");
    EXPECT_EQ(value, CTCS_Monitor::kNoValue);
}

TEST_F(MonitorTest, WrongEchoOfTheRemainingAddressDigits) {
    controller->laterAddressEcho = 'Q';
    controller->Byte('e', 0x3A) = 0x55;
    std::uint16_t value = 0;
    EXPECT_FALSE(monitor->read_NVM('e', 0x3A, value, error));
    EXPECT_EQ(error, kReadNvm + "Comm. Readback Error: RX = Q55, expected 'A'.\n");
}

TEST_F(MonitorTest, OnlyOneValueDigit) {
    controller->valueDigitsSent = 1;
    controller->Byte('e', 0x3A) = 0x7F;
    std::uint16_t value = 0;
    EXPECT_FALSE(monitor->read_NVM('e', 0x3A, value, error));
    EXPECT_EQ(error, kReadNvm + "Comm. Result Error: RX = 7, expected 2 bytes.\n");

    monitor->set_connected(1);
    controller->valueDigitsSent = 0;
    EXPECT_FALSE(monitor->read_NVM('e', 0x3A, value, error));
    EXPECT_EQ(error, kReadNvm + "Comm. Result Error: RX = , expected 2 bytes.\n");
}

TEST_F(MonitorTest, LinkThatTakesNoBytes) {
    controller->writeFails = true;
    std::string value;
    EXPECT_FALSE(monitor->read_wrt_cmd('f', "2F", value, error));
    EXPECT_EQ(error, kReadWrt + "Comm. Send Failed.");
}

TEST_F(MonitorTest, NamedRamVariables) {
    controller->Byte('f', 47) = 4;
    EXPECT_EQ(monitor->read_RAM_variable("gear"), 4);
    EXPECT_EQ(CTCS_Monitor::find_RAM_address("hedfon"), 116);
    EXPECT_EQ(CTCS_Monitor::find_RAM_address("CSTONDLY"), 116);
    EXPECT_EQ(CTCS_Monitor::find_RAM_address("\\0x2C"), 44);
    EXPECT_EQ(CTCS_Monitor::find_RAM_address("\\054"), 44);
    EXPECT_EQ(CTCS_Monitor::find_RAM_address("\\44"), 44);
    EXPECT_EQ(CTCS_Monitor::find_RAM_address("\\0"), 0);
    EXPECT_EQ(CTCS_Monitor::find_RAM_address("\\zz"), 0);
    EXPECT_EQ(CTCS_Monitor::find_RAM_address("GEAR2"), 0);
    EXPECT_EQ(CTCS_Monitor::find_RAM_address(""), 0);

    controller->written.clear();
    EXPECT_EQ(monitor->read_RAM_variable("NOSUCH"), CTCS_Monitor::kNoValue);
    EXPECT_EQ(controller->written, "");

    monitor->set_NVM_type(2);
    controller->ramDigits = 4;
    controller->Byte('f', 0x1045) = 0x99;
    EXPECT_EQ(monitor->read_RAM_variable("\\0x1045"), 0x99);
    EXPECT_EQ(controller->written, "f1045");
}

TEST_F(MonitorTest, ValueDigitsThatAreNotHexFailTheRead) {
    controller->firmware[0] = 'G';  // the 'w' answer is not a byte value
    std::int32_t ram = CTCS_Monitor::kNoValue;
    EXPECT_FALSE(monitor->access_RAM('w', 0, ram, error));
    EXPECT_EQ(error, kReadWrt + "Comm. Result Error: RX = G3, expected 2 hexadecimal digits.\n");
    EXPECT_EQ(monitor->is_connected(), 0);
}

TEST_F(MonitorTest, VersionQuery) {
    std::uint16_t product = 2, hardware = 1, major = 3, minor = 3;
    EXPECT_EQ(monitor->query_versions(&product, &hardware, &major, &minor), 0x01);

    controller->product[0] = '3';
    EXPECT_EQ(monitor->query_versions(&product, &hardware, &major, &minor), 0x41);
    EXPECT_EQ(product, 3);

    // Minor up but major down: the major decides.
    controller->firmware[0] = '2';
    controller->firmware[1] = '5';
    controller->product[1] = '3';
    EXPECT_EQ(monitor->query_versions(&product, &hardware, &major, &minor), 0x01 | 0x10 | 0x08);
    EXPECT_EQ(major, 2);
    EXPECT_EQ(minor, 5);
    EXPECT_EQ(hardware, 3);

    // Equal major: the minor decides.
    controller->firmware[1] = '7';
    EXPECT_EQ(monitor->query_versions(&product, &hardware, &major, &minor), 0x01 | 0x04);
    EXPECT_EQ(monitor->query_versions(nullptr, nullptr, nullptr, nullptr), 0x01);
}

TEST_F(MonitorTest, ControllerWithoutFirmwareQueryRunsVersionOne) {
    controller->answerW = false;
    std::uint16_t product = 0, hardware = 0, major = 0, minor = 9;
    std::int32_t flags = monitor->query_versions(&product, &hardware, &major, &minor);
    EXPECT_EQ(flags & 0x01, 0x01);
    EXPECT_EQ(product, 2);
    EXPECT_EQ(hardware, 1);
    EXPECT_EQ(major, 1);
    EXPECT_EQ(minor, 0);
    EXPECT_EQ(monitor->is_connected(), 0);  // the failed 'w' exchange cleared it
}

TEST_F(MonitorTest, InvalidVersionDigitsFailTheQuery) {
    controller->product[1] = '0';
    std::uint16_t product = 2, hardware = 1, major = 3, minor = 3;
    EXPECT_EQ(monitor->query_versions(&product, &hardware, &major, &minor), 0);
    EXPECT_EQ(monitor->is_connected(), 0);
    EXPECT_EQ(hardware, 1);

    monitor->set_connected(1);
    controller->product[1] = '1';
    controller->firmware[0] = '0';
    EXPECT_EQ(monitor->query_versions(&product, &hardware, &major, &minor), 0);
    EXPECT_EQ(monitor->is_connected(), 0);
}

TEST_F(MonitorTest, EepromWriteEnableSequence) {
    EXPECT_TRUE(monitor->enable_EEPROM_write());
    EXPECT_EQ(controller->written, "f4409n80");
    EXPECT_EQ(controller->Byte('f', 68), 9);
    controller->written.clear();
    EXPECT_TRUE(monitor->disable_EEPROM_write());
    EXPECT_EQ(controller->written, "f4408n00");
    EXPECT_TRUE(client.messages.empty());

    controller->silentAfter = static_cast<int>(controller->written.size()) + 4;
    EXPECT_FALSE(monitor->enable_EEPROM_write());
    ASSERT_EQ(client.messages.size(), 1u);
    EXPECT_EQ(client.messages[0].caption, "EEPROM Write Enable Error:");
    EXPECT_EQ(client.messages[0].text, kReadWrt + "Comm. Readback Error: RX = NULL, expected '9'.\n");
    EXPECT_EQ(client.messages[0].style & MessageStyle::IconMask, MessageStyle::IconError);
    EXPECT_EQ(monitor->is_connected(), 0);

    EXPECT_FALSE(monitor->disable_EEPROM_write());
    EXPECT_EQ(client.messages.back().caption, "EEPROM Write Disable Error:");
}

TEST(MonitorLifecycle, TimerPeriodsFollowTheLink) {
    RecordingTimer timer;
    RecordingClient client;
    auto link = std::make_unique<FakeController>();
    FakeController* controller = link.get();
    {
        CTCS_Monitor monitor(std::move(link), &timer);
        EXPECT_EQ(controller->opens, 1);
        EXPECT_EQ(monitor.is_connected(), 0);
        EXPECT_EQ(timer.periods, std::vector<unsigned>{1000});
        EXPECT_EQ(monitor.dashboard_period(), 100);
        EXPECT_EQ(monitor.data_log_period(), 50);

        monitor.set_document(&client);
        monitor.set_connected(1);  // no live data: the period stays
        monitor.set_connected(1);
        EXPECT_EQ(timer.periods.size(), 1u);
        EXPECT_EQ(client.statuses, std::vector<int>{1});

        monitor.suspend();
        EXPECT_EQ(timer.periods.back(), 8000u);
        EXPECT_EQ(controller->closes, 1);
        EXPECT_EQ(monitor.is_connected(), 1);

        monitor.set_connected(0);
        monitor.set_connected(0);
        EXPECT_EQ(client.statuses, (std::vector<int>{1, 0}));
        EXPECT_EQ(timer.periods.back(), 1000u);

        std::string error;
        EXPECT_TRUE(monitor.reopen(error));
        EXPECT_EQ(controller->closes, 2);
        EXPECT_EQ(controller->opens, 2);
        EXPECT_TRUE(timer.running);
    }
    EXPECT_FALSE(timer.running);
}

TEST(MonitorLifecycle, LinkTickReopensAndIdentifies) {
    RecordingTimer timer;
    RecordingClient client;
    auto link = std::make_unique<FakeController>();
    FakeController* controller = link.get();
    CTCS_Monitor monitor(std::move(link), &timer);
    monitor.set_document(&client);

    timer.Fire();  // lost link, nobody answers: one identification, no second
    EXPECT_EQ(controller->opens, 2);
    EXPECT_EQ(controller->purges, 2);
    EXPECT_EQ(client.identifyCalls, 1);

    client.identify = [&] {
        std::uint16_t p = 2, h = 1, ma = 3, mi = 3;
        if (!monitor.query_versions(&p, &h, &ma, &mi)) return false;
        monitor.set_connected(1);
        return true;
    };
    timer.Fire();  // found: identified on reopen and checked once more
    EXPECT_EQ(client.identifyCalls, 3);
    EXPECT_EQ(monitor.is_connected(), 1);
    EXPECT_EQ(client.statuses, std::vector<int>{1});

    timer.Fire();  // connected: no reopen, one check
    EXPECT_EQ(controller->opens, 3);
    EXPECT_EQ(client.identifyCalls, 4);
}

TEST(MonitorLifecycle, WorksWithoutTimerOrDocument) {
    CTCS_Monitor monitor(std::make_unique<FakeController>(), nullptr);
    monitor.set_connected(1);
    monitor.set_connected(0);
    monitor.poll();
    EXPECT_FALSE(monitor.is_usb());
    EXPECT_TRUE(monitor.enable_EEPROM_write());

    CTCS_Monitor unlinked(nullptr, nullptr);
    std::string value, error;
    EXPECT_FALSE(unlinked.read_wrt_cmd('f', "2F", value, error));
    EXPECT_EQ(error, "Error in function CTCS_Monitor::read_wrt_cmd: Comm. Send Failed.");
    EXPECT_FALSE(unlinked.reopen(error));
}

}  // namespace
}  // namespace korvath
