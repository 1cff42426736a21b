#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QListWidget>
#include <QTextBrowser>
#include <QUrl>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "richtext/rtf_reader.h"
#include "support/qt_test_app.h"
#include "support/recording_host.h"
#include "ui/app/program_shell.h"
#include "ui/app/qrn.h"
#include "ui/help/help_layout.h"
#include "ui/help/helpdialog.h"
#include "ui/help/olericheditctrl.h"
#include "../app/app_fixture.h"

namespace korvath::ui {
namespace {

using korvath::testing::BoxAnswerer;

TEST(HelpViewerLayout, ResizingKeepsTheMarginsAndCentresDone) {
    // The template: client 800 x 600, text at (10, 12) 780 x 550, "Done" 75 x 23 at (715, 570).
    const HelpViewerMargins m = MeasureHelpViewer(800, 600, {10, 12, 780, 550}, {715, 570, 75, 23});
    EXPECT_EQ(m.right, 10);
    EXPECT_EQ(m.bottom, 38);
    EXPECT_EQ(m.buttonOffset, 30);
    const HelpViewerLayout big = LayOutHelpViewer(1001, 900, m, 75, 23);
    EXPECT_EQ(big.text, (LayoutRect{10, 12, 981, 850}));
    EXPECT_EQ(big.button, (LayoutRect{463, 870, 75, 23}));
    // Smaller than the margins: an empty text area, never a negative one.
    const HelpViewerLayout tiny = LayOutHelpViewer(15, 20, m, 75, 23);
    EXPECT_EQ(tiny.text.width, 0);
    EXPECT_EQ(tiny.text.height, 0);
}

class HelpViewerTest : public ::testing::Test {
protected:
    void SetUp() override { korvath::testing::TestApp(); }
    std::string Topic(const std::string& name, const std::string& rtf) { return dir.Write(name, rtf); }
    korvath::testing::TempDir dir;
};

TEST_F(HelpViewerTest, StartsHiddenAndKeepsItsLayoutWhenResized) {
    CHelpDialog viewer;
    EXPECT_FALSE(viewer.isVisible());
    EXPECT_EQ(viewer.windowTitle(), "Tuning Help Viewer");
    EXPECT_FALSE(viewer.isModal());
    EXPECT_TRUE(viewer.doneButton()->isDefault());
    viewer.show();
    const QRect text = viewer.textControl()->geometry();
    const QRect done = viewer.doneButton()->geometry();
    const QSize before = viewer.size();
    viewer.resize(before.width() + 201, before.height() + 100);
    QApplication::processEvents();
    const QRect grown = viewer.textControl()->geometry();
    EXPECT_EQ(grown.topLeft(), text.topLeft());
    EXPECT_EQ(viewer.width() - grown.right(), before.width() - text.right());
    EXPECT_EQ(viewer.height() - grown.bottom(), before.height() - text.bottom());
    const QRect moved = viewer.doneButton()->geometry();
    EXPECT_EQ(moved.size(), done.size());
    EXPECT_EQ(moved.x(), (viewer.width() - done.width()) / 2);
    EXPECT_EQ(viewer.height() - moved.y(), before.height() - done.y());
    // "Done" hides the window; it is not destroyed.
    viewer.doneButton()->click();
    EXPECT_FALSE(viewer.isVisible());
}

TEST_F(HelpViewerTest, ASecondTopicReplacesTheFirstAndPicturesShow) {
    // A 1 x 1 PNG as the word processors write it.
    const std::string png =
        "89504e470d0a1a0a0000000d49484452000000010000000108020000009077"
        "53de0000000c4944415408d763f8cfc000000301010018dd8db00000000049454e44ae426082";
    CHelpDialog viewer;
    ASSERT_TRUE(viewer.ShowTopic(QString::fromStdString(
        Topic("a.rtf", "{\\rtf1 First {\\b topic}\\par second line{\\pict\\pngblip\\picwgoal300\\pichgoal150 " + png + "}}"))));
    QTextDocument* doc = viewer.textControl()->document();
    EXPECT_EQ(doc->blockCount(), 2);
    EXPECT_TRUE(doc->toPlainText().startsWith("First topic\nsecond line"));
    EXPECT_FALSE(doc->resource(QTextDocument::ImageResource, QUrl("picture:0")).isNull());

    ASSERT_TRUE(viewer.ShowTopic(QString::fromStdString(Topic("b.rtf", "{\\rtf1 Only this}"))));
    EXPECT_EQ(doc->toPlainText(), "Only this");
}

TEST_F(HelpViewerTest, ClicksDoNothingButTheKeyboardScrolls) {
    std::string rtf = "{\\rtf1 ";
    for (int i = 0; i < 300; ++i) rtf += "line " + std::to_string(i) + "\\par ";
    CHelpDialog viewer;
    viewer.show();
    ASSERT_TRUE(viewer.ShowTopic(QString::fromStdString(Topic("long.rtf", rtf + "}"))));
    COleRichEditCtrl* text = viewer.textControl();
    QWidget* area = text->viewport();
    const QPointF at(20, 20);
    for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick}) {
        QMouseEvent click(type, at, area->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(area, &click);
    }
    EXPECT_FALSE(text->textCursor().hasSelection());
    EXPECT_EQ(text->textCursor().position(), 0);
    QKeyEvent pageDown(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
    QApplication::sendEvent(text, &pageDown);
    EXPECT_GT(text->verticalScrollBar()->value(), 0);
}

TEST_F(HelpViewerTest, EveryTopicOfTheProgramOpensWithItsPictures) {
    CHelpDialog viewer;
    int topics = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(KORVATH_BIN_DIR) + "/help")) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string rtf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const richtext::RichDocument rich = richtext::ReadRtf(rtf);
        ASSERT_TRUE(viewer.ShowTopic(QString::fromStdString(entry.path().string())));
        QTextDocument* doc = viewer.textControl()->document();
        EXPECT_GT(doc->toPlainText().size(), 100) << entry.path();
        // Every picture of the file decodes and stands in the text.
        int images = 0;
        for (QTextBlock block = doc->begin(); block.isValid(); block = block.next())
            for (auto it = block.begin(); !it.atEnd(); ++it) images += it.fragment().charFormat().isImageFormat();
        EXPECT_EQ(images, static_cast<int>(rich.pictures.size())) << entry.path();
        ++topics;
    }
    EXPECT_GE(topics, 8);

    // Help Topics lists every chapter the contents link to, and each one opens.
    HelpBrowser browser(KORVATH_BIN_DIR);
    ASSERT_TRUE(browser.OpenTopic("help/Contents.rtf"));
    ASSERT_GE(browser.contents()->count(), 8);
    for (int i = 1; i < browser.contents()->count(); ++i)
        EXPECT_TRUE(browser.OpenTopic(browser.contents()->item(i)->data(Qt::UserRole).toString().toStdString())) << i;
    browser.GoBack();
    browser.show();
    browser.grab().save(QStringLiteral(KORVATH_BIN_DIR "/help-topics.png"));  // for a look
}

// Help Topics: the contents list jumps, links lead between topics, back and forward walk them,
// find selects the text; a link out of the program directory goes nowhere.
TEST_F(HelpViewerTest, HelpTopicsIsABrowserOfTheProgramsHelp) {
    const auto link = [](const char* target, const char* text) {
        return std::string("{\\field{\\*\\fldinst HYPERLINK \"") + target + "\"}{\\fldrslt " + text + "}}";
    };
    Topic("help/Contents.rtf", "{\\rtf1 Help\\par " + link("Manual.rtf", "The manual") + "\\par " +
                                   link("Other.rtf", "Other things") + "\\par " + link("../../x.rtf", "Away") + "}");
    Topic("help/Manual.rtf", "{\\rtf1 Manual: see " + link("Other.rtf", "other things") + ". Gear teeth.}");
    Topic("help/Other.rtf", "{\\rtf1 Other}");
    setenv("KORVATH_HOME", dir.path().c_str(), 1);
    CQRNApp app;
    ProgramShellWindows shell(app);
    shell.ShowHelpTopics(nullptr);
    HelpBrowser* browser = shell.helpBrowser();
    ASSERT_TRUE(browser);
    EXPECT_TRUE(browser->isVisible());
    EXPECT_EQ(browser->windowTitle(), "Help Topics");
    ASSERT_EQ(browser->contents()->count(), 4);  // Contents and its three links
    EXPECT_EQ(browser->contents()->item(1)->text(), "The manual");
    EXPECT_FALSE(browser->backButton()->isEnabled());

    Q_EMIT browser->contents()->itemClicked(browser->contents()->item(1));
    EXPECT_TRUE(browser->text()->toPlainText().startsWith("Manual"));
    Q_EMIT browser->text()->anchorClicked(QUrl(QStringLiteral("Other.rtf")));
    EXPECT_EQ(browser->currentTopic(), "help/Other.rtf");
    EXPECT_EQ(browser->contents()->currentRow(), 2);
    browser->backButton()->click();
    EXPECT_EQ(browser->currentTopic(), "help/Manual.rtf");
    EXPECT_TRUE(browser->forwardButton()->isEnabled());
    browser->forwardButton()->click();
    EXPECT_EQ(browser->text()->toPlainText(), "Other");
    browser->backButton()->click();

    EXPECT_TRUE(browser->FindNext(QStringLiteral("teeth")));
    EXPECT_EQ(browser->text()->textCursor().selectedText(), "teeth");
    EXPECT_FALSE(browser->FindNext(QStringLiteral("pistons")));

    // Out of the program directory: nothing opens, the topic stays.
    EXPECT_FALSE(browser->OpenTopic("help/../../x.rtf"));
    EXPECT_EQ(browser->currentTopic(), "help/Manual.rtf");
    unsetenv("KORVATH_HOME");
}

TEST_F(HelpViewerTest, TopicsStayInsideTheProgramDirectory) {
    korvath::testing::TempDir outside;
    const std::string secret = outside.Write("secret.rtf", "{\\rtf1 secret}");
    Topic("help/Contents.rtf", "{\\rtf1 Contents}");
    Topic("help/Manual.rtf", "{\\rtf1 Manual}");
    setenv("KORVATH_HOME", dir.path().c_str(), 1);
    CQRNApp app;
    ProgramShellWindows shell(app);
    shell.CreateHelpViewer(nullptr);
    CHelpDialog* viewer = shell.helpViewer();
    ASSERT_TRUE(viewer);
    EXPECT_FALSE(viewer->isVisible());

    // As a settings-page button builds it: the program directory, a backslash, the path.
    shell.ShowHelpTopic((dir.path() + "\\help\\Manual.rtf").c_str());
    EXPECT_EQ(viewer->textControl()->toPlainText(), "Manual");

    for (const std::string& bad : {secret, std::string("../") + secret, dir.path() + "/../x.rtf", std::string("help/None.rtf")}) {
        BoxAnswerer boxes;
        shell.ShowHelpTopic(bad.c_str());
        QApplication::processEvents();
        ASSERT_EQ(boxes.seen.size(), 1u) << bad;
        EXPECT_TRUE(boxes.seen[0].text.endsWith(" was not found.")) << bad;
        EXPECT_TRUE(viewer->textControl()->toPlainText().isEmpty()) << bad;
    }
    // Opened from a modal wizard, the viewer is above it and takes input; without one it is modeless.
    {
        QDialog wizard;
        wizard.setWindowModality(Qt::ApplicationModal);
        wizard.show();
        shell.ShowHelpTopic("help/Manual.rtf");
        EXPECT_EQ(QApplication::activeModalWidget(), viewer);
        viewer->hide();
    }
    shell.ShowHelpTopic("help/Manual.rtf");
    EXPECT_EQ(viewer->windowModality(), Qt::NonModal);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // A topic that is there but cannot be read says why (a folder here: tests may run as root).
    std::filesystem::create_directories(dir.File("help/Folder.rtf"));
    BoxAnswerer boxes;
    shell.ShowHelpTopic("help/Folder.rtf");
    QApplication::processEvents();
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_TRUE(boxes.seen[0].text.startsWith(QString::fromStdString(dir.File("help/Folder.rtf")) + " cannot be opened: "))
        << boxes.seen[0].text.toStdString();
    unsetenv("KORVATH_HOME");
}

}  // namespace
}  // namespace korvath::ui
