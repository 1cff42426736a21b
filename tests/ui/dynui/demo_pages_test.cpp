// The demo definition's settings pages: every control kind builds from its block, drives the
// calibration, and shows itself to assistive tools with its role, name, state and place.
//
// KORVATH_PICTURES=<folder> saves a picture of each page there. KORVATH_SHOW_PAGES=<ms> keeps the
// pages on screen that long, so that the accessibility tree can be read from outside (under Xvfb
// with a session bus and QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1).

#include <QAccessible>
#include <QDir>
#include <QLabel>
#include <QEventLoop>
#include <QTimer>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "ui/dynui/dynui_fixture.h"

namespace korvath::testing {
namespace {

const std::string kBinDir = KORVATH_BIN_DIR;

class DemoPagesTest : public DynamicControlsTest {
protected:
    void SetUp() override {
        doc = std::make_unique<CQRNDoc>(DocumentHost{host, host, settings}, kBinDir);
        ASSERT_TRUE(doc->LoadDefinitionFile(kBinDir + "/PID2/3/KV4.def"));
        ASSERT_TRUE(doc->ReadDeclarations(1));
        host.messages.clear();
    }
    static void Present(TestPage& p, const char* name) {
        p.setWindowTitle(QString::fromLatin1(name));
        p.show();
        if (const char* folder = std::getenv("KORVATH_PICTURES"))
            p.grab().save(QDir(QString::fromLocal8Bit(folder)).filePath(QString::fromLatin1(name) + ".png"));
        if (const char* ms = std::getenv("KORVATH_SHOW_PAGES")) {
            QEventLoop loop;
            QTimer::singleShot(std::atoi(ms), &loop, &QEventLoop::quit);
            loop.exec();
        }
    }
    // Every control of the page as assistive tools see it.
    static void ExpectAccessible(QWidget& p) {
        for (QWidget* w : p.findChildren<QWidget*>()) {
            if (!ui::ControlIdPool::InRange(ui::ControlIdOf(w))) continue;
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
            ASSERT_NE(a, nullptr);
            EXPECT_FALSE(a->text(QAccessible::Name).isEmpty() && a->role() != QAccessible::StaticText)
                << w->metaObject()->className();
            // Check boxes and radio options report their clickable part (box and text).
            const QRect window(w->mapToGlobal(QPoint(0, 0)), w->size());
            if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w))
                EXPECT_TRUE(window.contains(a->rect()) && !a->rect().isEmpty()) << w->metaObject()->className();
            else
                EXPECT_EQ(a->rect(), window) << w->metaObject()->className();
            EXPECT_FALSE(a->state().disabled);
            // A caption is read whole.
            if (auto* label = qobject_cast<QLabel*>(w); label && !label->wordWrap()) {
                EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width())
                    << label->text().toStdString();
            }
        }
    }
};

TEST_F(DemoPagesTest, ControlsPageHasEveryButtonKindAndTextAndList) {
    TestPage p(*doc, "[DemoControls]");
    p.BuildControls();
    Present(p, "DemoControls");
    ASSERT_EQ(p.buttons.size(), 1u + 3u + 1u + 2u);
    EXPECT_EQ(p.combos.size(), 1u);
    EXPECT_EQ(p.texts.size(), 2u);
    EXPECT_TRUE(host.messages.empty());
    ExpectAccessible(p);
    EXPECT_EQ(p.texts[0]->toPlainText(), "Korvath Demo Vehicle");

    // Performance, then lock-up off.
    p.buttons[3]->button()->click();
    EXPECT_EQ(Int("PerfMode"), 2);
    p.buttons[0]->button()->click();
    EXPECT_EQ(Int("TCCEnable"), p.buttons[0]->CheckState());

    // The help button opens the shipped topic; the tool button starts the shipped program.
    p.buttons[5]->button()->click();
    ASSERT_EQ(helpTopics.size(), 1u);
    EXPECT_EQ(helpTopics[0], kBinDir + "/help/DemoSettings.rtf");
    EXPECT_EQ(p.buttons[6]->actionFormula, "tools/demo-tool.sh");
    EXPECT_TRUE(p.buttons[6]->RunProgram());
    EXPECT_TRUE(host.messages.empty());
}

// Each help button of a demo page opens a topic that is shipped and speaks of that page.
TEST_F(DemoPagesTest, EveryHelpButtonOpensTheTopicOfItsPage) {
    const struct {
        const char* definition;
        const char* section;
        const char* topic;
        const char* title;
    } buttons[] = {
        {"KV4.def", "[DemoControls]", "help/DemoSettings.rtf", "The Shift Program page"},
        {"KV4.def", "[ConverterType]", "help/ConverterSettings.rtf", "The Torque Converter page"},
        {"KV5.def", "[DemoControls]", "help/DemoSettings.rtf", "The Shift Program page"},
        {"KV5.def", "[ConverterType]", "help/ConverterSettings.rtf", "The Torque Converter page"},
    };
    for (const auto& b : buttons) {
        SCOPED_TRACE(std::string(b.definition) + " " + b.section);
        std::ifstream in(kBinDir + "/PID2/3/" + b.definition);
        const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        std::string header = "\n";  // appended: "\n" + std::string&& trips a false -Wrestrict at -O3
        header += b.section;
        const auto section = text.find(header);
        ASSERT_NE(section, std::string::npos);
        const auto execute = text.find("Execute help/", section);
        ASSERT_NE(execute, std::string::npos);
        EXPECT_EQ(text.substr(execute + 8, text.find('\n', execute) - execute - 8), b.topic);
        std::ifstream topic(kBinDir + "/" + b.topic);
        const std::string rtf{std::istreambuf_iterator<char>(topic), std::istreambuf_iterator<char>()};
        EXPECT_NE(rtf.find(b.title), std::string::npos);
    }
}

TEST_F(DemoPagesTest, NumbersPageHasEveryEditBoxFeature) {
    TestPage p(*doc, "[DemoNumbers]");
    p.BuildControls();
    Present(p, "DemoNumbers");
    ASSERT_EQ(p.edits.size(), 5u);
    ExpectAccessible(p);
    const auto shown = [&](std::size_t i) { return p.edits[i]->QLineEdit::text(); };
    EXPECT_EQ(shown(0), "100.00");
    EXPECT_EQ(shown(1), "3.73");
    EXPECT_EQ(shown(2), "1200 rpm");
    EXPECT_EQ(shown(3), "100 rpm");
    EXPECT_EQ(shown(4), "650 rpm");

    // Three targets from one field.
    KeyClick(p.edits[2], Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(Int("CCOssOn"), 1450);
    EXPECT_EQ(Int("CCOssOff"), 1250);
    EXPECT_EQ(Int("CCOssMinTpsOR"), 1750);
    // The rpm pair keeps hundreds.
    p.edits[3]->setText("2500");
    p.edits[3]->Commit();
    EXPECT_FLOAT_EQ(Float("SSFactor"), 25.0f);
    // The formula button works the ratio out of the teeth counts (40 / 17).
    p.buttons[0]->button()->click();
    EXPECT_EQ(shown(1), "2.35");
    EXPECT_NEAR(Float("AxleRatio"), 2.35f, 1e-6);
    EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace korvath::testing
