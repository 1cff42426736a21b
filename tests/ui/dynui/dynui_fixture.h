#pragma once
// The run-time controls on a page of their own: a document on a test definition, a control-id
// pool and recording message host installed as the controls' environment, and a page that makes
// one control per "UserOption" block of a section, stacked from the top, as a settings page would.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "document/qrndoc.h"
#include "platform/printf_format.h"
#include "support/qt_test_app.h"
#include "support/recording_host.h"
#include "ui/app/control_id_pool.h"
#include "ui/dynui/control_page.h"
#include "ui/dynui/dynamicbutton.h"
#include "ui/dynui/dynamiccombobox.h"
#include "ui/dynui/dynamicedit.h"
#include "ui/dynui/dynamicstatic.h"
#include "ui/dynui/dynamictext.h"

namespace korvath::testing {

// Input as the window system delivers it.
inline void MouseClick(QWidget* w, QEvent::Type type = QEvent::MouseButtonPress) {
    const QPointF at(3, 3);
    QMouseEvent press(type, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(w, &release);
}
inline void MouseDoubleClick(QWidget* w) { MouseClick(w, QEvent::MouseButtonDblClick); }
// Returns whether the widget accepted the key press.
inline bool KeyClick(QWidget* w, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                     const QString& text = QString()) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QCoreApplication::sendEvent(w, &release);
    return press.isAccepted();
}
inline void TypeText(QWidget* w, const QString& text) {
    for (QChar c : text) KeyClick(w, c.unicode() >= 'a' && c.unicode() <= 'z' ? Qt::Key_A + (c.unicode() - 'a') : c.unicode(),
                                  Qt::NoModifier, QString(c));
}
inline void Wheel(QWidget* w, int delta) {
    const QPointF at(3, 3);
    QWheelEvent wheel(at, w->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(w, &wheel);
}

class TestPage : public QWidget, public ui::ControlPage {
public:
    TestPage(CQRNDoc& doc, std::string section) : doc_(doc), section_(std::move(section)) { resize(700, 600); }
    ~TestPage() override { DestroyControls(); }

    const std::string& PageSection() const override { return section_; }
    const std::string& PageLogicalName() const override { return logicalName_; }
    void* PageSheet() const override { return nullptr; }
    QWidget* PageWidget() override { return this; }
    ui::CDynamicEdit* FindEditBox(std::string_view name) override {
        for (ui::CDynamicEdit* e : edits)
            if (e->logicalName == name) return e;
        return nullptr;
    }
    void DestroyControls() override {
        for (ui::CDynamicButton* b : buttons) delete b;
        for (ui::CDynamicEdit* e : edits) delete e;
        for (ui::CDynamicText* t : texts) delete t;
        for (ui::CDynamicComboBox* c : combos) delete c;
        buttons.clear(), edits.clear(), texts.clear(), combos.clear();
        y_ = 5;
    }
    void BuildControls() override {
        ++builds;
        ui::ControlBuildScope scope(*this, &doc_);
        DefinitionReader& reader = doc_.reader();
        if (!reader.FindSection(section_, 0)) return;
        std::string label;
        for (int next = 0; reader.FindBlock("UserOption", label, next); next = 1) {
            std::string name, display;
            reader.ReadKeyString("LogicalName", name, 51, 1);
            reader.ReadKeyString("DisplayName", display, 81, 1);
            Create(label, name, QString::fromStdString(display));
        }
    }
    void OnComboChange(int index) override { comboChanges.push_back(index); }

    std::vector<ui::CDynamicButton*> buttons;
    std::vector<ui::CDynamicEdit*> edits;
    std::vector<ui::CDynamicText*> texts;
    std::vector<ui::CDynamicComboBox*> combos;
    std::vector<int> comboChanges;
    int builds = 0;

private:
    ui::CDynamicStatic* Caption(const QString& text) {
        auto* caption = new ui::CDynamicStatic(this, text);
        caption->setGeometry(10, y_, 330, 20);
        caption->show();
        return caption;
    }
    void Place(QWidget* w, int height) {
        w->setGeometry(10, y_, 330, height);
        w->show();
        y_ += height + 5;
    }
    ui::CDynamicButton* Button(int kind, const std::string& name, const QString& text, bool startsGroup = false) {
        ui::CDynamicButton* b = ui::CreateDynamicButton(kind, this, text, startsGroup);
        b->page = this;
        b->pageIndex = static_cast<int>(buttons.size());
        b->SetLogicalName(name);
        b->Setup(kind, &doc_);
        buttons.push_back(b);
        return b;
    }
    void Create(const std::string& type, const std::string& name, const QString& display) {
        DefinitionReader& reader = doc_.reader();
        std::string help;
        reader.ReadKeyString("HelpText", help, 500, 1);
        std::int32_t state = 0;
        if (type == "CheckBox") {
            doc_.properties().AccessIntProperty(section_, name, state, PropertyMode::Read);
            ui::CDynamicButton* b = Button(ui::ButtonKind::CheckBox, name, display);
            b->SetCheck(state);
            b->SetHelpText(help);
            Place(b->widget(), 20);
        } else if (type == "PushButton") {
            ui::CDynamicButton* b = Button(ui::ButtonKind::PushButton, name, display);
            b->SetHelpText(help);
            b->widget()->setGeometry(10, y_, 140, 25);
            b->widget()->show();
            y_ += 30;
        } else if (type == "RadioButton") {
            doc_.properties().AccessIntProperty(section_, name, state, PropertyMode::Read);
            const int top = y_;
            y_ += 25;
            std::string option;
            for (int i = 0; reader.ReadKeyString(FormatText("TxtState%d", i), option, 81, 1); ++i) {
                ui::CDynamicButton* b = Button(ui::ButtonKind::RadioOption, name, QString::fromStdString(option), i == 0);
                b->radioIndex = i;
                b->SetCheck(i == state);
                b->SetHelpText(help);
                b->widget()->setGeometry(25, y_, 300, 20);
                b->widget()->show();
                y_ += 25;
            }
            ui::CDynamicButton* frame = Button(ui::ButtonKind::RadioFrame, name, display);
            frame->widget()->setGeometry(10, top, 330, y_ - top + 5);
            frame->widget()->show();
            frame->widget()->lower();
            y_ += 15;
        } else if (type == "EditBox") {
            auto* e = new ui::CDynamicEdit(this);
            e->page = this;
            e->index = static_cast<int>(edits.size());
            e->SetLogicalName(name);
            e->SetHelpText(help);
            e->SetLabel(Caption(display));
            y_ += 20;
            edits.push_back(e);
            e->Setup(&doc_);
            Place(e, 20);
            y_ += 15;
        } else if (type == "TextBox") {
            auto* t = new ui::CDynamicText(this);
            t->page = this;
            t->index = static_cast<int>(texts.size());
            t->SetLogicalName(name);
            t->SetHelpText(help);
            t->SetLabel(Caption(display));
            y_ += 20;
            t->Setup(&doc_);
            texts.push_back(t);
            Place(t, 60);
        } else if (type == "ComboBox") {
            auto* c = new ui::CDynamicComboBox(this);
            c->page = this;
            c->index = static_cast<int>(combos.size());
            c->SetLogicalName(name);
            c->SetHelpText(help);
            c->SetLabel(Caption(display));
            y_ += 20;
            std::string entry;
            for (int i = 0; reader.ReadKeyString(FormatText("ListTxt%d", i), entry, 81, 1); ++i)
                c->addItem(QString::fromStdString(entry));
            combos.push_back(c);
            Place(c, 22);
            y_ += 10;
        }
    }

    CQRNDoc& doc_;
    std::string section_;
    std::string logicalName_;
    int y_ = 5;
};

class DynamicControlsTest : public ::testing::Test {
protected:
    DynamicControlsTest() {
        TestApp();
        doc = std::make_unique<CQRNDoc>(DocumentHost{host, host, settings}, dir.path());
        ui::DynamicControlEnvironment() =
            ui::ControlEnvironment{&pool, &host, [this](const std::string& path) { helpTopics.push_back(path); }};
    }
    ~DynamicControlsTest() override {
        page.reset();
        ui::DynamicControlEnvironment() = ui::ControlEnvironment{};
    }

    // Loads a definition with `declarations` and `pages` and applies its defaults.
    void Load(const std::string& declarations, const std::string& pages) {
        const std::string text =
            "[Declarations]\n$TotalBlockSize 64\n$DynamicBlockSize 0\n$NumDynamicTableCells 0\n"
            "$NumDynamicTableEntries 0\n$DynamicBlockStart 64\n$DynamicBlockLayout 0\n$DynamicInterpolation 0\n"
            "$StaticBlockSize 64\n$StaticBlockStart 0\n$NVMType 0\n" +
            declarations + "\n" + pages;
        ASSERT_TRUE(doc->LoadDefinitionFile(dir.Write("test.def", text)));
        ASSERT_TRUE(doc->ReadDeclarations(1));
        host.messages.clear();
        doc->SetModifiedFlag(false);
    }
    TestPage& Build(const std::string& section) {
        page = std::make_unique<TestPage>(*doc, section);
        page->BuildControls();
        return *page;
    }
    // Runs the actions the controls queued for after their event.
    static void Settle() {
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    }
    std::int16_t Int(const char* name) { return doc->FindIntVariable(name).get(); }
    float Float(const char* name) { return doc->FindFloatVariable(name).get(); }

    TempDir dir;
    RecordingHost host;
    MemorySettings settings;
    std::unique_ptr<CQRNDoc> doc;
    ui::ControlIdPool pool;
    std::vector<std::string> helpTopics;
    std::unique_ptr<TestPage> page;
};

}  // namespace korvath::testing
