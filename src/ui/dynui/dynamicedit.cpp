#include "ui/dynui/dynamicedit.h"

#include <QKeyEvent>
#include <QWheelEvent>

#include "document/qrndoc.h"
#include "ui/dynui/control_page.h"
#include "ui/dynui/dynamicstatic.h"

namespace korvath::ui {
namespace {
const std::string kNoSection;
}

CDynamicEdit::CDynamicEdit(QWidget* parent) : QLineEdit(parent), CaptionedControl(this) {
    setFrame(false);
    setMaxLength(kMaxCharacters);
}

CDynamicEdit::~CDynamicEdit() = default;

const std::string& CDynamicEdit::Section() const { return page ? page->PageSection() : kNoSection; }

void CDynamicEdit::Setup(CQRNDoc* doc) {
    document = doc;
    if (!document) return;
    setting.Setup(*document, Section(), logicalName);
    AfterStore();
    ShowValue();
}

void CDynamicEdit::AfterStore() {
    PerformGlobalInfluence(document, setting.globalInfluence, page, setting.lastStoreChanged());
}

void CDynamicEdit::StoreValue() {
    if (!document) return;
    setting.StoreValue(*document, Section(), logicalName);
    AfterStore();
}

void CDynamicEdit::ShowValue() {
    if (!document) return;
    const QString shown = QString::fromStdString(setting.DisplayText(*document));
    if (QLineEdit::text() != shown) setText(shown);
}

void CDynamicEdit::Commit() {
    // A message box of a failed variable lookup takes the focus from the field; that is no
    // second commit.
    if (!document || committing_) return;
    committing_ = true;
    if (setting.Commit(*document, Section(), logicalName, QLineEdit::text().toStdString())) AfterStore();
    ShowValue();
    committing_ = false;
}

void CDynamicEdit::Step(int n) {
    if (!document) return;
    setting.Step(*document, Section(), logicalName, n);
    AfterStore();
    ShowValue();
}

void CDynamicEdit::DoDataExchange(bool saveToMembers) {
    if (saveToMembers)
        text = QLineEdit::text().toStdString();
    else
        setText(QString::fromStdString(text));
}

void CDynamicEdit::keyPressEvent(QKeyEvent* event) {
    const int multiplier = (event->modifiers() & Qt::ShiftModifier) ? kShiftMultiplier : 1;
    const int repeat = std::max(1, event->count());
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            Commit();
            // Enter commits the field; it does not also press the dialog's default button.
            event->accept();
            return;
        case Qt::Key_Space:
            // Space commits and is never typed.
            Commit();
            event->accept();
            return;
        case Qt::Key_Up: Step(repeat * multiplier); break;
        case Qt::Key_Down: Step(-repeat * multiplier); break;
        default: break;
    }
    if (event->text() == QLatin1String(" ")) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void CDynamicEdit::focusOutEvent(QFocusEvent* event) {
    Commit();
    QLineEdit::focusOutEvent(event);
}

void CDynamicEdit::wheelEvent(QWheelEvent* event) {
    // Shift has no effect on the wheel.
    if (const int n = setting.TakeWheelSteps(event->angleDelta().y()); n != 0) Step(n);
    QLineEdit::wheelEvent(event);
}

}  // namespace korvath::ui
