#include "ui/dynui/dynamictext.h"

#include <QKeyEvent>
#include <QScrollBar>

#include "layout/bound_text.h"
#include "layout/dynamic_control_texts.h"
#include "document/qrndoc.h"
#include "ui/dynui/control_page.h"
#include "ui/dynui/dynamicstatic.h"

namespace korvath::ui {
namespace {
constexpr std::size_t kMaxTargetVarLength = 80;
const std::string kNoSection;
}  // namespace

CDynamicText::CDynamicText(QWidget* parent) : QPlainTextEdit(parent), CaptionedControl(this) {
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!showing_) OnTextChanged();
    });
}

CDynamicText::~CDynamicText() = default;

void CDynamicText::Setup(CQRNDoc* doc) {
    document = doc;
    if (!document) return;
    DefinitionReader& reader = document->reader();
    reader.ReadKeyString(dynamic_texts::kTargetVar, targetVar, kMaxTargetVarLength, 1);
    targetVar = std::string(TrimText(targetVar));
    reader.ReadKeyInt(dynamic_texts::kGlobalInfluence, globalInfluence, 1);
    const std::optional<std::string> bound =
        ReadBoundText(*document, {page ? page->PageSection() : kNoSection, logicalName, targetVar});
    bound_ = bound.has_value();
    // A box with no variable to keep its text would report the missing variable at every key.
    setReadOnly(!bound_);
    text = bound.value_or(std::string());
    showing_ = true;
    setPlainText(QString::fromStdString(text));
    showing_ = false;
}

void CDynamicText::OnTextChanged() {
    if (!document || !bound_) return;
    const std::string typed = toPlainText().toStdString();
    WriteBoundText(*document, {page ? page->PageSection() : kNoSection, logicalName, targetVar}, typed);
    text = typed;
    PerformGlobalInfluence(document, globalInfluence, page);
}

void CDynamicText::DoDataExchange(bool saveToMembers) {
    if (saveToMembers) {
        text = toPlainText().toStdString();
    } else {
        showing_ = true;
        setPlainText(QString::fromStdString(text));
        showing_ = false;
    }
}

void CDynamicText::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (oneLine_ && enter) {
        // The text is already stored; as in the edit boxes, Enter presses no dialog button either.
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void CDynamicText::focusInEvent(QFocusEvent* event) {
    QPlainTextEdit::focusInEvent(event);
    // Tabbing in leaves the caret where it was and selects nothing.
    QTextCursor cursor = textCursor();
    if (cursor.hasSelection()) {
        cursor.clearSelection();
        setTextCursor(cursor);
    }
}

}  // namespace korvath::ui
