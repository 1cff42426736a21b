#include "ui/graph/dynamicdialogbar.h"

#include <QDockWidget>
#include <QEvent>
#include <QPainter>

#include "document/qrndoc.h"
#include "document/tuning_bar_layout.h"
#include "ui/dynui/control_rect_qt.h"
#include "ui/dynui/dynamicstatic.h"
#include "ui/graph/fit_font.h"
#include "ui/graph/legendbutton.h"

namespace korvath::ui {
namespace {
namespace tb = tuning_bar;

// The three etched lines of the docked bar.
constexpr int kEtchTops[] = {5, 9, 13};
constexpr int kEtchHeight = 3;
// Room below the lowest row.
constexpr int kBottomMargin = 5;
// A caption too long for its box is shown down to this size.
constexpr double kSmallestCaptionPoints = 6.0;

QString ToQString(const std::string& text) { return QString::fromStdString(text); }

void RegisterTexts(const ControlIdLease& id, const BarHelpTexts& texts) {
    id.RegisterHelpText(texts.help);
    id.RegisterStatusText(texts.statusBar);
    id.RegisterToolTip(texts.toolTip);
}

}  // namespace

CDynamicDialogBar::CDynamicDialogBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("GraphControls"));
    CreateFonts();
    resize(tb::kColumnRight + kBottomMargin, 0);
}

CDynamicDialogBar::~CDynamicDialogBar() { DestroyControls(); }

void CDynamicDialogBar::CreateFonts() {
    controlFont_ = QFont();
    controlFont_.setPointSizeF(kControlFontPoints);
    captionFont_ = QFont();
    captionFont_.setPointSizeF(kCaptionFontPoints);
}

void CDynamicDialogBar::DestroyControls() {
    // Hidden at once, deleted once the event that asked for the rebuild is over: a control
    // button rebuilds the bar from its own click.
    while (!controls_.empty()) {
        CLegendButton* box = controls_.back();
        controls_.pop_back();
        for (QWidget* caption : {box->companion1.get(), box->companion2.get()})
            if (caption) caption->hide();
        box->hide();
        box->deleteLater();
    }
    while (!captions_.empty()) {
        CDynamicStatic* caption = captions_.back();
        captions_.pop_back();
        caption->hide();
        caption->deleteLater();
    }
}

CDynamicStatic* CDynamicDialogBar::MakeCaption(const BarCaption& c, CLegendButton* box, const QFont& font) {
    auto* caption = new CDynamicStatic(this, ToQString(c.text));
    caption->setGeometry(ToQRect(c.rect));
    caption->setAlignment(Qt::AlignCenter);
    caption->setTextFormat(Qt::PlainText);
    caption->setFont(font);
    BarHelpTexts texts = c.texts;
    // Cut off even in the smallest font: the tooltip gives the whole name.
    if (!FitFontToWidth(*caption, font.pointSizeF(), kSmallestCaptionPoints))
        texts.toolTip = c.text + (texts.toolTip.empty() ? "" : "\n" + texts.toolTip);
    caption->SetLogicalName(c.logicalName);
    if (box) {
        caption->SetColors(c.backColor, tb::kCaptionTextColor);
        caption->LinkButton(box);
    }
    if (!texts.help.empty()) caption->SetHelpText(texts.help);
    RegisterTexts(caption->controlId, texts);
    caption->show();
    return caption;
}

bool CDynamicDialogBar::BuildBar(CQRNDoc* doc) {
    DestroyControls();
    if (!doc) return false;
    const TuningBarLayout layout = LayOutTuningBar(*doc);
    if (!layout.hasSection) return false;
    for (const BarCheckBox& b : layout.boxes) {
        auto* box = new CLegendButton(this, this);
        box->setGeometry(ToQRect(b.rect));
        box->setFocusPolicy(Qt::StrongFocus);
        box->Setup(b.kind, doc);
        box->SetLogicalName(b.logicalName);
        for (std::int16_t t : b.traces)
            if (t >= 0) box->BindTrace(doc->graph(), t);
        box->SetCheck(b.checked);
        if (!b.texts.help.empty()) box->SetHelpText(b.texts.help);
        RegisterTexts(box->controlId, b.texts);
        box->companion1 = MakeCaption(b.caption, box, controlFont_);
        if (b.hasSecondCaption) box->companion2 = MakeCaption(b.secondCaption, box, controlFont_);
        // Assistive tools name the box after its row's caption.
        box->setAccessibleName(QString::fromStdString(b.caption.text));
        box->show();
        controls_.push_back(box);
    }
    for (const BarCaption& label : layout.labels) captions_.push_back(MakeCaption(label, nullptr, captionFont_));
    resize(tb::kColumnRight + kBottomMargin, layout.bottom + kBottomMargin);
    setMinimumSize(size());
    RepaintView();
    update();
    return true;
}

bool CDynamicDialogBar::Docked() const {
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (auto* dock = qobject_cast<QDockWidget*>(w)) return !dock->isFloating();
    return true;
}

bool CDynamicDialogBar::event(QEvent* event) {
    // The bar swallows help requests that its controls leave.
    if (event->type() == QEvent::WhatsThis) return true;
    return QWidget::event(event);
}

void CDynamicDialogBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (Docked()) {
        const QColor light = palette().color(QPalette::Light);
        const QColor shadow = palette().color(QPalette::Dark);
        for (int top : kEtchTops) {
            const QRect r(tb::kColumnLeft, top, tb::kColumnRight - tb::kColumnLeft, kEtchHeight);
            painter.setPen(light);
            painter.drawLine(r.left(), r.top(), r.right(), r.top());
            painter.drawLine(r.left(), r.top(), r.left(), r.bottom());
            painter.setPen(shadow);
            painter.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
            painter.drawLine(r.right(), r.top(), r.right(), r.bottom());
        }
    }
    for (CLegendButton* box : controls_) {
        if (!box->hasFocus()) continue;
        for (QWidget* w : {box->companion1.get(), box->companion2.get()})
            if (auto* caption = qobject_cast<CDynamicStatic*>(w)) caption->DrawFocusFrame(painter);
    }
}

}  // namespace korvath::ui
