// The application object: start-up, the single instance, the command line, the document's file
// commands with their save prompts, the window title, bar positions and printing.

#include <gtest/gtest.h>

#include <QDockWidget>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMimeData>
#include <QUrl>
#include <QDropEvent>
#include <QRegularExpression>
#include <QScreen>
#include <cstring>
#include <filesystem>

#include "platform/settings_keys.h"
#include "platform/settings_store.h"
#include "ui/app/app_fixture.h"
#include "ui/app/command_table.h"
#include "support/run_command.h"
#include "ui/app/control_bar.h"
#include "ui/app/program_info.h"
#include "ui/app/single_instance.h"
#include "ui/graph/qtcolor.h"

namespace korvath::testing {
namespace {

using ui::CQRNApp;
using ui::ShellCommand;
namespace cmd = ui::cmd;

// The boxes and dialogs of the start-up sequence among the calls to the shell windows.
std::vector<std::string> StartupCalls(const CountingShell& shell) {
    std::vector<std::string> calls;
    for (const auto& c : shell.calls)
        if (c == "about" || c == "start" || c == "com") calls.push_back(c);
    return calls;
}

TEST(CommandLine, NewOpenAndPrintRequests) {
    EXPECT_EQ(ui::ParseCommandLine({}).kind, ShellCommand::Kind::FileNew);
    auto c = ui::ParseCommandLine({"/home/x/cal.qvr"});
    EXPECT_EQ(c.kind, ShellCommand::Kind::FileOpen);
    EXPECT_EQ(c.file, "/home/x/cal.qvr");
    c = ui::ParseCommandLine({"/p", "cal.qvr"});
    EXPECT_EQ(c.kind, ShellCommand::Kind::FilePrint);
    EXPECT_EQ(c.file, "cal.qvr");
    c = ui::ParseCommandLine({"/pt", "cal.qvr", "out.pdf", "driver", "port"});
    EXPECT_EQ(c.kind, ShellCommand::Kind::FilePrintTo);
    EXPECT_EQ(c.printer, "out.pdf");
    c = ui::ParseCommandLine({"--print-to", "out.pdf", "cal.qvr"});
    EXPECT_EQ(c.file, "cal.qvr");
    EXPECT_EQ(c.printer, "out.pdf");
    EXPECT_EQ(ui::ParseCommandLine({"--print"}).kind, ShellCommand::Kind::Invalid);
    EXPECT_EQ(ui::ParseCommandLine({"a.qvr", "b.qvr"}).kind, ShellCommand::Kind::Invalid);
}

TEST(CommandLine, HelpAndVersionAreAnsweredWithoutAWindow) {
    EXPECT_EQ(ui::VersionText("korvath", 'c'), "korvath 3.31c\n");
    EXPECT_EQ(ui::VersionText("korvath", '\n'), "korvath 3.31\n");
    EXPECT_EQ(ui::ProgramInfoRequestOf({"--help", "x"}), ui::ProgramInfoRequest::None);

    // The program itself, with no display to open.
    TempDir home;
    const auto version = RunProgram("korvath", "--version", home);
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "korvath 3.31\n");
    const auto help = RunProgram("korvath", "-h", home);
    EXPECT_EQ(help.exitCode, 0);
    for (const char* form : {"Usage: korvath [FILE]\n", "korvath /p FILE\n", "korvath /pt FILE PRINTER [DRIVER PORT]\n",
                             "korvath --print-to PRINTER FILE\n", "--version"})
        EXPECT_NE(help.out.find(form), std::string::npos) << form;
}

TEST(Startup, FirstRunShowsTheBoxesThePortMessageAndTheDialogInOrder) {
    ShellHome env(/*portChosen=*/false);
    TestShellApp app(env.options);
    BoxAnswerer boxes;
    ASSERT_TRUE(app.InitInstance({}));
    EXPECT_EQ(StartupCalls(env.shell), (std::vector<std::string>{"about", "start", "com"}));
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].caption, "Select Serial Port");
    EXPECT_TRUE(boxes.seen[0].text.startsWith("Since this is the first time that you have run this program"));
    // The boxes came before the main window: it has no owner for them yet.
    EXPECT_TRUE(app.mainFrame()->isVisible());
}

TEST(Startup, OnlyExactlyOneShowsAStartupBox) {
    ShellHome env;
    env.home.Write("korvath.INI",
                   "[Communication Settings]\nCOMPortNumber=3\n[AboutBox]\nShowAtStartup=0\n[StartBox]\nShowAtStartup=2\n");
    TestShellApp app(env.options);
    BoxAnswerer boxes;
    ASSERT_TRUE(app.InitInstance({}));
    EXPECT_TRUE(StartupCalls(env.shell).empty());
    EXPECT_TRUE(boxes.seen.empty());
}

TEST(Startup, TheStartupNewRunsNoWizardTheNextNewDoes) {
    ShellHome env;
    TestShellApp app(env.options);
    ASSERT_TRUE(app.InitInstance({}));
    EXPECT_EQ(env.shell.Count("wizard"), 0);
    EXPECT_EQ(app.newFileCompleted(), 1);
    app.mainFrame()->action(cmd::FileNew)->trigger();
    EXPECT_EQ(env.shell.Count("wizard"), 1);
    // A new calibration: the generic definition's two default traces.
    const auto& points = app.document()->calibration().points;
    EXPECT_EQ(points[0][0], 1000);
    EXPECT_EQ(points[0][9], 2800);
    EXPECT_EQ(points[1][9], 1400);
    EXPECT_EQ(app.mainFrame()->windowTitle(), "Untitled - Korvath Tuning System");
}

TEST(SingleInstance, ASecondStartIsRefusedAndHandsItsFileOver) {
    ShellHome env;
    TestShellApp first(env.options);
    ASSERT_TRUE(first.InitInstance({}));
    const std::string demo = env.home.File("demo.qvr");
    ASSERT_TRUE(WriteDemoCalibration(demo));

    TestShellApp second(env.options);
    BoxAnswerer boxes;
    EXPECT_FALSE(second.InitInstance({QString::fromStdString(demo)}));
    EXPECT_EQ(second.exitCode(), 1);
    EXPECT_EQ(second.mainFrame(), nullptr);
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].caption, "Application Already Running!");
    EXPECT_EQ(boxes.seen[0].text,
              "This application is already running, and you cannot start a second session.  Try holding down the "
              "\"ALT\" key and pressing the \"Tab\" key to switch to the original instance.  If this does not work, "
              "try restarting Windows.");
    // The running program opens the file it was handed.
    for (int i = 0; i < 200 && first.pathName().isEmpty(); ++i) QApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(first.pathName(), QFileInfo(QString::fromStdString(demo)).absoluteFilePath());
    EXPECT_TRUE(first.mainFrame()->isVisible());
}

TEST(SingleInstance, ALockLeftByACrashedRunDoesNotBlockTheNextStart) {
    TempDir dir;
    const QString key = QStringLiteral("korvath-stale-%1").arg(::getpid());
    // A lock file as a run that died leaves it: its process id is no longer running.
    {
        QFile lock(QString::fromStdString(dir.File(key.toStdString() + ".lock")));
        ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
        lock.write("999999\nkorvath\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    }
    ui::SingleInstance instance(key, QString::fromStdString(dir.path()));
    EXPECT_TRUE(instance.Acquire());
    ui::SingleInstance another(key, QString::fromStdString(dir.path()));
    EXPECT_FALSE(another.Acquire());
}

TEST(SingleInstance, AFolderWhereNoLockCanBeMadeDoesNotKeepTheProgramFromStarting) {
    TempDir dir;
    ui::SingleInstance instance(QStringLiteral("korvath-nolock-%1").arg(::getpid()),
                                QString::fromStdString(dir.File("missing/folder")));
    EXPECT_TRUE(instance.Acquire());
    EXPECT_FALSE(std::filesystem::exists(dir.File("missing/folder")));  // no lock was made
}

class DocumentTest : public ::testing::Test {
protected:
    DocumentTest() : app(env.options) {
        EXPECT_TRUE(app.InitInstance({}));
        demo = QString::fromStdString(env.home.File("demo.qvr"));
        EXPECT_TRUE(WriteDemoCalibration(demo.toStdString()));
    }
    CQRNDoc& doc() { return *app.document(); }
    ShellHome env;
    TestShellApp app;
    QString demo;
};

TEST_F(DocumentTest, OpenShowsTheDemoCurvesAndSaveReopensThem) {
    ASSERT_TRUE(app.OpenDocumentFile(demo));
    EXPECT_EQ(app.mainFrame()->windowTitle(), "demo.qvr - Korvath Tuning System");
    CGraphEngine& graph = app.mainFrame()->view()->graph();
    EXPECT_TRUE(graph.TraceAt(0).visible);
    EXPECT_TRUE(graph.TraceAt(1).visible);
    EXPECT_FALSE(graph.TraceAt(2).visible);
    // Trace 0: stored in 1/32 mph, the table byte in half miles per hour, shown in mph.
    const auto& points = doc().calibration().points;
    EXPECT_FLOAT_EQ(graph.PointAt(0, 0).value, static_cast<float>(points[0][0] / 16) / 2.0f);
    EXPECT_FLOAT_EQ(graph.PointAt(1, 9).value, static_cast<float>(points[1][9] / 16) / 2.0f);

    doc().calibration().points[0][3] = 1920;
    doc().SetModifiedFlag();
    const QString copy = QString::fromStdString(env.home.File("copy.qvr"));
    app.nextFileName = copy;
    ASSERT_TRUE(app.OnFileSaveAs());
    EXPECT_FALSE(doc().IsModified());
    EXPECT_EQ(app.mainFrame()->windowTitle(), "copy.qvr - Korvath Tuning System");
    EXPECT_EQ(app.recentFiles().files().value(0), copy);

    app.mainFrame()->action(cmd::FileNew)->trigger();
    EXPECT_EQ(doc().calibration().points[0][3], 1600);
    ASSERT_TRUE(app.OpenDocumentFile(copy));
    EXPECT_EQ(doc().calibration().points[0][3], 1920);

    // The recent-file list is kept in the settings file.
    app.SaveRecentFiles();
    IniSettingsStore ini(env.options.settingsPath);
    EXPECT_EQ(ini.GetString("Recent File List", "File1", ""), copy.toStdString());
    EXPECT_EQ(ini.GetString("Recent File List", "File2", ""), QFileInfo(demo).absoluteFilePath().toStdString());
}

TEST_F(DocumentTest, SavePromptsOnNewOpenAndExitOfAModifiedCalibration) {
    ASSERT_TRUE(app.OpenDocumentFile(demo));
    doc().calibration().points[0][0] = 1111;
    doc().SetModifiedFlag();
    ui::CMainFrame* frame = app.mainFrame();

    {  // New, Cancel: nothing changes.
        BoxAnswerer boxes({QMessageBox::Cancel});
        frame->action(cmd::FileNew)->trigger();
        ASSERT_EQ(boxes.seen.size(), 1u);
        EXPECT_EQ(boxes.seen[0].text, "Save changes to demo.qvr?");
        EXPECT_EQ(boxes.seen[0].caption, "Korvath Tuning System");
        EXPECT_EQ(doc().calibration().points[0][0], 1111);
        EXPECT_TRUE(doc().IsModified());
    }
    {  // Exit, Cancel: the window stays.
        BoxAnswerer boxes({QMessageBox::Cancel});
        EXPECT_FALSE(frame->close());
        EXPECT_EQ(boxes.seen.size(), 1u);
        EXPECT_TRUE(frame->isVisible());
    }
    {  // Open, Yes: saved first, then the other file opens.
        const QString other = QString::fromStdString(env.home.File("other.qvr"));
        ASSERT_TRUE(WriteDemoCalibration(other.toStdString()));
        BoxAnswerer boxes({QMessageBox::Yes});
        ASSERT_TRUE(app.OpenDocumentFile(other));
        EXPECT_EQ(boxes.seen.size(), 1u);
        EXPECT_EQ(app.pathName(), other);
        ASSERT_TRUE(app.OpenDocumentFile(demo));
        EXPECT_EQ(doc().calibration().points[0][0], 1111);
    }
    {  // New, No: the change is dropped.
        doc().calibration().points[0][0] = 2222;
        doc().SetModifiedFlag();
        BoxAnswerer boxes({QMessageBox::No});
        frame->action(cmd::FileNew)->trigger();
        EXPECT_EQ(boxes.seen.size(), 1u);
        EXPECT_FALSE(doc().IsModified());
        EXPECT_EQ(app.mainFrame()->windowTitle(), "Untitled - Korvath Tuning System");
    }
    {  // An untitled calibration asks for a name when saved from the prompt; no name, no exit.
        doc().SetModifiedFlag();
        app.nextFileName.clear();
        BoxAnswerer boxes({QMessageBox::Yes});
        EXPECT_FALSE(frame->close());
        EXPECT_EQ(boxes.seen[0].text, "Save changes to Untitled?");
        EXPECT_EQ(app.fileDialogs, 1);
        EXPECT_TRUE(frame->isVisible());
    }
    {  // Exit, No: the window closes.
        BoxAnswerer boxes({QMessageBox::No});
        EXPECT_TRUE(frame->close());
        EXPECT_FALSE(frame->isVisible());
    }
}

TEST_F(DocumentTest, ADamagedFileIsRefusedAndTheCalibrationStays) {
    const QString bad = QString::fromStdString(env.home.Write("bad.qvr", "QVR02\n\x01\x02"));
    doc().calibration().points[0][0] = 1357;
    BoxAnswerer boxes;
    EXPECT_FALSE(app.OpenDocumentFile(bad));
    EXPECT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(doc().calibration().points[0][0], 1357);
    EXPECT_EQ(app.mainFrame()->windowTitle(), "Untitled - Korvath Tuning System");
}

TEST_F(DocumentTest, AFileDroppedOnTheWindowOpens) {
    auto* mime = new QMimeData;
    mime->setUrls({QUrl::fromLocalFile(demo)});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(app.mainFrame(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(app.mainFrame(), &drop);
    EXPECT_EQ(app.pathName(), QFileInfo(demo).absoluteFilePath());
    delete mime;
}

TEST(BarPositions, SavedOnCloseAndRestoredAtTheNextStart) {
    ShellHome env;
    {
        TestShellApp app(env.options);
        ASSERT_TRUE(app.InitInstance({}));
        ui::CMainFrame* frame = app.mainFrame();
        frame->addDockWidget(Qt::TopDockWidgetArea, frame->dashboard());
        frame->addDockWidget(Qt::LeftDockWidgetArea, frame->graphBar());
        ASSERT_TRUE(frame->close());
    }
    IniSettingsStore ini(env.options.settingsPath);
    EXPECT_FALSE(ini.GetString("BarPositions", "State", "").empty());
    TestShellApp app(env.options);
    ASSERT_TRUE(app.InitInstance({}));
    EXPECT_EQ(app.mainFrame()->dockWidgetArea(app.mainFrame()->dashboard()), Qt::TopDockWidgetArea);
    EXPECT_EQ(app.mainFrame()->dockWidgetArea(app.mainFrame()->graphBar()), Qt::LeftDockWidgetArea);
}

TEST(BarPositions, AGraphBarSavedHiddenIsShownAtTheNextStart) {
    ShellHome env;
    {
        TestShellApp app(env.options);
        ASSERT_TRUE(app.InitInstance({}));
        app.mainFrame()->graphBar()->hide();  // as an older version let it be closed
        ASSERT_TRUE(app.mainFrame()->close());
    }
    TestShellApp app(env.options);
    ASSERT_TRUE(app.InitInstance({}));
    EXPECT_TRUE(app.mainFrame()->graphBar()->isVisible());
}

TEST(MainWindowPlace, TheFirstWindowFitsTheScreenAndASavedPlaceComesBackOnIt) {
    ShellHome env;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    {
        TestShellApp app(env.options);
        ASSERT_TRUE(app.InitInstance({}));
        ui::CMainFrame* frame = app.mainFrame();
        EXPECT_TRUE(screen.contains(frame->geometry())) << frame->width() << "x" << frame->height();
        frame->setGeometry(40, 30, 600, 480);
        ASSERT_TRUE(frame->close());
    }
    IniSettingsStore ini(env.options.settingsPath);
    {
        TestShellApp app(env.options);
        ASSERT_TRUE(app.InitInstance({}));
        EXPECT_EQ(app.mainFrame()->geometry(), QRect(40, 30, 600, 480));
    }
    // Saved on a screen that is gone, larger than this one, and maximized there.
    ini.SetInt("MainWindow", "Left", 3000);
    ini.SetInt("MainWindow", "Height", 5000);
    ini.SetInt("MainWindow", "Maximized", 1);
    TestShellApp app(env.options);
    ASSERT_TRUE(app.InitInstance({}));
    EXPECT_TRUE(app.mainFrame()->isMaximized());
    EXPECT_TRUE(screen.contains(app.mainFrame()->normalGeometry()));
    EXPECT_EQ(app.mainFrame()->normalGeometry().size(), QSize(600, screen.height()));
}

int CountPages(const QByteArray& pdf) {
    // Page objects, not the page tree ("/Type /Pages").
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![s\\w])"));
    return static_cast<int>(QString::fromLatin1(pdf).count(page));
}

// The one RGB image of a PDF written by the print engine (flate-compressed), or a null image.
QImage PdfImage(const QByteArray& pdf) {
    const qsizetype dict = pdf.indexOf("/Subtype /Image");
    if (dict < 0) return {};
    static const QRegularExpression width(QStringLiteral("/Width (\\d+)")), height(QStringLiteral("/Height (\\d+)"));
    const QString header = QString::fromLatin1(pdf.mid(dict, 200));
    const int w = width.match(header).captured(1).toInt();
    const int h = height.match(header).captured(1).toInt();
    if (!header.contains(QLatin1String("/FlateDecode")) || w <= 0 || h <= 0) return {};
    const qsizetype start = pdf.indexOf("stream\n", dict) + 7;
    const qsizetype end = pdf.indexOf("endstream", start);
    QByteArray packed = pdf.mid(start, end - start);
    const quint32 size = static_cast<quint32>(w) * static_cast<quint32>(h) * 3;
    packed.prepend(static_cast<char>(size & 0xFF));
    packed.prepend(static_cast<char>((size >> 8) & 0xFF));
    packed.prepend(static_cast<char>((size >> 16) & 0xFF));
    packed.prepend(static_cast<char>((size >> 24) & 0xFF));
    const QByteArray rgb = qUncompress(packed);
    if (rgb.size() != static_cast<qsizetype>(size)) return {};
    QImage image(w, h, QImage::Format_RGB888);
    for (int y = 0; y < h; ++y) std::memcpy(image.scanLine(y), rgb.constData() + static_cast<qsizetype>(y) * w * 3, static_cast<std::size_t>(w) * 3);
    return image;
}

TEST(Printing, APrintRequestWritesOnePdfPageWithTheGraphAndEnds) {
    ShellHome env;
    const std::string demo = env.home.File("demo.qvr");
    ASSERT_TRUE(WriteDemoCalibration(demo));
    const QString pdf = QString::fromStdString(env.home.File("out.pdf"));
    TestShellApp app(env.options);
    EXPECT_FALSE(app.InitInstance({"/pt", QString::fromStdString(demo), pdf}));
    EXPECT_EQ(app.exitCode(), 0);
    EXPECT_FALSE(app.mainFrame()->isVisible());
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    // A copy beside the build's programs, for a look.
    QFile::remove(QString::fromStdString(kBinDir + "/../korvath-print.pdf"));
    QFile::copy(pdf, QString::fromStdString(kBinDir + "/../korvath-print.pdf"));
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(CountPages(bytes), 1);
    // The page holds the composed graph losslessly: its pixels are the view's, curves included.
    const QImage image = app.mainFrame()->view()->ComposedImage().convertToFormat(QImage::Format_RGB888);
    ASSERT_FALSE(image.isNull());
    const QImage page = PdfImage(bytes);
    ASSERT_EQ(page.size(), image.size());
    EXPECT_TRUE(page == image);
    const CGraphEngine& graph = app.mainFrame()->view()->graph();
    for (int trace : {0, 1}) {
        const QColor colour = ui::ToQColor(graph.TraceAt(trace).color);
        const int x = graph.ColumnToX(4);
        int curvePixels = 0;
        for (int y = 0; y < page.height(); ++y) curvePixels += page.pixelColor(x, y) == colour ? 1 : 0;
        EXPECT_GT(curvePixels, 0) << trace;
    }
}

TEST(Printing, APrintRequestForAMissingFileFails) {
    ShellHome env;
    TestShellApp app(env.options);
    BoxAnswerer boxes;
    EXPECT_FALSE(app.InitInstance({"/pt", QString::fromStdString(env.home.File("none.qvr")),
                                   QString::fromStdString(env.home.File("out.pdf"))}));
    EXPECT_EQ(app.exitCode(), 1);
    EXPECT_FALSE(std::filesystem::exists(env.home.File("out.pdf")));
}

}  // namespace
}  // namespace korvath::testing
