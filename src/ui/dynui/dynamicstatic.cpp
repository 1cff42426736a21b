#include "ui/dynui/dynamicstatic.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include "ui/dynui/dynamicbutton.h"
#include "ui/graph/qtcolor.h"

namespace korvath::ui {

ButtonLink& ButtonLink::operator=(CDynamicButton* button) {
    button_ = button;
    window_ = button ? button->widget() : nullptr;
    return *this;
}

CDynamicStatic::CDynamicStatic(QWidget* parent, const QString& text) : QLabel(text, parent), PooledControl(this) {}

CDynamicStatic::~CDynamicStatic() = default;

void CDynamicStatic::SetColors(Color back, Color text) {
    backColor = back;
    textColor = text;
    backBrush = QBrush(ToQColor(back));
    colored = 1;
    update();
}

void CDynamicStatic::LinkButton(CDynamicButton* button) {
    linkedButton = button;
    if (button && button->widget() && button->ButtonText().isEmpty())
        button->widget()->setAccessibleName(this->text());
}

void CDynamicStatic::LabelFor(QWidget* field) {
    if (!field) return;
    setBuddy(field);
    field->setAccessibleName(text());
}

void CDynamicStatic::DrawFocusFrame(QPainter& painter) const {
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = geometry().adjusted(-1, -1, 1, 1);
    // Styles draw the frame only for a focus that the keyboard can see.
    option.state |= QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange;
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, parentWidget());
}

void CDynamicStatic::paintEvent(QPaintEvent* event) {
    if (colored != 1) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.fillRect(rect(), backBrush.style() == Qt::NoBrush ? QBrush(ToQColor(backColor)) : backBrush);
    QPalette colours = palette();
    // A disabled label keeps the style's grey text.
    colours.setColor(QPalette::Active, QPalette::WindowText, ToQColor(textColor));
    colours.setColor(QPalette::Inactive, QPalette::WindowText, ToQColor(textColor));
    const int flags = static_cast<int>(alignment()) | (wordWrap() ? Qt::TextWordWrap : 0);
    style()->drawItemText(&painter, contentsRect(), flags, colours, isEnabled(), text(), QPalette::WindowText);
}

void CDynamicStatic::mousePressEvent(QMouseEvent* event) {
    QLabel::mousePressEvent(event);
    if (event->button() != Qt::LeftButton) return;
    Q_EMIT clicked();
    if (linkedButton) linkedButton->OnCaptionClicked();
}

void CDynamicStatic::mouseDoubleClickEvent(QMouseEvent* event) {
    // Not passed on: the widget default would treat it as one more press and toggle twice.
    event->accept();
    if (event->button() != Qt::LeftButton) return;
    Q_EMIT doubleClicked();
    if (linkedButton) linkedButton->OnCaptionClicked();
}

}  // namespace korvath::ui
