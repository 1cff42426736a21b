// The controller's byte commands, checked byte by byte as the tool sees them on the wire.

#include <gtest/gtest.h>

#include "sim_wire.h"

namespace korvath::sim {
namespace {

using test::Send;

ControllerConfig Still(MemoryType memory = MemoryType::Eeprom) {
    ControllerConfig c;
    c.memory = memory;
    c.drive = false;
    return c;
}

void EnableWrites(Controller& c) {
    // RAM 68 = 9, then the control command at 80 (two-digit RAM addresses on an EEPROM controller).
    ASSERT_EQ(Send(c, "f44"), "f4400");
    ASSERT_EQ(Send(c, "09"), "09");
    ASSERT_EQ(Send(c, "n80"), "n8001");
}

TEST(MonitorCommands, EepromReadOfAddress3AEchoesEachCharacterThenAnswersTwoDigits) {
    Controller c(Still());
    c.Eeprom(0)[0x3A] = 0x5C;
    EXPECT_EQ(Send(c, "e"), "e");
    EXPECT_EQ(Send(c, "3"), "3");
    EXPECT_EQ(Send(c, "A"), "A5C");
    // A new command letter instead of value digits: nothing is stored.
    EXPECT_EQ(Send(c, "i3A"), "i3A5C");
    EXPECT_EQ(c.Eeprom(0)[0x3A], 0x5C);
}

TEST(MonitorCommands, EepromWritesNeedTheEnableSequenceAndAreConfirmedEitherWay) {
    Controller c(Still());
    c.Eeprom(0)[0x3A] = 0x5C;
    // Disabled: echoed and confirmed, but ignored, so a read-back shows the old value.
    EXPECT_EQ(Send(c, "e3A7F"), "e3A5C7Fc");
    EXPECT_EQ(Send(c, "e3A"), "e3A5C");
    EXPECT_EQ(c.Stats().eeprom_writes_ignored, 1u);

    EnableWrites(c);
    EXPECT_TRUE(c.EepromWriteEnabled());
    EXPECT_EQ(Send(c, "f4400"), "f440900");  // select table #1
    EXPECT_EQ(Send(c, "e3A7F"), "e3A5C7Fc");
    EXPECT_EQ(Send(c, "e3A"), "e3A7F");
    EXPECT_EQ(c.Eeprom(0)[0x3A], 0x7F);

    // Table #2 through RAM 68 = 1.
    EXPECT_EQ(Send(c, "f4401"), "f440001");
    EXPECT_EQ(c.EepromPage(), 1);
    EXPECT_EQ(Send(c, "e3A"), "e3AFF");
    EXPECT_EQ(Send(c, "i3AA5"), "i3AFFA5c");
    EXPECT_EQ(c.Eeprom(1)[0x3A], 0xA5);
    EXPECT_EQ(c.Eeprom(0)[0x3A], 0x7F);

    // RAM 68 = 8, then the control command at 00 disables writing again.
    EXPECT_EQ(Send(c, "f4408"), "f440108");
    EXPECT_EQ(Send(c, "n00"), "n0000");
    EXPECT_FALSE(c.EepromWriteEnabled());
    EXPECT_EQ(Send(c, "f4401e3A11"), "f440801e3AA511c");
    EXPECT_EQ(c.Eeprom(1)[0x3A], 0xA5);
}

TEST(MonitorCommands, ControlCommandWithoutTheCodeInRam68ChangesNothing) {
    Controller c(Still());
    EXPECT_EQ(Send(c, "n80"), "n8000");
    EXPECT_FALSE(c.EepromWriteEnabled());
    EXPECT_EQ(Send(c, "f4409n00"), "f440009n0000");  // the enable code with the disable address
    EXPECT_FALSE(c.EepromWriteEnabled());
}

TEST(MonitorCommands, RamAddressWidthFollowsTheMemoryType) {
    {
        Controller c(Still(MemoryType::Eeprom));
        c.SetRam(0x2F, 0x03);
        EXPECT_EQ(Send(c, "f2F"), "f2F03");
    }
    {
        Controller c(Still(MemoryType::Flash));
        c.SetRam(0x12F, 0xC4);
        EXPECT_EQ(Send(c, "f12F"), "f12FC4");
        EXPECT_EQ(Send(c, "n080"), "n08000");
    }
    {
        Controller c(Still(MemoryType::Flash2));
        c.SetRam(0x1045, 0x3E);
        // The tool sends 'f', '1', then "045" in one write; the value follows the last echo.
        EXPECT_EQ(Send(c, "f"), "f");
        EXPECT_EQ(Send(c, "1"), "1");
        EXPECT_EQ(Send(c, "045"), "0453E");
        // Two value digits are stored with no 'c' for a RAM byte, and the write is recorded.
        EXPECT_EQ(Send(c, "4"), "4");
        EXPECT_EQ(Send(c, "0"), "0");
        EXPECT_EQ(c.Ram(0x1045), 0x40);
        ASSERT_EQ(c.RecordedWrites().size(), 1u);
        EXPECT_EQ(c.RecordedWrites()[0].address, 0x1045);
        EXPECT_EQ(c.RecordedWrites()[0].value, 0x40);
    }
}

TEST(MonitorCommands, TableWrittenMarkerAtRam69IsRecorded) {
    Controller c(Still());
    EXPECT_EQ(Send(c, "f4501"), "f450001");
    EXPECT_EQ(Send(c, "f4500"), "f450100");
    ASSERT_EQ(c.RecordedWrites().size(), 2u);
    EXPECT_EQ(c.RecordedWrites()[1].address, 69);
    EXPECT_EQ(c.RecordedWrites()[1].value, 0);
}

TEST(MonitorCommands, VersionQueriesAnswerConfiguredDigits) {
    Controller standard(Still());
    EXPECT_EQ(Send(standard, "w00"), "w0033");
    EXPECT_EQ(Send(standard, "v00"), "v0021");

    ControllerConfig config = Still();
    config.product_id = 3;
    config.hardware_version = 2;
    config.firmware_major = 4;
    config.firmware_minor = 0;
    Controller other(config);
    EXPECT_EQ(Send(other, "w00v00"), "w0040v0032");
}

TEST(MonitorCommands, LongAddressedBytesTakeThreeDigitsAndConfirm) {
    Controller c(Still());
    EXPECT_EQ(Send(c, "l123"), "l123FF");
    EXPECT_EQ(Send(c, "l1230A"), "l123FF0Ac");
    EXPECT_EQ(c.Nvm()[0x123], 0x0A);
    EXPECT_EQ(Send(c, "lFFF"), "lFFFFF");
}

TEST(MonitorCommands, LineNoiseIsIgnoredAndAnInterruptedCommandGivesWayToTheNextLetter) {
    Controller c(Still());
    c.Eeprom(0)[0x10] = 0x42;
    EXPECT_EQ(Send(c, "\r\n zZ"), "");
    // 'e' then one digit, then a new command: the half address is dropped.
    EXPECT_EQ(Send(c, "e1e10"), "e1e1042");
    // A lower-case digit is not an address digit.
    EXPECT_EQ(Send(c, "e1a"), "e1");
    EXPECT_EQ(Send(c, "e10"), "e1042");
}

TEST(MonitorCommands, ZeroBytesReceivedAreNeitherCommandsNorEchoed) {
    Controller c(Still());
    c.Receive(test::Bytes({0x00, 'e', '0', '0', 0x00}));
    EXPECT_EQ(c.TakeOutputText(), "e00FF");
}

}  // namespace
}  // namespace korvath::sim
