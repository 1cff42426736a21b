#include "ui/graph/legendbutton.h"

#include <QFocusEvent>

#include "document/qrndoc.h"
#include "ui/graph/dynamicdialogbar.h"

namespace korvath::ui {

CLegendButton::CLegendButton(CDynamicDialogBar* bar, QWidget* parent) : CDynamicCheckBox(parent), bar_(bar) {
    traces.fill(-1);
}

bool CLegendButton::BindTrace(CGraphEngine* engine, int trace) {
    if (!engine || trace < 0 || trace >= engine->TraceCount()) return false;
    graph = engine;
    for (std::int16_t& slot : traces) {
        if (slot < 0) {
            slot = static_cast<std::int16_t>(trace);
            break;
        }
    }
    return true;
}

void CLegendButton::OnClicked() {
    if (!document) return;
    const int state = CheckState();
    switch (kind) {
        case BarBoxKind::Trace:
            ApplyTraceBox(*document, traces, state);
            if (bar_) bar_->RepaintView();
            break;
        case BarBoxKind::TraceLink:
            ApplyLinkBox(*document, state);
            if (bar_) bar_->RepaintView();
            break;
        case BarBoxKind::ControlButton:
            // The rebuild replaces this button: nothing of it is used afterwards.
            if (ApplyControlButton(*document, logicalName, state) && bar_) bar_->BuildBar(document);
            break;
        default: break;
    }
}

void CLegendButton::focusInEvent(QFocusEvent* event) {
    CDynamicCheckBox::focusInEvent(event);
    // The bar draws the focus frames around this box's captions.
    if (bar_) bar_->repaint();
}

void CLegendButton::focusOutEvent(QFocusEvent* event) {
    CDynamicCheckBox::focusOutEvent(event);
    // The frames go with the focus.
    if (bar_) bar_->update();
}

}  // namespace korvath::ui
