#include "ui/help/olericheditctrl.h"

#include <QMouseEvent>
#include <QScrollBar>

#include "richtext/rtf_reader.h"
#include "ui/help/rich_text_document.h"

namespace korvath::ui {

COleRichEditCtrl::COleRichEditCtrl(QWidget* parent) : QTextBrowser(parent) {
    setReadOnly(true);
    setOpenLinks(false);
    setUndoRedoEnabled(false);
    // Without text interaction a read-only text edit scrolls with the arrow and page keys.
    setTextInteractionFlags(Qt::NoTextInteraction);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFrameShape(QFrame::StyledPanel);
}

void COleRichEditCtrl::SetRtf(std::string_view rtf) {
    FillTextDocument(*document(), richtext::ReadRtf(rtf));
    moveCursor(QTextCursor::Start);
    verticalScrollBar()->setValue(0);
}

void COleRichEditCtrl::mousePressEvent(QMouseEvent* event) { event->accept(); }
void COleRichEditCtrl::mouseReleaseEvent(QMouseEvent* event) { event->accept(); }
void COleRichEditCtrl::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }
void COleRichEditCtrl::mouseMoveEvent(QMouseEvent* event) { event->accept(); }

}  // namespace korvath::ui
