// The System Settings window and the Initial Setup wizard on the demo definition: every page and
// control as assistive tools see it, pixel places, variants with pictures, the transmission
// switch, the wizard's buttons, and a change that reaches the saved file and the image.
//
// KORVATH_PICTURES=<folder> saves a picture of each page there; KORVATH_KEEP_CALIBRATION=<file>
// keeps the calibration saved after a page change (to write it to the simulator by hand).

#include <QAccessible>
#include <QDir>
#include <QPointer>
#include <QScrollBar>
#include <QTabWidget>
#include <cstdlib>

#include "calibration/calibration_file.h"
#include "ui/dynui/dynui_fixture.h"
#include "ui/settings/dynamicpropertysheet.h"
#include "ui/settings/settingspage.h"

namespace korvath::testing {
namespace {

using ui::CDynamicPropertySheet;
using ui::CSettingsPage;
const std::string kBinDir = KORVATH_BIN_DIR;

class SettingsSheetTest : public DynamicControlsTest {
protected:
    void SetUp() override {
        doc = std::make_unique<CQRNDoc>(DocumentHost{host, host, settings}, kBinDir);
        ASSERT_TRUE(doc->LoadDefinitionFile(kBinDir + "/PID2/3/KV4.def"));
        doc->ReadApplicationID();
        ASSERT_TRUE(doc->ReadDeclarations(1));
        doc->calibration().application.DefinitionFileName = "KV4.def";
        host.messages.clear();
    }
    std::unique_ptr<CDynamicPropertySheet> Sheet(SheetMode mode) {
        auto sheet = std::make_unique<CDynamicPropertySheet>(mode == SheetMode::SystemSettings ? "System Settings" : "Initial Setup",
                                                             144, mode);
        EXPECT_TRUE(sheet->BuildPages(doc.get()));
        sheet->SetTabTexts();
        return sheet;
    }
    static void Picture(CDynamicPropertySheet& sheet, const QString& name) {
        sheet.show();
        Settle();
        if (const char* folder = std::getenv("KORVATH_PICTURES"))
            sheet.grab().save(QDir(QString::fromLocal8Bit(folder)).filePath(name + ".png"));
    }
    static QRect At(QWidget* w) { return w->geometry(); }
    // The user picks entry `text` of a page's list.
    static void Choose(CSettingsPage* page, ui::CDynamicComboBox* combo, const QString& text) {
        combo->setCurrentIndex(combo->findText(text));
        page->OnComboChange(combo->index);
        Settle();
    }
};

TEST_F(SettingsSheetTest, SystemSettingsShowsEveryDemoPageAndItsControls) {
    auto sheet = Sheet(SheetMode::SystemSettings);
    ASSERT_EQ(sheet->pageCount(), 4);
    EXPECT_EQ(sheet->tabs()->tabText(1), "Torque Converter");
    EXPECT_EQ(sheet->activeIndex(), 0);
    sheet->VisitPages();
    for (int i = 0; i < sheet->pageCount(); ++i) {
        CSettingsPage* shown = sheet->page(i);
        EXPECT_TRUE(shown->IsBuilt());
        for (QWidget* w : shown->findChildren<QWidget*>()) {
            if (!ui::ControlIdPool::InRange(ui::ControlIdOf(w)) || qobject_cast<QLabel*>(w)) continue;
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
            ASSERT_NE(a, nullptr);
            EXPECT_FALSE(a->text(QAccessible::Name).isEmpty()) << w->metaObject()->className() << " on page " << i;
        }
        sheet->tabs()->setCurrentIndex(i);
        Picture(*sheet, QStringLiteral("settings-page-%1").arg(i));
    }
    EXPECT_TRUE(host.messages.empty());
    // The transmission page lists both demo transmissions and selects the calibration's.
    ui::CDynamicComboBox* types = sheet->page(0)->selector();
    ASSERT_NE(types, nullptr);
    EXPECT_GE(types->findText("KV5 Five-Speed"), 0);
    EXPECT_EQ(types->currentText(), "KV4 Four-Speed");
    EXPECT_EQ(types->label->text(), "Choose Transmission Type:");

    // The converter page: variants with a picture, options from y 210 in the Part's pixels.
    CSettingsPage* converter = sheet->page(1);
    ui::CDynamicComboBox* variants = converter->selector();
    ASSERT_NE(variants, nullptr);
    EXPECT_EQ(variants->count(), 3);
    EXPECT_EQ(variants->currentText(), "Standard converter");
    EXPECT_EQ(Int("SYCONFIG2"), 0);
    EXPECT_TRUE(variants->picture->isVisibleTo(converter));
    EXPECT_EQ(At(variants->picture.get()), QRect(350, 5, 330, 200));
    ASSERT_EQ(converter->combos().size(), 3u);
    EXPECT_EQ(At(converter->combos()[1]->label.get()), QRect(10, 210, 330, 20));
    ASSERT_EQ(converter->edits().size(), 2u);
    EXPECT_EQ(At(converter->edits()[0]), QRect(10, 290, 140, 20));
    EXPECT_EQ(At(converter->edits()[1]->label.get()), QRect(175, 270, 140, 20));
    EXPECT_EQ(converter->buttons().size(), 1u);  // the low-range box needs four-wheel drive

    // Four-wheel drive rebuilds the page, which then has the low-range box.
    Choose(converter, converter->combos()[1], "Four-wheel drive");
    EXPECT_EQ(Int("FourWheelDrive"), 1);
    ASSERT_EQ(converter->buttons().size(), 2u);
    EXPECT_EQ(converter->buttons()[1]->ButtonText(), "Lock up in low range");

    // Another variant: its fixed values, its options, its picture; one without a picture hides it.
    Choose(converter, variants, "High-stall converter");
    EXPECT_EQ(Int("SYCONFIG2"), 1);
    EXPECT_EQ(converter->buttons().size(), 3u + 1u + 1u);  // three options, the frame, the help button
    EXPECT_TRUE(variants->picture->isVisibleTo(converter));
    sheet->tabs()->setCurrentIndex(1);
    Picture(*sheet, "settings-page-1-highstall");
    Choose(converter, variants, "Converter without lock-up clutch");
    EXPECT_EQ(Int("TCCEnable"), 0);
    EXPECT_FALSE(variants->picture->isVisibleTo(converter));
    ASSERT_EQ(converter->texts().size(), 1u);
    EXPECT_EQ(At(converter->texts()[0]), QRect(10, 230, 680, 300));
    Picture(*sheet, "settings-page-1-nolockup");
}

TEST_F(SettingsSheetTest, AnotherTransmissionReplacesThePagesAfterTheFirst) {
    auto sheet = Sheet(SheetMode::SystemSettings);
    CSettingsPage* first = sheet->page(0);
    QPointer<CSettingsPage> second = sheet->page(1);
    Choose(first, first->selector(), "KV5 Five-Speed");
    EXPECT_EQ(doc->calibration().application.LogicalName, "KV5");
    EXPECT_EQ(doc->calibration().application.DefinitionFileName, "KV5.def");
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(sheet->page(0), first);
    EXPECT_EQ(sheet->PageIndex(second.data()), -1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(second.isNull());
    ASSERT_EQ(sheet->pageCount(), 4);
    EXPECT_EQ(sheet->tabs()->count(), 4);
    EXPECT_EQ(sheet->tabs()->tabText(2), "Five-Speed Program");
    EXPECT_EQ(first->selector()->currentText(), "KV5 Five-Speed");
    EXPECT_NE(doc->reader().text().find("Sport program"), std::string::npos);
    sheet->SetActivePage(2);
    EXPECT_TRUE(sheet->page(2)->IsBuilt());
}

TEST_F(SettingsSheetTest, WizardButtonsFollowThePages) {
    auto wizard = Sheet(SheetMode::SetupWizard);
    ASSERT_EQ(wizard->pageCount(), 3);
    EXPECT_EQ(wizard->tabs(), nullptr);
    auto shown = [&] {
        return std::tuple{wizard->backButton()->isEnabled(), wizard->nextButton()->isEnabled(),
                          wizard->finishButton()->isVisibleTo(wizard.get()), wizard->nextButton()->isVisibleTo(wizard.get())};
    };
    EXPECT_EQ(shown(), std::tuple(false, true, false, true));
    wizard->nextButton()->click();
    EXPECT_EQ(shown(), std::tuple(true, true, false, true));
    Picture(*wizard, "wizard-page-1");
    wizard->nextButton()->click();
    EXPECT_EQ(shown(), std::tuple(true, false, true, false));
    wizard->backButton()->click();
    EXPECT_EQ(wizard->activeIndex(), 1);

    // Without a wizard list: the transmission page alone, left with Cancel.
    Load("", "[ApplicationID]\nLogicalName X\n");
    auto single = Sheet(SheetMode::SetupWizard);
    ASSERT_EQ(single->pageCount(), 1);
    EXPECT_EQ(single->page(0)->title, "Transmission Type");
    EXPECT_FALSE(single->backButton()->isEnabled() || single->nextButton()->isEnabled());
    EXPECT_FALSE(single->finishButton()->isVisibleTo(single.get()));
    // And System Settings has two blank tabs that cannot be chosen.
    auto fallback = Sheet(SheetMode::SystemSettings);
    ASSERT_EQ(fallback->pageCount(), 3);
    EXPECT_FALSE(fallback->tabs()->isTabEnabled(1));
    EXPECT_FALSE(fallback->SetActivePage(2));
    EXPECT_EQ(fallback->activeIndex(), 0);
}

TEST_F(SettingsSheetTest, BrokenPagesShowWhatTheyCan) {
    const std::string pages =
        "[ConfigurationDialog]\nTab0 Nowhere\nTab1 Pic\n"
        "[Pic]\nLogicalName A\nDisplayName A\nDisplayPic pics/bad.bmp\n[Pic]\nLogicalName B\nDisplayName B\n"
        "DisplayPic ../outside.png\n";
    Load("", pages);
    dir.Write("pics/bad.bmp", "BM not a picture");
    doc = std::make_unique<CQRNDoc>(DocumentHost{host, host, settings}, dir.path());
    ASSERT_TRUE(doc->LoadDefinitionFile(dir.Write("t.def", pages)));
    auto sheet = Sheet(SheetMode::SystemSettings);
    sheet->VisitPages();
    EXPECT_TRUE(sheet->page(0)->combos().empty());
    CSettingsPage* pic = sheet->page(1);
    ASSERT_NE(pic->selector(), nullptr);
    EXPECT_FALSE(pic->selector()->picture->isVisibleTo(pic));
    Choose(pic, pic->selector(), "B");
    EXPECT_FALSE(pic->selector()->picture->isVisibleTo(pic));
}

// The window models' fuzz seeds with spaces past int's range: the page stays within its bound
// and its controls stand where the core placed them.
TEST_F(SettingsSheetTest, HostileSpacesKeepThePageBounded) {
    for (const char* seed : {"page-space-overflow", "page-space-underflow"}) {
        SCOPED_TRACE(seed);
        doc = std::make_unique<CQRNDoc>(DocumentHost{host, host, settings}, dir.path());
        ASSERT_TRUE(doc->LoadDefinitionFile(std::string(KORVATH_SOURCE_DIR) + "/tests/fuzz/corpus/window_models/" + seed + ".def"));
        auto sheet = Sheet(SheetMode::SystemSettings);
        ASSERT_EQ(sheet->pageCount(), 1);
        sheet->VisitPages();
        CSettingsPage* shown = sheet->page(0);
        EXPECT_LE(shown->height(), settings_layout::kMaxCoordinate + 100);
        const auto controls = shown->findChildren<QWidget*>();
        ASSERT_FALSE(controls.empty());
        for (QWidget* w : controls) EXPECT_LT(std::abs(w->y()), settings_layout::kMaxCoordinate + 100);
        Picture(*sheet, QString::fromLatin1(seed));
    }
}

TEST_F(SettingsSheetTest, ChangeOnAPageReachesTheSavedFileAndTheImage) {
    auto sheet = Sheet(SheetMode::SystemSettings);
    sheet->SetActivePage(1);
    CSettingsPage* converter = sheet->page(1);
    Choose(converter, converter->combos()[2], "Quick");
    EXPECT_EQ(Int("PSOM"), 2);
    std::vector<std::uint8_t> image(256);
    ASSERT_TRUE(doc->ExchangeImage(image.data(), image.size(), 1));
    EXPECT_EQ(image[59], 2);
    const std::string saved = dir.File("saved.qvr");
    ASSERT_TRUE(SaveCalibrationFile(*doc, saved));
    if (const char* keep = std::getenv("KORVATH_KEEP_CALIBRATION")) SaveCalibrationFile(*doc, keep);
    CQRNDoc reopened(DocumentHost{host, host, settings}, kBinDir);
    ASSERT_TRUE(OpenCalibrationFile(reopened, saved, {.identify = [](CQRNDoc&) {}, .refreshSettingsSheet = [](CQRNDoc&) {}}));
    EXPECT_EQ(reopened.FindIntVariable("PSOM").get(), 2);
    std::int32_t stored = -1;
    reopened.properties().AccessIntProperty("[ConverterType]", "LockFirmness", stored, PropertyMode::Read);
    EXPECT_EQ(stored, 2);
}

TEST_F(SettingsSheetTest, TypedTextsComeBackExactlyAfterSaveAndReopen) {
    auto sheet = Sheet(SheetMode::SystemSettings);
    sheet->SetActivePage(2);
    CSettingsPage* program = sheet->page(2);
    ASSERT_EQ(program->texts().size(), 2u);
    ui::CDynamicText* vehicle = program->texts()[0];
    ui::CDynamicText* notes = program->texts()[1];
    // The vehicle name is one line: Enter ends it, and what was typed stays in sight.
    vehicle->selectAll();
    TypeText(vehicle, "Truck 42");
    EXPECT_TRUE(KeyClick(vehicle, Qt::Key_Return));
    EXPECT_EQ(vehicle->toPlainText(), "Truck 42");
    EXPECT_EQ(vehicle->verticalScrollBar()->value(), 0);
    // The notes are many lines: every printable character, and a line break, as typed.
    QString every;
    for (char16_t c = u' '; c <= u'~'; ++c) every += QChar(c);
    every += QStringLiteral("\u00e9\u20ac");
    TypeText(notes, QStringLiteral("Customer: J. Smith"));
    KeyClick(notes, Qt::Key_Return);
    TypeText(notes, every);
    const QString typed = QStringLiteral("Customer: J. Smith\n") + every;
    EXPECT_EQ(notes->toPlainText(), typed);
    Picture(*sheet, "settings-page-2-typed");

    const std::string saved = dir.File("texts.qvr");
    ASSERT_TRUE(SaveCalibrationFile(*doc, saved));
    auto reopened = std::make_unique<CQRNDoc>(DocumentHost{host, host, settings}, kBinDir);
    ASSERT_TRUE(OpenCalibrationFile(*reopened, saved, {.identify = [](CQRNDoc&) {}, .refreshSettingsSheet = [](CQRNDoc&) {}}));
    sheet.reset();
    doc = std::move(reopened);
    auto again = Sheet(SheetMode::SystemSettings);
    again->SetActivePage(2);
    ASSERT_EQ(again->page(2)->texts().size(), 2u);
    EXPECT_EQ(again->page(2)->texts()[0]->toPlainText(), "Truck 42");
    EXPECT_EQ(again->page(2)->texts()[1]->toPlainText(), typed);
}

}  // namespace
}  // namespace korvath::testing
