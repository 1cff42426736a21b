// The calibration transfer between the document and the simulated controller: whole tables
// written and read back on EEPROM and flash controllers, the packets and burns on the wire, and
// every failure message.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "comm/comm_texts.h"
#include "calibration/calibration_file.h"
#include "document/transfer.h"
#include "platform/message_style.h"
#include "platform/printf_format.h"
#include "transfer_support.h"

namespace korvath {
namespace {

using namespace korvath::testing;
namespace text = transfer_text;

constexpr unsigned kErrorBox = MessageStyle::IconError | MessageStyle::TaskModal;

sim::ControllerConfig Controller(sim::MemoryType memory = sim::MemoryType::Eeprom) {
    sim::ControllerConfig config;
    config.memory = memory;
    config.drive = false;
    return config;
}

class TransferTest : public ::testing::Test {
protected:
    TransferTest() {
        CopyDemoFile(dir, "KV4.def");
        CopyDemoFile(dir, "generic.init");
        CopyDemoFile(dir, "TransReadback.sig");
    }

    void Start(sim::ControllerConfig config) {
        controller = std::make_unique<sim::Controller>(config);
        auto transport = std::make_unique<WireRecorder>(*controller);
        wire = transport.get();
        doc.reset();
        docPtr = nullptr;
        doc = std::make_unique<CQRNDoc>(DocumentHost{host, host, settings}, dir.path(), std::move(transport));
        docPtr = doc.get();
        doc->SetGraph(&graph);
        doc->SetViewHost(&views);
        // The calibration was made for the controller that answers, so identifying it changes nothing.
        SetSimulatorIdentity(*doc);
    }
    // Puts the calibration on a definition of PID2/3, as choosing the transmission does.
    void UseDefinition(const std::string& name, const std::string& transmission) {
        auto& app = doc->calibration().application;
        app.DefinitionFileName = name;
        app.TransmissionType = transmission;
        ASSERT_TRUE(doc->LoadDefinitionFile(dir.File("PID2/3/" + name)));
        doc->ResetVariableTable(0);
        ASSERT_TRUE(doc->ReadDeclarations(1));
        doc->BindGraphicalTuningTraces();
        doc->SetModifiedFlag(false);
        Clear();
    }
    void StartFlash(sim::MemoryType memory, int nvmType, int size, int covered, const std::string& keys = {}) {
        dir.Write("PID2/3/FL.def", FlashDefinition(nvmType, size, covered, keys));
        Start(Controller(memory));
        UseDefinition("FL.def", "Flash Test");
    }
    void Clear() {
        host.messages.clear();
        host.statuses.clear();
        host.progress.clear();
    }
    void AddFault(sim::FaultKind kind, std::uint64_t arg = sim::FaultSpec::kEvery) { controller->AddFault({kind, arg}); }
    // Every variable's value and every point, to see whether a calibration changed.
    // The calibration as a file holds it, without the identification marks that every transfer sets.
    std::string Content() {
        auto& hw = doc->calibration().hardware;
        const auto flag = hw.Get(HardwareField::IdentifiedFlag), since = hw.Get(HardwareField::IdentifiedSinceLoad);
        hw.Set(HardwareField::IdentifiedFlag, 0);
        hw.Set(HardwareField::IdentifiedSinceLoad, 0);
        std::string bytes = CalibrationFileBytes(*doc);
        hw.Set(HardwareField::IdentifiedFlag, flag);
        hw.Set(HardwareField::IdentifiedSinceLoad, since);
        return bytes;
    }
    void ScrambleScalars() {
        auto& table = doc->variables();
        for (int i = 0; i < table.count; ++i) {
            auto& slot = table.slots[static_cast<std::size_t>(i)];
            if (VarType::IsInteger(slot.type) && slot.type != VarType::I32) slot.SetInt16(1);
            if (slot.type == VarType::I32) slot.SetInt32(1);
        }
    }
    std::vector<std::uint8_t> FlashBytes(std::uint32_t address, std::size_t n) const {
        const auto& f = controller->Flash();
        return {f.begin() + address, f.begin() + address + static_cast<std::ptrdiff_t>(n)};
    }
    std::vector<std::uint8_t> RamBytes(std::uint16_t address, std::size_t n) const {
        std::vector<std::uint8_t> out;
        for (std::size_t i = 0; i < n; ++i) out.push_back(controller->Ram(static_cast<std::uint16_t>(address + i)));
        return out;
    }
    void ExpectMessages(const std::vector<std::pair<std::string, std::string>>& expected) {
        ASSERT_EQ(host.messages.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(host.messages[i].caption, expected[i].first) << "message " << i;
            EXPECT_EQ(host.messages[i].text, expected[i].second) << "message " << i;
            EXPECT_EQ(host.messages[i].style, kErrorBox) << "message " << i;
        }
    }

    TempDir dir;
    RecordingHost host;
    MemorySettings settings;
    CGraphEngine graph;
    CQRNDoc* docPtr = nullptr;
    BindingViews views{docPtr};
    std::unique_ptr<sim::Controller> controller;
    WireRecorder* wire = nullptr;
    std::unique_ptr<CQRNDoc> doc;
};

// ------------------------------------------------------------------------------------- EEPROM

TEST_F(TransferTest, EepromTablesWrittenAndReadBack) {
    Start(Controller());
    UseDefinition("KV4.def", "KV4 Four-Speed");
    auto& cal = doc->calibration();
    cal.points[0][3] = 704;  // 1-2 upshift at 44 mph
    doc->SetIntVariable("SpeedCal", 104);
    const auto points = cal.points;
    const auto image = BuildImage(*doc);

    for (int table : {0, 1}) {
        SCOPED_TRACE(table);
        doc->OnSelectTable(table);
        Clear();
        ASSERT_TRUE(doc->TransferCalibration(1));
        EXPECT_TRUE(host.messages.empty());
        EXPECT_TRUE(std::equal(image.begin(), image.end(), controller->Eeprom(table).begin()));
        EXPECT_FALSE(controller->EepromWriteEnabled());
        ASSERT_FALSE(controller->RecordedWrites().empty());
        EXPECT_EQ(controller->RecordedWrites().back().address, 69);
        EXPECT_EQ(controller->RecordedWrites().back().value, table == 0 ? 1 : 0);
        const std::string writing = FormatText(text::kWritingFormat, table + 1);
        const auto first = static_cast<std::size_t>(std::find(host.statuses.begin(), host.statuses.end(), writing) -
                                                    host.statuses.begin());
        ASSERT_GE(host.statuses.size(), first + 27);
        EXPECT_EQ(host.statuses[first + 1], writing + ".");
        EXPECT_EQ(host.statuses[first + 25], writing + std::string(25, '.'));  // at byte 250
        EXPECT_EQ(host.statuses.back(), FormatText(text::kWriteCompleteFormat, table + 1));
        EXPECT_EQ(host.progress.back(), std::make_pair(256u, 256u));
    }
    EXPECT_NE((controller->Eeprom(0)), (std::array<std::uint8_t, 256>{}));

    // Writing the same calibration again stores nothing: each byte costs only its read.
    const auto before = controller->Stats().bytes_received;
    ASSERT_TRUE(doc->TransferCalibration(1));
    EXPECT_LT(controller->Stats().bytes_received - before, 256u * 4);

    for (int table : {0, 1}) {
        SCOPED_TRACE(table);
        doc->OnSelectTable(table);
        cal.points[0].fill(0);
        cal.points[7].fill(0);
        ScrambleScalars();
        doc->SetModifiedFlag(false);
        Clear();
        ASSERT_TRUE(doc->TransferCalibration(0));
        EXPECT_TRUE(host.messages.empty());
        EXPECT_EQ(cal.points, points);
        EXPECT_EQ(BuildImage(*doc), image);
        EXPECT_EQ(cal.application.DefinitionFileName, "KV4.def");  // from the signature file
        EXPECT_TRUE(doc->IsModified());
        EXPECT_EQ(host.statuses.back(), FormatText(text::kReadCompleteFormat, table + 1));
        EXPECT_EQ(host.progress.back(), std::make_pair(256u, 256u));
    }
}

TEST_F(TransferTest, EepromBytesOfZeroOrAllOnesAreReadThreeTimes) {
    Start(Controller());
    UseDefinition("KV4.def", "KV4 Four-Speed");
    const auto image = BuildImage(*doc);
    controller->LoadEeprom(0, image);
    const auto before = controller->Stats().commands.count('e') ? controller->Stats().commands.at('e') : 0;
    ASSERT_TRUE(doc->TransferCalibration(0));
    std::uint64_t expected = 0;
    for (auto b : image) expected += (b == 0x00 || b == 0xFF) ? 3 : 1;
    EXPECT_GT(expected, 256u);
    EXPECT_EQ(controller->Stats().commands.at('e') - before, expected);
    EXPECT_EQ(BuildImage(*doc), image);
}

TEST_F(TransferTest, OnReadCalibrationRetitlesAndMarksTheDocument) {
    Start(Controller());
    UseDefinition("KV4.def", "KV4 Four-Speed");
    controller->LoadEeprom(1, BuildImage(*doc));
    doc->OnSelectTable(1);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->calibration().viewState.SelectedTable(), 1);
    doc->SetModifiedFlag(false);
    bool ok = false;
    EXPECT_EQ(doc->OnReadCalibration("C:\\cals\\truck.qvr", &ok), "C:\\cals\\ControllerReadback_Table#2");
    EXPECT_TRUE(ok);
    EXPECT_TRUE(doc->IsModified());
    doc->OnSelectTable(0);
    EXPECT_EQ(doc->OnReadCalibration("/home/ana/cals/truck.qvr"), "/home/ana/cals/ControllerReadback_Table#1");
    EXPECT_EQ(doc->OnReadCalibration(""), "ControllerReadback_Table#1");

    // No controller: the title changes all the same, the content does not.
    wire->sim().plugged = false;
    const std::string content = Content();
    Clear();
    EXPECT_EQ(doc->OnReadCalibration("C:\\cals\\truck.qvr", &ok), "C:\\cals\\ControllerReadback_Table#1");
    EXPECT_FALSE(ok);
    ExpectMessages({{text::kReadCaption, text::kNoControllerRead}});
    EXPECT_TRUE(Content() == content);
}

TEST_F(TransferTest, NoControllerForWriteOrRead) {
    Start(Controller());
    UseDefinition("KV4.def", "KV4 Four-Speed");
    wire->sim().plugged = false;
    EXPECT_FALSE(doc->TransferCalibration(1));
    EXPECT_FALSE(doc->TransferCalibration(0));
    ExpectMessages({{text::kWriteCaption, text::kNoControllerWrite}, {text::kReadCaption, text::kNoControllerRead}});
}

// The identification takes six characters ('w' and 'v' with their address "00"); the write
// enable eight more ("f44" "09", "n80"); the page select five ("f44" and the page).
TEST_F(TransferTest, EepromFailures) {
    const std::string readWrtCmdNoF =
        std::string(comm_text::kReadWrtCmdPrefix) + "Comm. Readback Error: RX = NULL, expected 'f'.\n";
    {
        SCOPED_TRACE("write enable");
        Start(Controller());
        UseDefinition("KV4.def", "KV4 Four-Speed");
        AddFault(sim::FaultKind::SilentAfter, 6);
        EXPECT_FALSE(doc->TransferCalibration(1));
        // Both tries report the enable; the table write adds no empty box of its own.
        ExpectMessages({{comm_text::kEepromWriteEnableCaption, readWrtCmdNoF},
                        {comm_text::kEepromWriteEnableCaption, readWrtCmdNoF}});
        EXPECT_EQ(doc->monitor()->is_connected(), 0);
        EXPECT_EQ(host.progress.empty() ? std::make_pair(0u, 0u) : host.progress.back(), std::make_pair(0u, 0u));
    }
    {
        SCOPED_TRACE("page select on write");
        Start(Controller());
        UseDefinition("KV4.def", "KV4 Four-Speed");
        AddFault(sim::FaultKind::SilentAfter, 14);
        EXPECT_FALSE(doc->TransferCalibration(1));
        ASSERT_GE(host.messages.size(), 2u);
        EXPECT_EQ(host.messages[0].caption, text::kPageSelectCaption);
        EXPECT_EQ(host.messages[0].text, readWrtCmdNoF);
        EXPECT_EQ(host.messages.back().caption, text::kByteWriteCaption);
    }
    {
        SCOPED_TRACE("page select on read");
        Start(Controller());
        UseDefinition("KV4.def", "KV4 Four-Speed");
        const std::string content = Content();
        AddFault(sim::FaultKind::SilentAfter, 6);
        EXPECT_FALSE(doc->TransferCalibration(0));
        ExpectMessages({{text::kPageSelectCaption, readWrtCmdNoF}});
        EXPECT_TRUE(Content() == content);
    }
    {
        SCOPED_TRACE("byte read");
        Start(Controller());
        UseDefinition("KV4.def", "KV4 Four-Speed");
        controller->LoadEeprom(0, std::vector<std::uint8_t>(256, 0x5A));
        const std::string content = Content();
        AddFault(sim::FaultKind::SilentAfter, 6 + 5 + 3 * 40);  // quiet after 40 bytes were read
        EXPECT_FALSE(doc->TransferCalibration(0));
        ExpectMessages({{text::kByteReadCaption,
                         std::string(comm_text::kReadNvmPrefix) + "Comm. Readback Error: RX = NULL, expected 'e'.\n"}});
        EXPECT_TRUE(Content() == content);
        EXPECT_EQ(host.statuses.back(), "Controller Disconnected");
        EXPECT_EQ(host.progress.back(), std::make_pair(0u, 0u));
    }
    {
        SCOPED_TRACE("byte write that does not hold");
        // Lower-case digits never compare equal to what was written: byte 3 of the KV4 image
        // (0x4B) fails its verification three times on each of the four tries.
        Start(Controller());
        UseDefinition("KV4.def", "KV4 Four-Speed");
        AddFault(sim::FaultKind::LowercaseHex);
        EXPECT_FALSE(doc->TransferCalibration(1));
        ExpectMessages({{text::kByteWriteCaption, "4b"}});
        EXPECT_EQ(doc->monitor()->is_connected(), 1);
    }
    {
        SCOPED_TRACE("byte write on a link that dies");
        Start(Controller());
        UseDefinition("KV4.def", "KV4 Four-Speed");
        AddFault(sim::FaultKind::SilentAfter, 6 + 8 + 5 + 30);
        EXPECT_FALSE(doc->TransferCalibration(1));
        ASSERT_FALSE(host.messages.empty());
        // The reason of the failed exchange, not the bare prefix of the retry refused at once.
        EXPECT_EQ(host.messages.back().caption, text::kByteWriteCaption);
        EXPECT_NE(host.messages.back().text.find("Comm. Readback Error"), std::string::npos);
    }
    for (sim::FaultKind fault : {sim::FaultKind::DropByte, sim::FaultKind::NoConfirm}) {
        SCOPED_TRACE("byte write on a line that loses one character once");
        // The second try of the table finds the link marked lost and is refused at once: the
        // message keeps the first try's reason.
        Start(Controller());
        UseDefinition("KV4.def", "KV4 Four-Speed");
        AddFault(fault, fault == sim::FaultKind::DropByte ? 300 : 1);
        EXPECT_FALSE(doc->TransferCalibration(1));
        ASSERT_FALSE(host.messages.empty());
        EXPECT_EQ(host.messages.back().caption, text::kByteWriteCaption);
        EXPECT_NE(host.messages.back().text, comm_text::kTestAndWritePrefix);
        EXPECT_EQ(host.messages.back().text.rfind(comm_text::kTestAndWritePrefix, 0), 0u);
    }
}

TEST_F(TransferTest, UntransferableDefinitionsAreRefusedBeforeTheControllerIsTouched) {
    struct Case {
        std::string definition;
        std::string expected;
    };
    const std::string eeprom300 = FlashDefinition(0, 300, 0);
    const std::vector<Case> cases{
        {eeprom300, FormatText(text::kEepromImageTooLargeFormat, 300)},
        {FlashDefinition(1, 1000, 0, "$FlashBlockSize 0\n"), text::kZeroFlashBlockSize},
        {FlashDefinition(1, 1000, 0, "$CalBufferSize 640\n"), FormatText(text::kBadCalBufferSizeFormat, 640u, 64u)},
        {FlashDefinition(1, 1000, 0, "$CalBufferSize 512\n$FlashBlockSize 96\n"),
         FormatText(text::kBadCalBufferSizeFormat, 512u, 96u)},
        {FlashDefinition(1, 1000, 0, "$CalBufferSize 0\n"), FormatText(text::kBadCalBufferSizeFormat, 0u, 64u)},
        {FlashDefinition(1, 1000, 0, "$CalBufferStart 0xF00\n"), FormatText(text::kBufferOutOfRangeFormat, 0xF00u, 0x10FFu, 0xFFFu)},
        {FlashDefinition(1, 1000, 0, "$CalNVMStart 0x3FF00\n"), FormatText(text::kFlashBlocksOutOfRangeFormat, 1, 0x100Bu)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        dir.Write("PID2/3/X.def", c.definition);
        Start(Controller(sim::MemoryType::Flash));
        UseDefinition("X.def", "X");
        const std::string content = Content();
        EXPECT_FALSE(doc->TransferCalibration(1));
        EXPECT_FALSE(doc->TransferCalibration(0));
        ExpectMessages({{text::kWriteCaption, c.expected}, {text::kReadCaption, c.expected}});
        EXPECT_EQ(controller->Stats().bytes_received, 0u);
        EXPECT_TRUE(Content() == content);
    }
}

// The signature file may name a definition that is missing or that cannot take the image; the
// calibration then stays on the definition it had, and an image that fits nothing changes nothing.
TEST_F(TransferTest, ReadbackDefinitionsThatCannotBeUsed) {
    const std::string eepromKeys =
        "[ApplicationID]\nLogicalName B\nTransmissionType B\n[Declarations]\n$TotalBlockSize 256\n"
        "$DynamicBlockSize 16\n$NumDynamicTableCells 2\n$NumDynamicTableEntries 1\n$DynamicBlockStart 128\n"
        "$DynamicBlockLayout 0\n$StaticBlockSize 128\n$StaticBlockStart 0\n";
    dir.Write("PID2/3/NoType.def", eepromKeys + "$DynamicInterpolation 1\n");  // no $NVMType
    // Tables without a step between their points cannot be exchanged.
    dir.Write("PID2/3/Bad.def", eepromKeys + "$DynamicInterpolation 0\n$NVMType 0\nT0 T8 10:0 NVM:2:0x00:1\n");
    Start(Controller());
    UseDefinition("KV4.def", "KV4 Four-Speed");
    const auto image = BuildImage(*doc);
    controller->LoadEeprom(0, image);
    const std::string definitionText = doc->reader().text();
    for (const char* name : {"Missing.def", "NoType.def", "Bad.def"}) {
        SCOPED_TRACE(name);
        dir.Write("PID2/3/TransReadback.sig", std::string("@0:0x03:0xFF = ") + name + "\n");
        const std::string content = Content();
        Clear();
        const bool missing = std::string(name) == "Missing.def";
        EXPECT_EQ(doc->TransferCalibration(0), missing);
        if (missing) {
            EXPECT_TRUE(host.messages.empty());
        } else {
            ExpectMessages({{text::kReadCaption, text::kImageNotTaken}});
            EXPECT_TRUE(Content() == content);
        }
        EXPECT_EQ(doc->calibration().application.DefinitionFileName, "KV4.def");
        EXPECT_EQ(doc->reader().text(), definitionText);
        EXPECT_EQ(BuildImage(*doc), image);
        EXPECT_EQ(doc->monitor()->ram_mode(), 0);
    }
    // A calibration without definition text whose own definition is gone cannot convert the
    // curves it would read: it is left as it was rather than holding zeros.
    dir.Write("PID2/3/TransReadback.sig", "@0:0x55:0xFF = Missing.def\n");
    doc->reader().Clear();
    doc->calibration().application.DefinitionFileName = "Gone.def";
    const std::string content = Content();
    Clear();
    EXPECT_FALSE(doc->TransferCalibration(0));
    ExpectMessages({{text::kReadCaption, FormatText(text::kNoCurveConversionsFormat, "Gone.def")}});
    EXPECT_TRUE(Content() == content);

    // Writing a calibration whose image cannot be built is refused.
    UseDefinition("Bad.def", "B");
    const auto before = controller->Stats().bytes_received;
    EXPECT_FALSE(doc->TransferCalibration(1));
    ExpectMessages({{text::kWriteCaption, text::kImageNotBuilt}});
    EXPECT_EQ(controller->Stats().bytes_received - before, 6u);  // the identification only
}

// -------------------------------------------------------------------------------------- flash

// 1000 bytes with the defaults: packets at image offsets 0, 256, 512 and 768 into RAM 0x100,
// 0x200, 0x100, 0x200; a burn of 8 blocks after the second packet and one of (232 + 256) / 64
// = 7, plus one for the rest, after the fourth.
TEST_F(TransferTest, FlashTableOfAThousandBytes) {
    StartFlash(sim::MemoryType::Flash, 1, 1000, 1000);
    const auto image = BuildImage(*doc);
    ASSERT_NE(std::count(image.begin(), image.end(), 0x77), 0);
    ASSERT_NE(std::count(image.begin(), image.end(), 0xFE), 0);
    ASSERT_NE(std::count(image.begin(), image.end(), 0x00), 0);

    ASSERT_TRUE(doc->TransferCalibration(1));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(wire->CallsStartingWith("u", 6), (std::vector<std::string>{"u100FF", "u200FF", "u100FF", "u200E7"}));
    EXPECT_EQ(wire->CallsStartingWith("b", 6), (std::vector<std::string>{"b1C00", "b1C80"}));
    EXPECT_EQ(controller->Stats().packets_up, 4u);
    EXPECT_EQ(controller->Stats().burns, 2u);
    EXPECT_EQ(controller->Stats().packets_rejected, 0u);
    // The blocks 448 to 463 hold the image, the last one with what was left in the buffer.
    EXPECT_EQ(FlashBytes(0x7000, 1000), image);
    EXPECT_EQ(FlashBytes(0x7000 + 1000, 24), std::vector<std::uint8_t>(image.begin() + 488, image.begin() + 512));
    EXPECT_EQ(FlashBytes(0x7400, 1024), std::vector<std::uint8_t>(1024, 0xFF));  // table #2 untouched
    EXPECT_EQ(controller->RecordedWrites().back().address, 69);
    EXPECT_EQ(controller->RecordedWrites().back().value, 1);
    // A serial link gets a packet in pieces of 250 bytes, each after the echo of the last.
    for (const auto& w : wire->writes) EXPECT_LE(w.size(), 250u);
    const std::string writing = FormatText(text::kWritingFormat, 1);
    const auto first = static_cast<std::size_t>(std::find(host.statuses.begin(), host.statuses.end(), writing) -
                                                host.statuses.begin());
    ASSERT_GE(host.statuses.size(), first + 51);
    EXPECT_EQ(host.statuses[first + 49], writing + std::string(49, '.'));  // image byte 980
    EXPECT_EQ(host.statuses.back(), FormatText(text::kWriteCompleteFormat, 1));
    EXPECT_EQ(host.progress[49], std::make_pair(980u, 1000u));
    EXPECT_EQ(host.progress.back(), std::make_pair(1000u, 1000u));

    ScrambleScalars();
    wire->writes.clear();
    Clear();
    ASSERT_TRUE(doc->TransferCalibration(0));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(BuildImage(*doc), image);
    EXPECT_EQ(wire->CallsStartingWith("r", 6), (std::vector<std::string>{"r1C007", "r1C807"}));
    EXPECT_EQ(wire->CallsStartingWith("d", 6), (std::vector<std::string>{"d100FF", "d200FF", "d100FF", "d200E7"}));
    EXPECT_EQ(controller->Stats().packets_down, 4u);
    EXPECT_EQ(controller->Stats().loads, 2u);
    EXPECT_EQ(host.statuses.back(), FormatText(text::kReadCompleteFormat, 1));
}

TEST_F(TransferTest, FlashTableTwoStartsOnePageLater) {
    StartFlash(sim::MemoryType::Flash, 1, 300, 300);
    const auto image = BuildImage(*doc);
    doc->OnSelectTable(1);
    ASSERT_TRUE(doc->TransferCalibration(1));
    // 0x7000 / 64 + 1024 / 64 = 464; 300 bytes fill five blocks.
    EXPECT_EQ(wire->CallsStartingWith("b", 6), (std::vector<std::string>{"b1D00"}));
    EXPECT_EQ(std::find(wire->writes.begin(), wire->writes.end(), "4") - std::find(wire->writes.begin(), wire->writes.end(), "b1D00"), 1);
    EXPECT_EQ(FlashBytes(0x7400, 300), image);
    EXPECT_EQ(controller->RecordedWrites().back().value, 0);
    ScrambleScalars();
    ASSERT_TRUE(doc->TransferCalibration(0));
    EXPECT_EQ(BuildImage(*doc), image);
}

// Memory type 2: four address digits, whole packets on the serial link, an image that starts
// erased (0xFF), and RAM 0x1045 told that a table was written.
TEST_F(TransferTest, FlashWithFourDigitAddresses) {
    StartFlash(sim::MemoryType::Flash2, 2, 1000, 500);
    const auto image = BuildImage(*doc);
    EXPECT_EQ(image[999], 0xFF);
    ASSERT_TRUE(doc->TransferCalibration(1));
    EXPECT_EQ(wire->CallsStartingWith("u", 7),
              (std::vector<std::string>{"u0100FF", "u0200FF", "u0100FF", "u0200E7"}));
    EXPECT_GT(wire->CallsStartingWith("u0100FF", 7).size(), 0u);
    for (const auto& w : wire->writes)
        if (w.rfind("u0100FF", 0) == 0) {
            EXPECT_GT(w.size(), 256u);  // one piece
        }
    EXPECT_EQ(RamBytes(0x200, 232), std::vector<std::uint8_t>(232, 0xFF));
    EXPECT_EQ(FlashBytes(0x7000, 1000), image);
    ASSERT_FALSE(controller->RecordedWrites().empty());
    EXPECT_EQ(controller->RecordedWrites().back().address, 0x1045);
    EXPECT_EQ(controller->RecordedWrites().back().value, 0x40);
    ScrambleScalars();
    ASSERT_TRUE(doc->TransferCalibration(0));
    EXPECT_EQ(BuildImage(*doc), image);
}

TEST_F(TransferTest, FlashWriteFailures) {
    {
        SCOPED_TRACE("refused packets");
        StartFlash(sim::MemoryType::Flash, 1, 1000, 1000);
        AddFault(sim::FaultKind::BadChecksum);
        EXPECT_FALSE(doc->TransferCalibration(1));
        ExpectMessages({{text::kFlashMemoryWriteCaption, text::kMalformedPacket},
                        {text::kFlashMemoryWriteCaption, text::kMalformedPacket},
                        {text::kFlashWriteCaption, text::kMalformedPacket}});
        EXPECT_EQ(controller->Stats().packets_rejected, 4u);  // two tries of the table, two of the packet
        EXPECT_EQ(doc->monitor()->is_connected(), 0);
    }
    {
        SCOPED_TRACE("silence after the identification");
        StartFlash(sim::MemoryType::Flash, 1, 1000, 1000);
        AddFault(sim::FaultKind::SilentAfter, 6);
        EXPECT_FALSE(doc->TransferCalibration(1));
        ExpectMessages({{text::kFlashMemoryWriteCaption, text::kWriteTimeout},
                        {text::kFlashMemoryWriteCaption, text::kWriteTimeout},
                        {text::kFlashWriteCaption, text::kWriteTimeout}});
    }
    {
        SCOPED_TRACE("burn verification");
        StartFlash(sim::MemoryType::Flash, 1, 1000, 1000);
        AddFault(sim::FaultKind::BurnFail, 450);
        EXPECT_FALSE(doc->TransferCalibration(1));
        const std::string failed = "Flash memory write verification failed at address 0x007080";
        ExpectMessages({{text::kFlashMemoryWriteCaption, failed},
                        {text::kFlashMemoryWriteCaption, failed},
                        {text::kFlashWriteCaption, failed}});
        EXPECT_EQ(controller->Stats().burns_failed, 4u);
        EXPECT_EQ(controller->Stats().aborts, 4u);  // each failed burn is abandoned with a lone end marker
    }
    {
        SCOPED_TRACE("burn command without echo");
        // Where the first burn command starts on the wire, from a transfer to a twin controller.
        StartFlash(sim::MemoryType::Flash, 1, 1000, 1000);
        ASSERT_TRUE(doc->TransferCalibration(1));
        const std::size_t beforeBurn = wire->BytesBefore("b1C00");
        StartFlash(sim::MemoryType::Flash, 1, 1000, 1000);
        AddFault(sim::FaultKind::SilentAfter, beforeBurn);
        EXPECT_FALSE(doc->TransferCalibration(1));
        ExpectMessages({{text::kFlashMemoryWriteCaption, "Could not invoke flash memory write due to communication error."},
                        {text::kFlashMemoryWriteCaption, text::kWriteTimeout},
                        {text::kFlashWriteCaption, text::kWriteTimeout}});
    }
}

TEST_F(TransferTest, FlashReadFailuresLeaveTheCalibrationAsItWas) {
    {
        SCOPED_TRACE("load refused");
        // The controller's flash ends at 0x10000: a table at 0x3F000 cannot be loaded.
        StartFlash(sim::MemoryType::Flash, 1, 1000, 1000, "$CalNVMStart 0x3F000\n");
        const std::string content = Content();
        EXPECT_FALSE(doc->TransferCalibration(0));
        ExpectMessages({{text::kFlashMemoryReadCaption, "Could not read flash memory due to a communication error."}});
        EXPECT_EQ(controller->Stats().loads_failed, 2u);
        EXPECT_TRUE(Content() == content);
        EXPECT_EQ(doc->monitor()->is_connected(), 0);
    }
    {
        SCOPED_TRACE("bad checksum");
        StartFlash(sim::MemoryType::Flash, 1, 1000, 1000);
        controller->LoadFlashTable(0, std::vector<std::uint8_t>(1000, 0x42));
        const std::string content = Content();
        AddFault(sim::FaultKind::BadChecksum);
        EXPECT_FALSE(doc->TransferCalibration(0));
        ExpectMessages({{text::kFlashMemoryReadCaption, text::kReadCommunicationError}});
        EXPECT_TRUE(Content() == content);
        EXPECT_EQ(host.progress.back(), std::make_pair(0u, 0u));
    }
    {
        SCOPED_TRACE("silence in the second packet");
        StartFlash(sim::MemoryType::Flash, 1, 1000, 1000);
        const std::string content = Content();
        AddFault(sim::FaultKind::SilentAfter, 6 + 6 + 6 + 3);  // identify, load, first header, 3 more
        EXPECT_FALSE(doc->TransferCalibration(0));
        ExpectMessages({{text::kFlashMemoryReadCaption, text::kReadCommunicationError}});
        EXPECT_TRUE(Content() == content);
    }
}

}  // namespace
}  // namespace korvath
