// The COM port dialog: the entry texts, the ports it lists (the ports folder's links to
// pseudo-terminals stand in for serial ports), the store and reopen rules, Find Controller
// against korvath-sim on the third of three ports and with no controller at all, and Help.

#include <QAbstractItemView>
#include <QComboBox>
#include <QPushButton>
#include <QShortcut>

#include <gtest/gtest.h>

#include "comm/port_names.h"
#include "comm/serialport.h"
#include "comm/vuz_monitor.h"
#include "core/comm/pty_pair.h"
#include "support/sim_process.h"
#include "platform/settings_keys.h"
#include "dialogs_fixture.h"
#include "support/fake_sysfs.h"
#include "support/recording_host.h"
#include "ui/app/command_table.h"
#include "ui/dialogs/comselectdlg.h"
#include "ui/dialogs/dialog_texts.h"
#include "ui/dialogs/port_listing.h"

namespace korvath::ui {
namespace {

namespace fs = std::filesystem;
using testing::LinkPort;
using testing::MemorySettings;
using testing::RecordingHost;

std::vector<std::string> Texts(const std::vector<PortEntry>& entries) {
    std::vector<std::string> texts;
    for (const auto& e : entries) texts.push_back(e.text);
    return texts;
}

TEST(PortEntries, NoneFirstThenPortsInOrderWithTheirDescriptions) {
    const auto entries = BuildPortEntries({5, 1, 300}, {3, 1, 1}, {"", "Line A (/dev/ttyS0)", "second"});
    EXPECT_EQ(Texts(entries), (std::vector<std::string>{"NONE <will select later>", "COM1 <Line A (/dev/ttyS0)>",
                                                        "COM3 <>", "COM5"}));
    EXPECT_EQ(entries[0].port, 0);
    EXPECT_EQ(entries[1].port, 1);
    EXPECT_EQ(entries[2].port, 3);
    EXPECT_EQ(entries[3].port, 5);
    // A description longer than any fixed buffer stays whole.
    const auto longer = BuildPortEntries({}, {9}, {std::string(600, 'x')});
    EXPECT_EQ(longer[1].text, "COM9 <" + std::string(600, 'x') + ">");
    EXPECT_EQ(Texts(BuildPortEntries({}, {}, {})), (std::vector<std::string>{"NONE <will select later>"}));
}

TEST(PortEntries, DevicesMapToComNumbersByTheFixedRule) {
    EXPECT_EQ(ComNumberForDevice("/dev/ttyS0"), 1);
    EXPECT_EQ(ComNumberForDevice("/dev/ttyS31"), 32);
    EXPECT_EQ(ComNumberForDevice("/dev/ttyUSB0"), 33);
    EXPECT_EQ(ComNumberForDevice("/dev/ttyACM2"), 67);
    EXPECT_EQ(ComNumberForDevice("/dev/ttyS32"), 0);
    EXPECT_EQ(ComNumberForDevice("/dev/ttyUSB01"), 0);
    EXPECT_EQ(ComNumberForDevice("/dev/ttyAMA0"), 0);
    EXPECT_EQ(ComNumberForDevice("/dev/pts/3"), 0);
}

class ComSelectTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::TestApp();
        ports.portsDirectory = dir.path() + "/ports";
        ports.systemPorts = false;
    }
    // The link as the program makes it: the stored COM number, resolved through the ports folder.
    std::unique_ptr<CTCS_Monitor> MakeLink() {
        SerialPortConfig config;
        config.settings = &settings;
        config.portsDirectory = ports.portsDirectory;
        return std::make_unique<CTCS_Monitor>(std::make_unique<CSerialPort>(config, nullptr), nullptr);
    }
    int Stored() { return settings.GetInt(settings::kCommunication, settings::kComPortNumber, -1); }
    void Store(int port) { settings.SetInt(settings::kCommunication, settings::kComPortNumber, port); }
    std::vector<std::string> Entries(CComSelectDlg& dlg) {
        std::vector<std::string> texts;
        for (int i = 0; i < dlg.portList()->count(); ++i) texts.push_back(dlg.portList()->itemText(i).toStdString());
        return texts;
    }
    // The user picks entry index.
    void Choose(CComSelectDlg& dlg, int index) {
        dlg.portList()->setCurrentIndex(index);
        Q_EMIT dlg.portList()->activated(index);
    }

    testing::TempDir dir;
    PortListOptions ports;
    MemorySettings settings;
    RecordingHost messages;
};

TEST_F(ComSelectTest, LinkedPortsAreListedWithTheirDevice) {
    test::PtyPair a, b;
    ASSERT_TRUE(a.ok() && b.ok());
    LinkPort(ports.portsDirectory, 12, b.slave());
    LinkPort(ports.portsDirectory, 2, a.slave());
    LinkPort(ports.portsDirectory, 9, dir.path() + "/gone");    // its device has gone
    LinkPort(ports.portsDirectory, 300, a.slave());             // beyond COM256
    fs::create_symlink(a.slave(), ports.portsDirectory + "/COM07");  // not how COM7 is looked up
    std::vector<int> numbers;
    std::vector<std::string> names;
    ASSERT_TRUE(ListPortsBySetupLibrary(numbers, names, ports));
    CComSelectDlg dlg(nullptr, settings, ports, nullptr, &messages);
    dlg.OnInitDialog();
    EXPECT_EQ(Entries(dlg), (std::vector<std::string>{"NONE <will select later>", "COM2 <" + a.slave() + ">",
                                                      "COM12 <" + b.slave() + ">"}));
    EXPECT_EQ(dlg.PortAt(2), 12);

    // With the system's ports added, a link still stands for its number and every entry has one.
    ports.systemPorts = true;
    ASSERT_TRUE(ListPortsBySetupLibrary(numbers, names, ports));
    ASSERT_EQ(numbers.size(), names.size());
    EXPECT_EQ(std::count(numbers.begin(), numbers.end(), 2), 1);
    for (int n : numbers) {
        EXPECT_GE(n, 1);
        EXPECT_LE(n, kHighestComPort);
    }
}

TEST_F(ComSelectTest, UsbAdaptersAreNamedAndTheChosenOneIsRemembered) {
    testing::FakeSysfs sysfs(dir.File("root"));
    sysfs.AddUsbAdapter("ttyUSB1", "1-2", "0403", "6001", "FTDI", "FT232R USB UART", "A12345");
    ports.systemPorts = true;
    ports.deviceRoot = sysfs.root();
    CComSelectDlg dlg(nullptr, settings, ports, nullptr, &messages);
    dlg.OnInitDialog();
    EXPECT_EQ(Entries(dlg), (std::vector<std::string>{"NONE <will select later>", "COM1 </dev/ttyS0>",
                                                      "COM34 <FTDI FT232R USB UART, serial A12345 (/dev/ttyUSB1)>"}));
    Choose(dlg, 2);
    // The opened list shows the whole entry.
    EXPECT_GE(dlg.portList()->view()->minimumWidth(),
              dlg.portList()->fontMetrics().horizontalAdvance(dlg.portList()->itemText(2)));
    EXPECT_EQ(Stored(), 34);
    EXPECT_EQ(settings.GetString(settings::kCommunication, settings::kComPortAdapter, ""), "A12345");
    // A port without an adapter forgets the one remembered.
    Choose(dlg, 1);
    EXPECT_EQ(settings.GetString(settings::kCommunication, settings::kComPortAdapter, "?"), "");
}

TEST_F(ComSelectTest, AStoredZeroOrAVanishedPortIsReplacedByTheFirstPort) {
    test::PtyPair a, b;
    LinkPort(ports.portsDirectory, 4, a.slave());
    LinkPort(ports.portsDirectory, 6, b.slave());
    auto link = MakeLink();
    for (int stored : {0, 9}) {
        Store(stored);
        CComSelectDlg dlg(link.get(), settings, ports, nullptr, &messages);
        dlg.OnInitDialog();
        EXPECT_EQ(dlg.portList()->currentIndex(), 1) << stored;
        EXPECT_EQ(Stored(), 4) << stored;
        EXPECT_TRUE(messages.messages.empty()) << messages.messages[0].text;
    }
    // A stored port that is there stays chosen.
    Store(6);
    CComSelectDlg dlg(link.get(), settings, ports, nullptr, &messages);
    dlg.OnInitDialog();
    EXPECT_EQ(dlg.SelectedPort(), 6);
    // With no port at all nothing is chosen and 0 stays stored.
    fs::remove_all(ports.portsDirectory);
    Store(0);
    dlg.OnRefresh();
    EXPECT_EQ(dlg.portList()->count(), 1);
    EXPECT_EQ(Stored(), 0);
}

TEST_F(ComSelectTest, AChoiceIsStoredAndReopenedAtOnce) {
    test::PtyPair a;
    auto b = std::make_unique<test::PtyPair>();
    LinkPort(ports.portsDirectory, 3, a.slave());
    LinkPort(ports.portsDirectory, 5, b->slave());
    Store(3);
    auto link = MakeLink();
    CComSelectDlg dlg(link.get(), settings, ports, nullptr, &messages);
    dlg.OnInitDialog();

    Choose(dlg, 0);
    EXPECT_EQ(Stored(), 0);
    EXPECT_TRUE(messages.messages.empty()) << "choosing NONE shows no error";

    Choose(dlg, 2);
    EXPECT_EQ(Stored(), 5);
    EXPECT_TRUE(messages.messages.empty());
    // The link now talks to COM5: what it sends arrives at that pty.
    std::string error;
    link->send_echo('w', error);
    EXPECT_EQ(b->Receive(), "w");

    // The port goes away while listed: choosing it shows why it cannot be opened.
    b.reset();
    Choose(dlg, 2);
    EXPECT_EQ(Stored(), 5);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].caption, "Communication Port Configuration Error");
    EXPECT_EQ(messages.messages[0].text.rfind("Could not open serial port COM5.", 0), 0u) << messages.messages[0].text;
    EXPECT_EQ(messages.messages[0].style & MessageStyle::IconMask, MessageStyle::IconExclamation);
}

TEST_F(ComSelectTest, FirstPortThatCannotBeOpenedIsReported) {
    LinkPort(ports.portsDirectory, 8, "/dev/null");  // exists, but is no terminal
    auto link = MakeLink();
    CComSelectDlg dlg(link.get(), settings, ports, nullptr, &messages);
    dlg.OnInitDialog();
    EXPECT_EQ(Stored(), 8);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].caption, "Communication Port Configuration Error");
}

TEST_F(ComSelectTest, FindControllerFindsTheSimulatorOnTheThirdOfThreePorts) {
    ASSERT_TRUE(fs::exists(test::SimulatorPath())) << "build korvath-sim first";
    test::PtyPair silent1, silent2;
    LinkPort(ports.portsDirectory, 2, silent1.slave());
    LinkPort(ports.portsDirectory, 4, silent2.slave());
    test::SimProcess sim({"--link", ports.portsDirectory + "/COM6"});
    ASSERT_FALSE(sim.pty().empty());
    Store(2);
    auto link = MakeLink();
    CComSelectDlg dlg(link.get(), settings, ports, nullptr, &messages);
    dlg.OnInitDialog();
    ASSERT_EQ(dlg.portList()->count(), 4);

    dlg.OnFindController();
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "Found controller on COM6.");
    EXPECT_EQ(messages.messages[0].caption, "Communication Setup Successful!");
    EXPECT_EQ(messages.messages[0].style & MessageStyle::IconMask, MessageStyle::IconInformation);
    EXPECT_EQ(dlg.portList()->currentIndex(), 3);
    EXPECT_EQ(Stored(), 6);
    // The link stays on the controller.
    std::uint16_t product = 0;
    EXPECT_NE(link->query_versions(&product, nullptr, nullptr, nullptr), 0);
}

TEST_F(ComSelectTest, FindControllerWithoutAControllerRestoresTheChoice) {
    test::PtyPair silent1, silent2, silent3;
    LinkPort(ports.portsDirectory, 2, silent1.slave());
    LinkPort(ports.portsDirectory, 4, silent2.slave());
    LinkPort(ports.portsDirectory, 6, silent3.slave());
    Store(4);
    auto link = MakeLink();
    CComSelectDlg dlg(link.get(), settings, ports, nullptr, &messages);
    dlg.OnInitDialog();
    dlg.OnFindController();
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].caption, "No Controller Found");
    EXPECT_EQ(messages.messages[0].text, "Could not find a controller on any available serial port.");
    EXPECT_EQ(messages.messages[0].style & MessageStyle::IconMask, MessageStyle::IconError);
    EXPECT_EQ(dlg.SelectedPort(), 4);
    EXPECT_EQ(Stored(), 4);
    // Every port was tried: each silent pty saw the version query.
    EXPECT_FALSE(silent1.Receive(50).empty());
    EXPECT_FALSE(silent3.Receive(50).empty());

    // With "none" chosen before, "none" is chosen again.
    messages.messages.clear();
    Choose(dlg, 0);
    dlg.OnFindController();
    EXPECT_EQ(dlg.portList()->currentIndex(), 0);
    EXPECT_EQ(Stored(), 0);
}

TEST_F(ComSelectTest, FindControllerWithoutPortsOrWithoutALink) {
    auto link = MakeLink();
    {
        CComSelectDlg dlg(link.get(), settings, ports, nullptr, &messages);
        dlg.OnInitDialog();
        dlg.OnFindController();
        ASSERT_EQ(messages.messages.size(), 1u);
        EXPECT_EQ(messages.messages[0].caption, "No COM Port Available");
        EXPECT_EQ(messages.messages[0].text,
                  "No serial ports are installed in your PC.  Please install a serial port adapter and try again.");
        EXPECT_EQ(Stored(), 0);
    }
    messages.messages.clear();
    test::PtyPair a;
    LinkPort(ports.portsDirectory, 2, a.slave());
    CComSelectDlg dlg(nullptr, settings, ports, nullptr, &messages);
    dlg.OnInitDialog();
    dlg.OnFindController();
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].caption, "Internal Program Error");
    EXPECT_EQ(messages.messages[0].style & MessageStyle::IconMask, MessageStyle::IconError);
}

TEST_F(ComSelectTest, HelpButtonAndF1ShowTheHelpText) {
    CComSelectDlg dlg(nullptr, settings, ports, nullptr, &messages);
    dlg.findChild<QPushButton*>(QStringLiteral("help"))->click();
    // F1 anywhere in the dialog.
    QShortcut* f1 = nullptr;
    for (QShortcut* s : dlg.findChildren<QShortcut*>()) {
        if (s->key() == QKeySequence(Qt::Key_F1)) f1 = s;
    }
    ASSERT_NE(f1, nullptr);
    EXPECT_EQ(f1->context(), Qt::WidgetWithChildrenShortcut);
    Q_EMIT f1->activated();
    ASSERT_EQ(messages.messages.size(), 2u);
    for (const auto& m : messages.messages) {
        EXPECT_EQ(m.caption, "Help");
        EXPECT_EQ(m.text, dialog_texts::kHelpText);
        EXPECT_EQ(m.style & MessageStyle::IconMask, MessageStyle::IconInformation);
    }
    EXPECT_TRUE(dlg.OnHelp());
    // The way back it names is the menu that really holds the item.
    ASSERT_EQ(FindCommand(cmd::CommunicationSetup)->menu, MenuName::View);
    EXPECT_NE(std::string(dialog_texts::kHelpText).find("\"Communication Setup\" from the \"View\" menu"),
              std::string::npos);
}

}  // namespace
}  // namespace korvath::ui
