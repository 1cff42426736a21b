// Edit boxes, formula buttons, program and help-topic buttons, text boxes and combo boxes on a
// test page, driven with keys, the wheel and clicks; and the "GlobalInfluence" actions.

#include <QAccessible>
#include <QFocusEvent>
#include <filesystem>
#include <signal.h>

#include "document/view_host.h"
#include "ui/dynui/dynui_fixture.h"

namespace korvath::testing {
namespace {

const char* kDeclarations =
    "Gear   I16 1:0 Def:1\n"
    "Press  I16 1:2 Def:0\n"
    "Ratio  F32 1:4 Def:1\n"
    "Name   STR 2:0 Def:Demo\n";

std::string EditPage(const std::string& extra = "") {
    return "[Numbers]\n"
           "UserOption EditBox {\nLogicalName Bare\nDisplayName Plain number\n}\n"
           "UserOption EditBox {\nLogicalName Gear\nDisplayName Gear\nStoreFormula I@Gear = x\nMinValue -10\n}\n"
           "UserOption EditBox {\nLogicalName Rpm\nDisplayName Engine speed\nDisplayFormula %.0f rpm = x*100\n"
           "StoreFormula F@Ratio = x/100\n}\n"
           "UserOption PushButton {\nLogicalName Twelve\nDisplayName &Twelve\nTargetLName Bare\n"
           "ActionFormula %.1f = 3*4\nActionFailText No value.\nRangeFailFmt %.1f is outside %.1f to %.1f\n}\n"
           "UserOption PushButton {\nLogicalName Ten\nDisplayName T&en at most\nTargetLName Bare\n"
           "ActionFormula %.1f = 3*4\nRangeFailFmt %.1f is outside %.1f to %.1f\nMaxValue 10\n}\n"
           "UserOption PushButton {\nLogicalName Later\nDisplayName Later\nTargetLName Afterwards\n"
           "ActionFormula %.1f = 1\n}\n"
           "UserOption EditBox {\nLogicalName Afterwards\nDisplayName Afterwards\n}\n" +
           extra;
}

class EditBoxTest : public DynamicControlsTest {
protected:
    ui::CDynamicEdit* Edit(std::size_t i) { return page->edits[i]; }
    QString Shown(std::size_t i) { return Edit(i)->QLineEdit::text(); }
    void Type(ui::CDynamicEdit* e, const QString& text) {
        e->selectAll();
        TypeText(e, text);
    }
};

TEST_F(EditBoxTest, FieldsShowTheirNumbersAndCommitOnEnterSpaceAndFocusLoss) {
    Load(kDeclarations, EditPage());
    TestPage& p = Build("[Numbers]");
    ASSERT_EQ(p.edits.size(), 4u);
    EXPECT_EQ(Shown(0), "1.00");
    EXPECT_EQ(Shown(1), "1.00");
    EXPECT_EQ(Shown(2), "100 rpm");

    Type(Edit(0), "20000");
    KeyClick(Edit(0), Qt::Key_Return);
    EXPECT_EQ(Shown(0), "10000.00");

    // Space commits and is never typed.
    Type(Edit(1), "2.6");
    EXPECT_TRUE(KeyClick(Edit(1), Qt::Key_Space, Qt::NoModifier, " "));
    EXPECT_EQ(Int("Gear"), 3);
    EXPECT_EQ(Shown(1), "3.00");
    Type(Edit(1), "-2.6");
    KeyClick(Edit(1), Qt::Key_Enter);
    EXPECT_EQ(Int("Gear"), -2);

    Type(Edit(2), "800");
    KeyClick(Edit(2), Qt::Key_Return);
    EXPECT_FLOAT_EQ(Float("Ratio"), 8.0f);
    EXPECT_EQ(Shown(2), "800 rpm");

    // Letters are replaced by the number when the field is left.
    Type(Edit(0), "abc");
    EXPECT_EQ(Shown(0), "abc");
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(Edit(0), &out);
    EXPECT_EQ(Shown(0), "10000.00");
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(EditBoxTest, ArrowKeysAndWheelStepTheNumber) {
    Load(kDeclarations, EditPage());
    TestPage& p = Build("[Numbers]");
    (void)p;
    doc->SetModifiedFlag(false);
    KeyClick(Edit(0), Qt::Key_Up);
    EXPECT_EQ(Shown(0), "2.00");
    EXPECT_TRUE(doc->IsModified());
    KeyClick(Edit(0), Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(Shown(0), "7.00");
    KeyClick(Edit(0), Qt::Key_Down);
    EXPECT_EQ(Shown(0), "6.00");

    Wheel(Edit(0), 60);
    EXPECT_EQ(Shown(0), "6.00");
    Wheel(Edit(0), 60);
    EXPECT_EQ(Shown(0), "7.00");
    Wheel(Edit(0), -240);
    EXPECT_EQ(Shown(0), "5.00");
    // Typing drops what the wheel had not yet made a step of.
    Wheel(Edit(0), 100);
    KeyClick(Edit(0), Qt::Key_Return);
    Wheel(Edit(0), 100);
    EXPECT_EQ(Shown(0), "5.00");

    // The field holds at most 70 characters and carries its caption's name.
    Type(Edit(0), QString(80, QLatin1Char('9')));
    EXPECT_EQ(Shown(0).size(), 70);
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(Edit(2));
    EXPECT_EQ(a->role(), QAccessible::EditableText);
    EXPECT_EQ(a->text(QAccessible::Name), "Engine speed");
    EXPECT_EQ(a->text(QAccessible::Value), "100 rpm");
}

TEST_F(EditBoxTest, FormulaButtonFillsItsTargetOrExplainsWhy) {
    Load(kDeclarations, EditPage());
    TestPage& p = Build("[Numbers]");
    ASSERT_EQ(p.buttons.size(), 3u);
    EXPECT_EQ(p.buttons[0]->target, Edit(0));
    EXPECT_EQ(p.buttons[2]->target, nullptr);  // its edit box stands later in the section

    p.buttons[0]->button()->click();
    EXPECT_EQ(Shown(0), "12.00");
    std::string stored;
    doc->properties().AccessProperty("[Numbers]", "Bare", stored, PropertyMode::Read);
    EXPECT_EQ(stored, "12");
    EXPECT_TRUE(host.messages.empty());

    KeyClick(Edit(0), Qt::Key_Down);
    p.buttons[1]->button()->click();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "12.0 is outside 0.1 to 10.0");
    EXPECT_EQ(host.messages[0].caption, "Ten at most");
    EXPECT_EQ(Shown(0), "11.00");

    p.buttons[2]->button()->click();
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_NE(host.messages[1].text.find("No target set for this button."), std::string::npos);
}

TEST_F(EditBoxTest, UnresolvedReferenceShowsTheFailText) {
    Load(kDeclarations, "[Numbers]\nUserOption EditBox {\nLogicalName Bare\n}\n"
                        "UserOption PushButton {\nLogicalName B\nDisplayName Go\nTargetLName Bare\n"
                        "ActionFormula %.1f = I:Missing: + 1\nActionFailText Could not read it.\n}\n");
    TestPage& p = Build("[Numbers]");
    host.messages.clear();
    p.buttons[0]->button()->click();
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages.back().text, "Could not read it.");
    EXPECT_EQ(Shown(0), "1.00");
}

// Records what the document asks of the windows.
struct RecordingViews : ViewHost {
    void RebuildBars() override { ++bars; }
    void RedrawView() override { ++redraws; }
    void RefreshSheetPages(void*) override { ++sheets; }
    void RefreshSettingsSheet(int) override {}
    int bars = 0, redraws = 0, sheets = 0;
};

TEST_F(EditBoxTest, InfluenceRunsAfterTheEventAndRebuildsThePageSafely) {
    Load(kDeclarations, "[Numbers]\nUserOption EditBox {\nLogicalName G\nDisplayName G\nStoreFormula I@Gear = x\n"
                        "MaxValue 5\nGlobalInfluence 10\n}\n"
                        "UserOption CheckBox {\nLogicalName C\nDisplayName C\n}\n");
    RecordingViews views;
    doc->SetViewHost(&views);
    doc->FindIntVariable("Gear").set(9);

    // The build clamps Gear: it finishes with all its controls, the page is not rebuilt inside it,
    // and the full refresh runs once afterwards.
    TestPage& p = Build("[Numbers]");
    EXPECT_EQ(p.edits.size(), 1u);
    EXPECT_EQ(p.buttons.size(), 1u);
    EXPECT_EQ(Int("Gear"), 5);
    EXPECT_EQ(views.bars, 0);
    Settle();
    EXPECT_EQ(views.bars, 1);
    EXPECT_EQ(p.builds, 1);

    // A build that changes nothing asks for nothing.
    p.DestroyControls();
    p.BuildControls();
    Settle();
    EXPECT_EQ(views.bars, 1);

    // A user's step: refresh, then the page is rebuilt, although the field asked for it itself.
    KeyClick(p.edits[0], Qt::Key_Down);
    EXPECT_EQ(p.builds, 2);
    Settle();
    EXPECT_EQ(views.bars, 2);
    EXPECT_EQ(p.builds, 3);
    EXPECT_EQ(Int("Gear"), 4);
    EXPECT_EQ(p.edits[0]->QLineEdit::text(), "4.00");
    doc->SetViewHost(nullptr);
}

TEST_F(EditBoxTest, ProgramAndHelpTopicButtonsStayInTheProgramDirectory) {
    dir.Write("Manual.rtf", "{\\rtf1 }");
    dir.Write("Manual.RTF", "{\\rtf1 }");
    dir.Write("tools/wait.sh", "#!/bin/sh\nexec sleep 30\n");
    std::filesystem::permissions(dir.File("tools/wait.sh"), std::filesystem::perms::owner_all);
    const auto program = [](const std::string& name, const std::string& execute) {
        return "UserOption PushButton {\nLogicalName " + name + "\nDisplayName " + name + "\n" + execute + "}\n";
    };
    Load(kDeclarations, "[Tools]\n" + program("Help", "Execute Manual.rtf\n") +
                            program("Upper", "Execute Manual.RTF\n") + program("Wait", "Execute tools/wait.sh\n") +
                            program("Up", "Execute ../../bin/sh\n") + program("Abs", "Execute /bin/sh\n") +
                            program("Alt", "AltExecute tools/other.sh\nExecute tools/wait.sh\n") +
                            program("Fmt", "TargetLName Nowhere\nRangeFailFmt %s%s%n\n"));
    TestPage& p = Build("[Tools]");
    ASSERT_EQ(p.buttons.size(), 7u);

    p.buttons[0]->button()->click();
    ASSERT_EQ(helpTopics.size(), 1u);
    EXPECT_EQ(helpTopics[0], dir.File("Manual.rtf"));
    EXPECT_TRUE(host.messages.empty());

    // Upper case is a program; a file that cannot run gives the message.
    p.buttons[1]->button()->click();
    EXPECT_EQ(helpTopics.size(), 1u);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].text.find("Could not open external program."), std::string::npos);

    // A second click while the program runs starts nothing new.
    p.buttons[2]->button()->click();
    const long long pid = p.buttons[2]->process;
    ASSERT_GT(pid, 0);
    p.buttons[2]->button()->click();
    EXPECT_EQ(p.buttons[2]->process, pid);
    EXPECT_EQ(host.messages.size(), 1u);
    ::kill(static_cast<pid_t>(pid), SIGKILL);

    for (std::size_t i : {3u, 4u}) {
        p.buttons[i]->button()->click();
        EXPECT_EQ(p.buttons[i]->process, 0) << i;
    }
    EXPECT_EQ(host.messages.size(), 3u);
    EXPECT_EQ(p.buttons[5]->actionFormula, "tools/other.sh");
    p.buttons[6]->button()->click();  // no target, hostile format: the no-target message
    EXPECT_EQ(host.messages.size(), 4u);
}

TEST_F(DynamicControlsTest, TextBoxWritesEveryChangeToItsVariableOrProperty) {
    Load(kDeclarations, "[Texts]\nUserOption TextBox {\nLogicalName VarText\nDisplayName Vehicle\nTargetVar  Name \n}\n"
                        "UserOption TextBox {\nLogicalName Notes\nDisplayName Notes\nGlobalInfluence 1\n}\n"
                        "UserOption TextBox {\nLogicalName Broken\nDisplayName Broken\nTargetVar Nothing\n}\n");
    TestPage& p = Build("[Texts]");
    ASSERT_EQ(p.texts.size(), 3u);
    EXPECT_EQ(p.texts[0]->toPlainText(), "Demo");
    EXPECT_FALSE(doc->IsModified());  // showing is no change
    EXPECT_EQ(host.messages.size(), 1u);  // the missing variable, once
    EXPECT_TRUE(p.texts[2]->isReadOnly());

    p.texts[0]->setFocus();
    p.texts[0]->moveCursor(QTextCursor::End);
    TypeText(p.texts[0], "x");
    EXPECT_EQ(p.texts[0]->text, "Demox");
    const int slot = doc->FindStringVariable("Name");
    EXPECT_EQ(doc->variables().slots[static_cast<std::size_t>(slot)].name, "Demox");
    EXPECT_TRUE(doc->IsModified());

    TypeText(p.texts[1], "ab");
    std::string stored;
    doc->properties().AccessProperty("[Texts]", "Notes", stored, PropertyMode::Read);
    EXPECT_EQ(stored, "ab");
    TypeText(p.texts[2], "lost");
    EXPECT_EQ(host.messages.size(), 1u);

    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(p.texts[1]);
    EXPECT_EQ(a->text(QAccessible::Name), "Notes");
    EXPECT_TRUE(a->state().multiLine);
}

TEST_F(DynamicControlsTest, ComboBoxTellsItsPageOfTheUsersChoiceOnly) {
    Load(kDeclarations, "[Lists]\nUserOption ComboBox {\nLogicalName Firm\nDisplayName Firmness\n"
                        "ListTxt0 Soft\nListTxt1 Medium\nListTxt2 Firm\n}\n");
    TestPage& p = Build("[Lists]");
    ui::CDynamicComboBox* combo = p.combos[0];
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->itemText(2), "Firm");
    combo->setCurrentIndex(1);  // as the page selects while building
    Settle();
    EXPECT_TRUE(p.comboChanges.empty());
    Q_EMIT combo->activated(2);  // the user's choice
    EXPECT_TRUE(p.comboChanges.empty());  // told from the event loop
    Settle();
    EXPECT_EQ(p.comboChanges, std::vector<int>{0});

    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(combo);
    EXPECT_EQ(a->role(), QAccessible::ComboBox);
    // On Linux a list's name is its current entry; its caption is told as its label.
    EXPECT_EQ(a->text(QAccessible::Value), "Medium");
    const auto labels = a->relations(QAccessible::Label);
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels[0].first->text(QAccessible::Name), "Firmness");
}

}  // namespace
}  // namespace korvath::testing
