// The About and Getting Started boxes: their texts, the "Show this message at startup" setting
// (written only by OK and only when changed), and which boxes the start-up shows.

#include <QCheckBox>
#include <QLabel>

#include <gtest/gtest.h>

#include "platform/settings_keys.h"
#include "dialogs_fixture.h"
#include "support/recording_host.h"
#include "ui/dialogs/aboutdlg.h"
#include "ui/dialogs/startdlg.h"
#include "ui/dialogs/startup_box.h"

namespace korvath::ui {
namespace {

using testing::MemorySettings;
using testing::ModalCloser;

const std::string kAboutKey = MemorySettings::Key(settings::kAboutBox, settings::kShowAtStartup);
const std::string kStartKey = MemorySettings::Key(settings::kStartBox, settings::kShowAtStartup);

class StartupBoxesTest : public ::testing::Test {
protected:
    void SetUp() override { testing::TestApp(); }
    MemorySettings settings;
};

TEST_F(StartupBoxesTest, VersionLineEndsWithTheRevisionLetterOrNothing) {
    EXPECT_EQ(CAboutDlg::VersionLine(0).toStdString(), "The Korvath Tuning System, Version 3.31");
    EXPECT_EQ(CAboutDlg::VersionLine('b').toStdString(), "The Korvath Tuning System, Version 3.31b");
    // A Package.ver that starts with a line break or a stray byte shows no letter.
    EXPECT_EQ(CAboutDlg::VersionLine('\n').toStdString(), "The Korvath Tuning System, Version 3.31");
    EXPECT_EQ(CAboutDlg::VersionLine(static_cast<char>(0xE9)).toStdString(), "The Korvath Tuning System, Version 3.31");

    CAboutDlg box(settings, 'c');
    EXPECT_EQ(box.versionText()->text().toStdString(), "The Korvath Tuning System, Version 3.31c");
    EXPECT_EQ(box.windowTitle().toStdString(), "About The Korvath Tuning System");
}

TEST_F(StartupBoxesTest, NoticeIsThreeParagraphsStartingWithTheSafetyWarning) {
    const QStringList paragraphs = CAboutDlg::NoticeText().split(QStringLiteral("\n\n"));
    ASSERT_EQ(paragraphs.size(), 3);
    EXPECT_EQ(paragraphs[0].toStdString(),
              "Safety Warning: Using a laptop PC or similar device while driving a vehicle can be extremely dangerous. "
              "Please have an assistant make changes and operate the PC if you are tuning this system while driving "
              "on public roads or highways.");
    EXPECT_FALSE(paragraphs[1].contains(QLatin1Char('\n')));
    EXPECT_FALSE(paragraphs[2].isEmpty());
}

TEST_F(StartupBoxesTest, TextsFitTheirTemplatePlaces) {
    // Word-wrapped text that needs more height than its template place would be cut off.
    CAboutDlg about(settings, 0);
    CStartDlg start(settings);
    for (QDialog* box : {static_cast<QDialog*>(&about), static_cast<QDialog*>(&start)}) {
        for (QLabel* label : box->findChildren<QLabel*>()) {
            if (label->text().isEmpty()) continue;
            if (label->wordWrap())
                EXPECT_LE(label->heightForWidth(label->width()), label->height()) << label->text().toStdString();
            else
                EXPECT_LE(label->sizeHint().width(), label->width()) << label->text().toStdString();
            EXPECT_TRUE(box->rect().contains(label->geometry())) << label->text().toStdString();
        }
    }
}

TEST_F(StartupBoxesTest, OkWritesTheCheckBoxOnlyWhenItChanged) {
    {
        CAboutDlg box(settings, 0);
        EXPECT_EQ(box.initialShow(), 1);
        EXPECT_TRUE(box.showCheck()->isChecked());
        box.accept();
        EXPECT_TRUE(settings.values.empty()) << "an unchanged box writes nothing";
    }
    {
        CAboutDlg box(settings, 0);
        box.showCheck()->click();
        box.accept();
        ASSERT_EQ(settings.values.count(kAboutKey), 1u);
        EXPECT_EQ(settings.values[kAboutKey], "0");
        EXPECT_EQ(settings.values.count(kStartKey), 0u);
    }
    {
        CAboutDlg box(settings, 0);
        EXPECT_FALSE(box.showCheck()->isChecked());
        box.showCheck()->click();
        box.accept();
        EXPECT_EQ(settings.values[kAboutKey], "1");
    }
}

TEST_F(StartupBoxesTest, EscapeWritesNothing) {
    CStartDlg box(settings);
    box.showCheck()->click();
    EXPECT_FALSE(box.showCheck()->isChecked());
    box.reject();
    EXPECT_TRUE(settings.values.empty());
    EXPECT_TRUE(ShowsAtStartup(settings, settings::kStartBox));
}

TEST_F(StartupBoxesTest, GettingStartedUsesItsOwnSection) {
    CStartDlg box(settings);
    EXPECT_EQ(box.windowTitle().toStdString(), "Getting Started");
    EXPECT_TRUE(box.introText()->text().startsWith(QStringLiteral("To begin setting up your system")));
    box.showCheck()->click();
    box.accept();
    EXPECT_EQ(settings.values[kStartKey], "0");
    EXPECT_EQ(settings.values.count(kAboutKey), 0u);
}

TEST_F(StartupBoxesTest, AValueOtherThanZeroOrOneStaysUntilTheUserClicks) {
    settings.values[kAboutKey] = "2";
    {
        CAboutDlg box(settings, 0);
        EXPECT_EQ(box.showCheck()->checkState(), Qt::PartiallyChecked);
        box.accept();
        EXPECT_EQ(settings.values[kAboutKey], "2");
    }
    {
        CAboutDlg box(settings, 0);
        box.showCheck()->click();
        EXPECT_EQ(box.showCheck()->checkState(), Qt::Checked);
        box.showCheck()->click();
        box.showCheck()->click();
        EXPECT_EQ(box.showCheck()->checkState(), Qt::Checked) << "a click only ticks or clears the box";
        box.accept();
        EXPECT_EQ(settings.values[kAboutKey], "1");
    }
}

TEST_F(StartupBoxesTest, StartUpShowsOnlyBoxesWhoseSettingIsExactlyOne) {
    struct Case {
        const char* about;  // nullptr: no key
        const char* start;
        std::vector<std::string> shown;
    };
    const Case cases[] = {
        {nullptr, nullptr, {"AboutBox", "StartBox"}},
        {"1", "1", {"AboutBox", "StartBox"}},
        {"0", "0", {}},
        {"2", "2", {}},
        {"0", "1", {"StartBox"}},
        {"1", "-1", {"AboutBox"}},
    };
    for (const Case& c : cases) {
        settings.values.clear();
        if (c.about) settings.values[kAboutKey] = c.about;
        if (c.start) settings.values[kStartKey] = c.start;
        ModalCloser closer(true);
        RunStartupBoxes(settings, 0, nullptr);
        EXPECT_EQ(closer.seen, c.shown) << (c.about ? c.about : "-") << "/" << (c.start ? c.start : "-");
    }
}

TEST_F(StartupBoxesTest, HelpMenuBoxesShowWhateverTheSetting) {
    settings.values[kAboutKey] = "0";
    settings.values[kStartKey] = "0";
    ModalCloser closer(false);
    ShowAboutBox(settings, 0, nullptr);
    ShowStartBox(settings, nullptr);
    EXPECT_EQ(closer.seen, (std::vector<std::string>{"AboutBox", "StartBox"}));
    EXPECT_EQ(settings.values[kAboutKey], "0");
}

}  // namespace
}  // namespace korvath::ui
