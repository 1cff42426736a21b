// The program on its controller link: the first start's windows in order, Read and Write
// Calibration through the menu against the simulated controller (save prompt, retitling,
// transmission choice, progress), the RAM dump, and the mail to technical support through a
// stand-in mail composer on PATH.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProgressBar>
#include <fstream>
#include <sstream>

#include "comm/serialport.h"
#include "calibration/support_mail.h"
#include "document/diagnostics.h"
#include "platform/settings_store.h"
#include "ui/app/command_table.h"
#include "ui/app/controller_commands.h"
#include "ui/commands/document_commands.h"
#include "ui/commands/transreadbackdecoder.h"
#include "ui/commands/commands_fixture.h"
#include "support/sim_process.h"

namespace korvath::testing {
namespace {

namespace cmd = ui::cmd;

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The memory image of a fresh calibration on the demo KV4 definition, with SpeedCal (bytes
// 14-15) set to `speedCal` and the performance switch (byte 18) to `performance`.
std::vector<std::uint8_t> Kv4Image(std::int16_t speedCal, std::uint8_t performance = 0) {
    RecordingHost host;
    MemorySettings settings;
    CQRNDoc doc(DocumentHost{host, host, settings}, kBinDir);
    EXPECT_TRUE(doc.LoadDefinitionFile(kBinDir + "/PID2/3/KV4.def"));
    doc.ReadApplicationID();
    doc.ReadDeclarations(1);
    std::vector<std::uint8_t> image(static_cast<std::size_t>(doc.layout().TotalBlockSize), 0);
    EXPECT_TRUE(doc.ExchangeImage(image.data(), image.size(), 1));
    image[14] = static_cast<std::uint8_t>(speedCal & 0xFF);
    image[15] = static_cast<std::uint8_t>((speedCal >> 8) & 0xFF);
    image[18] = performance;
    return image;
}

void LoadTable(sim::Controller& controller, int table, const std::vector<std::uint8_t>& image) {
    auto& eeprom = controller.Eeprom(table);
    eeprom.fill(0);
    std::copy(image.begin(), image.end(), eeprom.begin());
}

std::int16_t SpeedCal(CQRNDoc& doc) {
    IntVariableRef v = doc.FindIntVariable("SpeedCal");
    return v ? v.get() : -1;
}

// Confirms the transmission list as it opens (its first entry: KV5 shares the KV4's image, so a
// KV4 image always asks); other windows are escaped.
void ConfirmTransmission(QWidget* w, std::size_t) {
    auto* dialog = qobject_cast<ui::CTransReadbackDecoder*>(w);
    if (!dialog) return ModalAnswerer::Escape(w);
    QTimer::singleShot(0, dialog->okButton(), &QPushButton::click);
}
// The same, and writes anyway when the check before a write asks (the test images' curves are
// all zero, so every shift-down curve sits on its shift-up curve).
void ConfirmTransmissionAndWrite(QWidget* w, std::size_t index) {
    if (w->windowTitle() == "Check Calibration:") return ModalAnswerer::Click(w, QMessageBox::Yes);
    ConfirmTransmission(w, index);
}
// Whether the windows seen are the transmission list alone, once per read.
bool OnlyTransmissionLists(const ModalAnswerer& windows, std::size_t reads) {
    if (windows.seen.size() != reads) return false;
    for (const auto& w : windows.seen)
        if (w.title != "Select Current Transmission Type") return false;
    return true;
}

// Chooses Read or Write Calibration as the menu does: the transfer starts once the menu that
// chose it has closed, from the event loop.
void Choose(QAction* transfer) {
    transfer->trigger();
    QApplication::processEvents();
}

bool StartConnected(ui::CQRNApp& app) {
    if (!app.InitInstance({})) return false;
    // The link's poll timer finds the controller within its first tick or two; the menus and
    // the toolbar follow.
    if (!WaitFor([&] { return app.controller().IsConnected(); })) return false;
    app.mainFrame()->UpdateCommandUI();
    return true;
}

TEST(FirstRun, AboutGettingStartedThePortMessageAndThePortDialogBeforeTheMainWindow) {
    ProgramEnv env(/*portChosen=*/false);
    ui::CQRNApp* running = nullptr;
    ModalAnswerer windows([&] { return running && running->mainFrame(); });
    ui::CQRNApp app(env.options);
    running = &app;
    ASSERT_TRUE(app.InitInstance({}));

    ASSERT_EQ(windows.seen.size(), 4u);
    EXPECT_EQ(windows.seen[0].kind, "korvath::ui::CAboutDlg");
    EXPECT_EQ(windows.seen[0].title, "About The Korvath Tuning System");
    EXPECT_EQ(windows.seen[1].kind, "korvath::ui::CStartDlg");
    EXPECT_EQ(windows.seen[1].title, "Getting Started");
    EXPECT_EQ(windows.seen[2].kind, "QMessageBox");
    EXPECT_EQ(windows.seen[2].title, "Select Serial Port");
    EXPECT_TRUE(windows.seen[2].text.startsWith("Since this is the first time that you have run this program"));
    EXPECT_EQ(windows.seen[3].kind, "korvath::ui::CComSelectDlg");
    for (const auto& w : windows.seen) EXPECT_FALSE(w.frameExisted) << w.title.toStdString();
    EXPECT_TRUE(app.mainFrame()->isVisible());
    // The launcher is on the desktop of this home folder.
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(env.home.File("Desktop/The Korvath Tuning System.desktop"))));
    // Escape in the boxes wrote nothing.
    IniSettingsStore settings(env.options.settingsPath);
    EXPECT_EQ(settings.GetInt("AboutBox", "ShowAtStartup", -5), -5);
    EXPECT_EQ(settings.GetInt("StartBox", "ShowAtStartup", -5), -5);
}

TEST(HelpMenu, AboutGettingStartedAndCommunicationSetupOpenTheirWindows) {
    ProgramEnv env;
    ui::CQRNApp app(env.options);
    ModalAnswerer windows;
    ASSERT_TRUE(app.InitInstance({}));
    EXPECT_TRUE(windows.seen.empty());
    // Shown from the menu whatever the start-up setting (0 here) says.
    app.mainFrame()->action(cmd::AppAbout)->trigger();
    app.mainFrame()->action(cmd::GettingStarted)->trigger();
    app.mainFrame()->action(cmd::CommunicationSetup)->trigger();
    ASSERT_EQ(windows.seen.size(), 3u);
    EXPECT_EQ(windows.seen[0].kind, "korvath::ui::CAboutDlg");
    EXPECT_EQ(windows.seen[1].kind, "korvath::ui::CStartDlg");
    EXPECT_EQ(windows.seen[2].kind, "korvath::ui::CComSelectDlg");
}

TEST(Transfer, ReadRetitlesAndTakesTheControllersCalibrationWriteStoresItInTheChosenTable) {
    ProgramEnv env;
    LoadTable(*env.controller, 0, Kv4Image(123));
    ui::CQRNApp app(env.options);
    ModalAnswerer windows({}, ConfirmTransmissionAndWrite);
    ASSERT_TRUE(StartConnected(app));
    CQRNDoc& doc = *app.document();
    ui::CMainFrame& frame = *app.mainFrame();
    frame.UpdateCommandUI();
    ASSERT_TRUE(frame.action(cmd::ReadCalibration)->isEnabled());

    // The transfer's progress reaches the bar in the status bar.
    std::vector<int> progress;
    QObject::connect(frame.progressBar(), &QProgressBar::valueChanged, [&](int v) { progress.push_back(v); });

    Choose(frame.action(cmd::ReadCalibration));
    EXPECT_TRUE(OnlyTransmissionLists(windows, 1));
    EXPECT_EQ(doc.calibration().application.DefinitionFileName, "KV4.def");
    EXPECT_EQ(SpeedCal(doc), 123);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(QFileInfo(app.pathName()).fileName(), "ControllerReadback_Table#1");
    EXPECT_TRUE(QFileInfo(app.pathName()).isAbsolute());
    EXPECT_EQ(frame.windowTitle(), "ControllerReadback_Table#1 - Korvath Tuning System");
    EXPECT_TRUE(app.recentFiles().files().isEmpty());
    EXPECT_FALSE(progress.empty());
    EXPECT_FALSE(frame.progressBar()->isVisible());

    // Write to table #2 what the calibration now holds, with one value changed.
    IntVariableRef speedCal = doc.FindIntVariable("SpeedCal");
    ASSERT_TRUE(speedCal);
    speedCal.set(321);
    frame.action(cmd::SelectTable2)->trigger();
    frame.UpdateCommandUI();
    EXPECT_TRUE(frame.action(cmd::SelectTable2)->isChecked());
    Choose(frame.action(cmd::WriteCalibration));
    ASSERT_EQ(windows.seen.size(), 2u);
    EXPECT_EQ(windows.seen[1].title, "Check Calibration:");
    const auto& table2 = env.controller->Eeprom(1);
    EXPECT_EQ(table2[14] | (table2[15] << 8), 321);
    EXPECT_EQ(table2[0], 0x03);
    EXPECT_EQ(table2[1], 0x02);
    // Table #1 is as it was.
    EXPECT_EQ(env.controller->Eeprom(0)[14], 123);

    // Reading table #2 gives it back and names the document after it.
    speedCal.set(5);
    doc.SetModifiedFlag(false);
    Choose(frame.action(cmd::ReadCalibration));
    EXPECT_EQ(SpeedCal(doc), 321);
    EXPECT_EQ(QFileInfo(app.pathName()).fileName(), "ControllerReadback_Table#2");
}

// Read chosen with the mouse from the File menu, from a controller on a real 9600-baud line:
// the menu has gone before the transfer begins, and while it runs the window keeps painting its
// progress.
TEST(Transfer, ChosenFromTheMenuItRunsAfterTheMenuClosedAndTheWindowPaintsItsProgress) {
    ProgramEnv env;
    const std::string image = env.home.File("kv4.bin");
    {
        const auto bytes = Kv4Image(99);
        std::ofstream(image, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                     static_cast<std::streamsize>(bytes.size()));
    }
    test::SimProcess sim({"--baud", "9600", "--eeprom", image});
    ASSERT_FALSE(sim.pty().empty());
    env.options.transport = [&](SettingsStore& settings, const std::string& path) {
        return std::unique_ptr<ByteTransport>(MakeControllerTransport(settings, path, 0, sim.pty()));
    };
    ui::CQRNApp app(env.options);
    ModalAnswerer windows({}, ConfirmTransmission);
    ASSERT_TRUE(StartConnected(app));
    ui::CMainFrame& frame = *app.mainFrame();
    QProgressBar* progress = frame.progressBar();
    const QRect bar(progress->mapTo(&frame, QPoint(0, 0)), progress->size());
    const QImage before = frame.grab().toImage().copy(bar);

    QMenu* fileMenu = frame.menuBar()->actions().value(0)->menu();
    ASSERT_TRUE(fileMenu);
    fileMenu->popup(frame.mapToGlobal(QPoint(10, 10)));
    ASSERT_TRUE(WaitFor([&] { return fileMenu->isVisible(); }));
    QAction* read = frame.action(cmd::ReadCalibration);
    const QPointF at = fileMenu->actionGeometry(read).center();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent click(type, at, fileMenu->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(fileMenu, &click);
    }

    // A picture of the window from a timer that fires in the middle of the transfer.
    bool menuShown = true;
    QString status;
    QImage during;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (!during.isNull() || !progress->isVisible() || progress->value() == 0) return;
        menuShown = fileMenu->isVisible() || QApplication::activePopupWidget();
        status = app.statusHost().CurrentText();
        during = frame.grab().toImage().copy(bar);
    });
    probe.start(50);
    ASSERT_TRUE(WaitFor([&] { return QFileInfo(app.pathName()).fileName() == "ControllerReadback_Table#1"; }, 120000));
    EXPECT_TRUE(OnlyTransmissionLists(windows, 1)) << windows.seen.front().title.toStdString() << ": "
                                                   << windows.seen.front().text.toStdString();
    EXPECT_EQ(SpeedCal(*app.document()), 99);
    ASSERT_FALSE(during.isNull()) << "the window did not paint during the transfer";
    EXPECT_FALSE(menuShown);
    EXPECT_TRUE(status.startsWith("Reading controller NVM table 1.")) << status.toStdString();
    EXPECT_NE(during, before);
}

TEST(Transfer, AModifiedCalibrationIsOfferedForSavingAndCancelStopsTheRead) {
    ProgramEnv env;
    LoadTable(*env.controller, 0, Kv4Image(77));
    ui::CQRNApp app(env.options);
    ModalAnswerer windows({}, [](QWidget* w, std::size_t) { ModalAnswerer::Click(w, QMessageBox::Cancel); });
    ASSERT_TRUE(StartConnected(app));
    app.document()->SetModifiedFlag(true);
    Choose(app.mainFrame()->action(cmd::ReadCalibration));
    ASSERT_EQ(windows.seen.size(), 1u);
    EXPECT_TRUE(windows.seen[0].text.startsWith("Save changes to Untitled"));
    EXPECT_TRUE(app.pathName().isEmpty());
    EXPECT_NE(SpeedCal(*app.document()), 77);
}

TEST(Transfer, SimilarTransmissionsAreChosenFromASortedListAndCancelKeepsTheDefinition) {
    ProgramEnv env;
    // The performance switch makes the image fit two similar transmissions.
    LoadTable(*env.controller, 0, Kv4Image(88, 1));
    ui::CQRNApp app(env.options);
    QStringList listed;
    bool cancel = false;
    ModalAnswerer windows({}, [&](QWidget* w, std::size_t) {
        auto* dialog = qobject_cast<ui::CTransReadbackDecoder*>(w);
        if (!dialog) return ModalAnswerer::Escape(w);
        listed.clear();
        for (int i = 0; i < dialog->typeList()->count(); ++i) listed << dialog->typeList()->itemText(i);
        if (cancel) return ModalAnswerer::Escape(w);
        dialog->typeList()->setCurrentIndex(2);
        QTimer::singleShot(0, dialog->okButton(), &QPushButton::click);
    });
    ASSERT_TRUE(StartConnected(app));
    CQRNDoc& doc = *app.document();

    Choose(app.mainFrame()->action(cmd::ReadCalibration));
    ASSERT_EQ(windows.seen.size(), 1u);
    EXPECT_EQ(windows.seen[0].title, "Select Current Transmission Type");
    EXPECT_EQ(listed, (QStringList{"KV4 Four-Speed (performance shift program)",
                                   "KV5 Five-Speed (performance shift program)",
                                   "Other four-speed automatic (generic settings)"}));
    EXPECT_EQ(doc.calibration().application.DefinitionFileName, "generic.init");

    // Cancel: the definition stays what it was; the image is still taken.
    cancel = true;
    doc.SetModifiedFlag(false);
    Choose(app.mainFrame()->action(cmd::ReadCalibration));
    ASSERT_EQ(windows.seen.size(), 2u);
    EXPECT_EQ(doc.calibration().application.DefinitionFileName, "generic.init");
}

TEST(Diagnostics, DumpWritesRamDumpAndOpensItInTheViewer) {
    ProgramEnv env;
    for (int a = 0; a < 256; ++a) env.controller->SetRam(static_cast<std::uint16_t>(a), static_cast<std::uint8_t>(a));
    ui::CQRNApp app(env.options);
    ModalAnswerer windows;
    auto* commands = dynamic_cast<ui::DocumentCommands*>(&app.controller());
    ASSERT_NE(commands, nullptr);
    QStringList opened;
    commands->SetFileOpener([&](const QString& path) {
        opened << path;
        return true;
    });
    ASSERT_TRUE(StartConnected(app));
    app.mainFrame()->UpdateCommandUI();
    ASSERT_TRUE(app.mainFrame()->action(cmd::DumpSystemState)->isEnabled());
    app.mainFrame()->action(cmd::DumpSystemState)->trigger();
    const std::string dump = env.program.File("RAMDump.txt");
    EXPECT_EQ(opened, QStringList{QString::fromStdString(dump)});
    EXPECT_NE(ReadText(dump).find("\n0x1 | 10 11 12 13 14 15 16 17 18 19 1a 1b 1c 1d 1e 1f\n"), std::string::npos);
    EXPECT_TRUE(windows.seen.empty());
}

// A mail composer on PATH that records its arguments, whether each attachment existed while it
// ran, and ends with the status in the file "status" beside it.
class MailTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string script = stubs.Write("xdg-email",
                                               "#!/bin/sh\n"
                                               "dir=$(dirname \"$0\")\n"
                                               ": > \"$dir/args\"\n"
                                               "for a in \"$@\"; do printf '%s\\n' \"$a\" >> \"$dir/args\"; done\n"
                                               "for a in \"$@\"; do [ -f \"$a\" ] && printf '%s\\n' \"$a\" >> \"$dir/present\"; done\n"
                                               "exit $(cat \"$dir/status\")\n");
        std::filesystem::permissions(script, std::filesystem::perms::owner_all);
        SetStatus(0);
        path_ = std::make_unique<ScopedEnv>("PATH", stubs.path() + ":/usr/bin:/bin");
    }
    void SetStatus(int status) { stubs.Write("status", std::to_string(status) + "\n"); }
    std::vector<std::string> Lines(const char* name) {
        std::vector<std::string> lines;
        std::istringstream in(ReadText(stubs.File(name)));
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    TempDir stubs;
    std::unique_ptr<ScopedEnv> path_;
};

TEST_F(MailTest, TheComposerGetsSubjectAttachmentsAndTheConfiguredRecipient) {
    ProgramEnv env;
    env.home.Write("korvath.INI",
                   "[Communication Settings]\nCOMPortNumber=9\n[AboutBox]\nShowAtStartup=0\n[StartBox]\nShowAtStartup=0\n"
                   "[Tech Support]\nMailAddress=help@workshop.example\n");
    std::string temporary;
    {
        ui::CQRNApp app(env.options);
        ModalAnswerer windows;
        ASSERT_TRUE(app.InitInstance({}));
        app.mainFrame()->action(cmd::FileSendMail)->trigger();
        EXPECT_TRUE(windows.seen.empty());
        const auto args = Lines("args");
        ASSERT_EQ(args.size(), 7u);
        EXPECT_EQ(args[0], "--subject");
        EXPECT_EQ(args[1], diagnostics::kMailSubject);
        EXPECT_EQ(args[2], "--attach");
        // An untitled calibration goes as a temporary copy named after its title.
        EXPECT_EQ(QFileInfo(QString::fromStdString(args[3])).fileName(), "Untitled.qvr");
        EXPECT_EQ(args[4], "--attach");
        EXPECT_EQ(args[5], env.program.File("RAMDump.txt"));
        EXPECT_EQ(args[6], "help@workshop.example");
        EXPECT_EQ(Lines("present"), (std::vector<std::string>{args[3], args[5]}));
        temporary = args[3];
        // The composer may still be reading it: the copy stays until the program ends.
        EXPECT_TRUE(std::filesystem::exists(temporary));
    }
    EXPECT_FALSE(std::filesystem::exists(temporary));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(temporary).parent_path()));
}

TEST_F(MailTest, ASavedCalibrationIsAttachedItselfToTheMakersMailboxByDefault) {
    ProgramEnv env;
    ui::CQRNApp app(env.options);
    ModalAnswerer windows;
    ASSERT_TRUE(app.InitInstance({}));
    const QString saved = QString::fromStdString(env.home.File("mine.qvr"));
    ASSERT_TRUE(app.DoSave(saved));
    app.mainFrame()->action(cmd::FileSendMail)->trigger();
    const auto args = Lines("args");
    ASSERT_EQ(args.size(), 7u);
    EXPECT_EQ(args[3], saved.toStdString());
    EXPECT_EQ(args[6], diagnostics::kSupportAddress);
    EXPECT_TRUE(QFile::exists(saved));
}

TEST_F(MailTest, MissingOrFailingComposerShowsItsMessageAndDropsTheTemporaryCopy) {
    ProgramEnv env;
    ui::CQRNApp app(env.options);
    ModalAnswerer windows;
    ASSERT_TRUE(app.InitInstance({}));
    const struct {
        int status;
        const char* message;
    } cases[] = {{3, diagnostics::kMailUnavailable}, {1, diagnostics::kMailInvalid}, {4, diagnostics::kMailFailed}};
    for (const auto& c : cases) {
        SetStatus(c.status);
        windows.seen.clear();
        app.mainFrame()->action(cmd::FileSendMail)->trigger();
        ASSERT_TRUE(WaitFor([&] { return !windows.seen.empty(); }, 2000)) << c.status;
        EXPECT_EQ(windows.seen[0].text, c.message) << c.status;
        const std::string temporary = Lines("args").at(3);
        EXPECT_FALSE(std::filesystem::exists(temporary)) << c.status;
    }

    // No composer on PATH at all.
    ScopedEnv noComposer("PATH", env.home.path());
    windows.seen.clear();
    app.mainFrame()->action(cmd::FileSendMail)->trigger();
    ASSERT_TRUE(WaitFor([&] { return !windows.seen.empty(); }, 2000));
    EXPECT_EQ(windows.seen[0].text, diagnostics::kMailUnavailable);
}

}  // namespace
}  // namespace korvath::testing
