// Labels and buttons made at run time: control ids, captions, colours, accessible roles and
// names, and what check boxes and radio options write into the calibration.

#include <QAccessible>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include "ui/dynui/dynui_fixture.h"

namespace korvath::testing {
namespace {

const char* kDeclarations =
    "Gear   I16 1:0 Def:1\n"
    "Flags  I16 1:2 Def:0\n"
    "Mode   I16 1:4 Def:0\n";

const char* kOptions =
    "[Options]\n"
    "UserOption CheckBox {\n"
    "LogicalName Lockup\n"
    "DisplayName Converter lockup\n"
    "HelpText Locks the converter in top gear.\n"
    "BitValState0 @Flags M:0x1 I:0\n"
    "BitValState1 @Flags M:0x1 I:1\n"
    "}\n"
    "UserOption RadioButton {\n"
    "LogicalName Shift\n"
    "DisplayName Shift style\n"
    "TxtState0 Soft\n"
    "TxtState1 Medium\n"
    "TxtState2 Firm\n"
    "BitValState0 @Mode I:0\n"
    "BitValState1 @Mode I:1\n"
    "BitValState2 @Mode I:2\n"
    "}\n"
    "UserOption RadioButton {\n"
    "LogicalName Range\n"
    "DisplayName Range\n"
    "TxtState0 Low\n"
    "TxtState1 High\n"
    "}\n"
    "UserOption PushButton {\n"
    "LogicalName Nothing\n"
    "DisplayName &Do nothing\n"
    "}\n";

using ui::CDynamicButton;
using ui::CDynamicStatic;

TEST_F(DynamicControlsTest, ControlsTakePoolIdsAndGiveThemBackWithTheirCaptions) {
    Load(kDeclarations, kOptions);
    TestPage& p = Build("[Options]");
    // A check box, two groups of options and frames, a push button.
    ASSERT_EQ(p.buttons.size(), 1u + 4u + 3u + 1u);
    const int used = pool.UsedCount();
    EXPECT_EQ(used, 9);
    for (CDynamicButton* b : p.buttons) {
        EXPECT_TRUE(ui::ControlIdPool::InRange(b->controlId));
        EXPECT_EQ(ui::ControlIdOf(b->widget()), b->controlId);
    }
    EXPECT_EQ(pool.HelpText(p.buttons[0]->controlId).value_or(""), "Locks the converter in top gear.");

    // A label owns its companion; a button its two captions.
    auto* value = new CDynamicStatic(&p, "12.5");
    value->companion = new CDynamicStatic(&p, "Speed");
    EXPECT_EQ(pool.UsedCount(), used + 2);
    delete value;
    p.buttons[0]->companion1 = new CDynamicStatic(&p, "caption");
    p.buttons[0]->companion2 = new CDynamicStatic(&p, "second");
    EXPECT_EQ(pool.UsedCount(), used + 2);
    p.DestroyControls();
    EXPECT_EQ(pool.UsedCount(), 0);
    EXPECT_TRUE(p.findChildren<CDynamicStatic*>().isEmpty());

    // An exhausted pool gives 0, which is released quietly.
    for (int i = 0; i < ui::ControlIdPool::kCount; ++i) pool.AllocateControlId();
    CDynamicStatic late(&p);
    EXPECT_EQ(late.controlId.id(), 0);
}

TEST_F(DynamicControlsTest, CheckBoxWritesItsStateListAndRemembersTheChoice) {
    Load(kDeclarations, kOptions);
    TestPage& p = Build("[Options]");
    auto* box = qobject_cast<QCheckBox*>(p.buttons[0]->widget());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(p.buttons[0]->kind, ui::ButtonKind::CheckBox);
    doc->SetModifiedFlag(false);

    box->click();
    EXPECT_EQ(Int("Flags"), 1);
    EXPECT_TRUE(doc->IsModified());
    std::int32_t stored = -1;
    doc->properties().AccessIntProperty("[Options]", "Lockup", stored, PropertyMode::Read);
    EXPECT_EQ(stored, 1);

    box->click();
    EXPECT_EQ(Int("Flags"), 0);
    doc->properties().AccessIntProperty("[Options]", "Lockup", stored, PropertyMode::Read);
    EXPECT_EQ(stored, 0);

    // A rebuilt page shows the stored choice again.
    box->click();
    p.DestroyControls();
    p.BuildControls();
    EXPECT_EQ(p.buttons[0]->CheckState(), 1);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(DynamicControlsTest, CheckBoxFindsItsBlockInItsOwnSectionOnly) {
    // An earlier section holds a block of the same name: the page's own block decides.
    Load(kDeclarations,
         "[Other]\nUserOption CheckBox {\nLogicalName Lockup\nBitValState1 @Gear I:4\n}\n" + std::string(kOptions));
    TestPage& p = Build("[Options]");
    p.buttons[0]->button()->click();
    EXPECT_EQ(Int("Flags"), 1);
    EXPECT_EQ(Int("Gear"), 1);
}

TEST_F(DynamicControlsTest, RadioOptionStoresItsIndexAndGroupsStayApart) {
    Load(kDeclarations, kOptions);
    TestPage& p = Build("[Options]");
    CDynamicButton* firm = p.buttons[3];
    CDynamicButton* high = p.buttons[6];
    ASSERT_EQ(firm->radioIndex, 2);
    ASSERT_EQ(high->radioIndex, 1);
    p.buttons[1]->SetCheck(1);
    p.buttons[5]->SetCheck(1);

    firm->button()->click();
    EXPECT_EQ(Int("Mode"), 2);
    std::int32_t stored = -1;
    doc->properties().AccessIntProperty("[Options]", "Shift", stored, PropertyMode::Read);
    EXPECT_EQ(stored, 2);
    EXPECT_EQ(p.buttons[1]->CheckState(), 0);

    // The other group keeps its choice; its block has no state lists, so nothing else changes.
    high->button()->click();
    EXPECT_EQ(firm->CheckState(), 1);
    EXPECT_EQ(p.buttons[5]->CheckState(), 0);
    EXPECT_EQ(Int("Mode"), 2);
    doc->properties().AccessIntProperty("[Options]", "Range", stored, PropertyMode::Read);
    EXPECT_EQ(stored, 1);
}

// A check box that counts the runs of its handler.
class CountingCheckBox final : public ui::CDynamicCheckBox {
public:
    using CDynamicCheckBox::CDynamicCheckBox;
    void OnClicked() override { ++runs; }
    int runs = 0;
};

void AccessibleToggle(QWidget* w) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    ASSERT_TRUE(a && a->actionInterface());
    a->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QCoreApplication::processEvents();
}

// Mouse, Space and a screen reader's Toggle run the same handler once each; showing a state does not.
TEST_F(DynamicControlsTest, EveryWayOfChangingAControlRunsItsHandlerOnce) {
    Load(kDeclarations, kOptions);
    TestPage& p = Build("[Options]");
    p.show();
    auto* box = new CountingCheckBox(&p);
    box->setGeometry(400, 10, 15, 20);
    box->show();
    MouseClick(box);
    EXPECT_EQ(box->runs, 1);
    KeyClick(box, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    EXPECT_EQ(box->runs, 2);
    AccessibleToggle(box);
    EXPECT_EQ(box->runs, 3);
    EXPECT_EQ(box->CheckState(), 1);
    box->SetCheck(0);
    QCoreApplication::processEvents();
    EXPECT_EQ(box->runs, 3);

    // Through the page: the check box writes its bit, the option its state.
    AccessibleToggle(p.buttons[0]->widget());
    EXPECT_EQ(Int("Flags"), 1);
    AccessibleToggle(p.buttons[3]->widget());
    EXPECT_EQ(Int("Mode"), 2);
    EXPECT_EQ(p.buttons[1]->CheckState(), 0);
}

TEST_F(DynamicControlsTest, InertButtonsAndButtonsWithoutDocumentIgnoreClicks) {
    Load(kDeclarations, kOptions);
    TestPage& p = Build("[Options]");
    CDynamicButton* nothing = p.buttons.back();
    nothing->kind = ui::ButtonKind::Inert;
    nothing->button()->click();
    EXPECT_TRUE(host.messages.empty());

    // The same push button with its kind back shows the no-target message, captioned without "&".
    nothing->kind = ui::ButtonKind::PushButton;
    nothing->button()->click();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].caption, "Do nothing");
    EXPECT_EQ(host.messages[0].style, MessageStyle::IconExclamation);
    EXPECT_NE(host.messages[0].text.find("No target set for this button."), std::string::npos);

    p.buttons[0]->document = nullptr;
    p.buttons[0]->button()->click();
    EXPECT_EQ(Int("Flags"), 0);
}

TEST_F(DynamicControlsTest, LinkedCaptionTogglesItsButtonAndNamesIt) {
    Load(kDeclarations, kOptions);
    TestPage& p = Build("[Options]");
    p.show();
    CDynamicButton* legend = ui::CreateDynamicButton(ui::ButtonKind::CheckBox, &p, QString());
    legend->widget()->setGeometry(400, 10, 15, 20);
    auto* caption = new CDynamicStatic(&p, "1-2 Upshift");
    caption->setGeometry(418, 10, 100, 20);
    caption->LinkButton(legend);
    legend->companion1 = caption;
    caption->show();

    MouseClick(caption);
    EXPECT_EQ(legend->CheckState(), 1);
    MouseDoubleClick(caption);  // the second click of a double-click toggles again
    EXPECT_EQ(legend->CheckState(), 0);
    MouseClick(caption);

    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(legend->widget());
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->role(), QAccessible::CheckBox);
    EXPECT_EQ(a->text(QAccessible::Name), "1-2 Upshift");
    EXPECT_TRUE(a->state().checked);

    // The caption forgets a button that has gone.
    auto* orphan = new CDynamicStatic(&p, "orphan");
    CDynamicButton* gone = ui::CreateDynamicButton(ui::ButtonKind::CheckBox, &p, QString());
    orphan->LinkButton(gone);
    delete gone;
    EXPECT_FALSE(orphan->linkedButton);
    MouseClick(orphan);
    delete legend;
    EXPECT_TRUE(p.findChildren<CDynamicStatic*>(QString(), Qt::FindDirectChildrenOnly).size() == 1);
}

TEST_F(DynamicControlsTest, ColouredLabelPaintsItsColoursAndPlainOneThePalette) {
    QWidget parent;
    parent.resize(200, 60);
    auto* label = new CDynamicStatic(&parent, "--");
    label->setGeometry(0, 0, 100, 40);
    label->SetColors(0x00FFFFFF, 0x000000FF);  // white back, red text
    EXPECT_EQ(label->colored, 1);
    QImage image = label->grab().toImage();
    EXPECT_EQ(image.pixelColor(2, 2), QColor(255, 255, 255));
    label->backColor = 0x00FF0000;  // blue, through the members alone
    label->backBrush = QBrush();
    image = label->grab().toImage();
    EXPECT_EQ(image.pixelColor(2, 2), QColor(0, 0, 255));
    label->colored = 0;
    image = label->grab().toImage();
    EXPECT_NE(image.pixelColor(2, 2), QColor(0, 0, 255));

    // The focus frame lies one pixel outside the label, on the parent.
    QImage surface(200, 60, QImage::Format_RGB32);
    surface.fill(Qt::white);
    {
        QPainter painter(&surface);
        label->DrawFocusFrame(painter);
    }
    EXPECT_NE(surface.pixelColor(100, 20), QColor(Qt::white));
    EXPECT_EQ(surface.pixelColor(103, 20), QColor(Qt::white));
}

TEST_F(DynamicControlsTest, HelpKeyShowsTheHelpTextOrNothingAndGoesNoFurther) {
    Load(kDeclarations, kOptions);
    TestPage& p = Build("[Options]");
    p.show();
    QWidget* box = p.buttons[0]->widget();
    box->setFocus();
    KeyClick(box, Qt::Key_F1);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "Locks the converter in top gear.");
    EXPECT_EQ(host.messages[0].caption, "Korvath Tuning System");

    QWidget* plain = p.buttons.back()->widget();
    KeyClick(plain, Qt::Key_F1);
    EXPECT_EQ(host.messages.size(), 1u);
    QKeyEvent override(QEvent::ShortcutOverride, Qt::Key_F1, Qt::NoModifier);
    QCoreApplication::sendEvent(plain, &override);
    EXPECT_TRUE(override.isAccepted());
}

TEST_F(DynamicControlsTest, ButtonsShowTheirRolesToAssistiveTools) {
    Load(kDeclarations, kOptions);
    TestPage& p = Build("[Options]");
    const auto role = [](QWidget* w) { return QAccessible::queryAccessibleInterface(w)->role(); };
    EXPECT_EQ(role(p.buttons[0]->widget()), QAccessible::CheckBox);
    EXPECT_EQ(role(p.buttons[1]->widget()), QAccessible::RadioButton);
    EXPECT_EQ(role(p.buttons[4]->widget()), QAccessible::Grouping);
    EXPECT_EQ(role(p.buttons.back()->widget()), QAccessible::Button);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(p.buttons[4]->widget())->text(QAccessible::Name), "Shift style");
}

}  // namespace
}  // namespace korvath::testing
