#include "ui/dashboard/dashboard.h"

#include <QDockWidget>
#include <algorithm>

#include "document/qrndoc.h"
#include "ui/dynui/control_rect_qt.h"
#include "ui/dynui/dynamicstatic.h"
#include "ui/graph/fit_font.h"
#include "ui/graph/qrnview.h"
#include "ui/graph/qtcolor.h"

namespace korvath::ui {
namespace {

// A value too wide for its box is shown down to this size.
constexpr double kSmallestValuePoints = 10.0;

QString ToQString(const std::string& text) { return QString::fromStdString(text); }

// The value box's accessible name: its caption and what it shows.
QString ValueName(const CDynamicStatic* value, const QWidget* caption) {
    const auto* label = qobject_cast<const QLabel*>(caption);
    return (label ? label->text() : QString()) + QStringLiteral(": ") + value->text();
}

}  // namespace

CDashboard::CDashboard(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("DashboardDisplays"));
    CreateFonts();
}

CDashboard::~CDashboard() {
    // The poller must not call into a dashboard that is gone; the displays go with their parent.
    if (document && pollHandle_ != 0) document->UnloadDataItems(pollHandle_);
}

void CDashboard::CreateFonts() {
    valueFont_ = QFont();
    valueFont_.setPointSizeF(kValueFontPoints);
    captionFont_ = QFont();
    captionFont_.setPointSizeF(kCaptionFontPoints);
}

void CDashboard::SetTuningView(CQRNView* view) {
    tuningView_ = view;
    state_.SetGraph(view ? &view->graph() : nullptr);
}

CDynamicStatic* CDashboard::CaptionOf(int display) const {
    return qobject_cast<CDynamicStatic*>(displays_[static_cast<std::size_t>(display)]->companion.get());
}

CDynamicStatic* CDashboard::MakeDisplay(const DashboardCell& cell) {
    auto* value = new CDynamicStatic(this, QString::fromLatin1(dashboard::kNoValueText));
    value->setGeometry(ToQRect(cell.value));
    value->setAlignment(Qt::AlignCenter);
    value->setTextFormat(Qt::PlainText);
    // The sunken edge of a display; the style draws it, so the colours go through the palette
    // (a disabled display keeps the style's grey text).
    value->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    value->setLineWidth(2);
    value->backColor = dashboard::kValueBackColor;
    value->textColor = cell.valueColor;
    QPalette colours = value->palette();
    colours.setColor(QPalette::Window, ToQColor(value->backColor));
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        colours.setColor(group, QPalette::WindowText, ToQColor(value->textColor));
    value->setPalette(colours);
    value->setAutoFillBackground(true);
    value->setFont(valueFont_);
    value->SetLogicalName(cell.logicalName);
    value->setEnabled(false);

    auto* caption = new CDynamicStatic(this, ToQString(cell.displayName));
    caption->setGeometry(ToQRect(cell.caption));
    caption->setAlignment(Qt::AlignCenter);
    caption->setTextFormat(Qt::PlainText);
    caption->setFont(captionFont_);
    caption->setEnabled(false);
    value->companion = caption;

    if (!cell.texts.help.empty()) {
        value->SetHelpText(cell.texts.help);
        caption->controlId.RegisterHelpText(cell.texts.help);
    }
    for (const ControlIdLease* id : {&value->controlId, &caption->controlId}) {
        id->RegisterStatusText(cell.texts.statusBar);
        id->RegisterToolTip(cell.texts.toolTip);
    }
    value->setAccessibleName(ValueName(value, caption));
    caption->show();
    value->show();
    return value;
}

bool CDashboard::BuildDashboard() {
    if (!document) return false;
    const DashboardLayout layout = LayOutDashboard(*document);
    if (!layout.hasSection) return false;
    for (const DashboardCell& cell : layout.cells)
        if (cell.hasDisplay) displays_.push_back(MakeDisplay(cell));
    if (const auto* last = layout.cells.empty() ? nullptr : &layout.cells.back())
        setMinimumWidth(last->cell.right + dashboard::kCellGap);
    if (!displays_.empty()) {
        QPointer<CDashboard> self(this);
        pollHandle_ = document->LoadDataItems([self](std::int32_t index, const char* text, const float* value) {
            if (self && !self->replaying_) self->OnLiveData(index, text, value);
        });
        Show(state_.Build(static_cast<int>(displays_.size())));
    }
    return true;
}

void CDashboard::TeardownDashboard() {
    if (document && pollHandle_ != 0) document->UnloadDataItems(pollHandle_);
    pollHandle_ = 0;
    while (!displays_.empty()) {
        delete displays_.back();  // and its caption
        displays_.pop_back();
    }
    Show(state_.Teardown());
}

void CDashboard::OnLiveData(std::int32_t index, const char* text, const float* value) {
    if (!tuningView_) state_.SetGraph(nullptr);  // the view went first
    Show(state_.OnLiveData(index, text, value));
}

void CDashboard::SetConnected(int state) { Show(state_.SetConnected(state)); }

void CDashboard::ShowValue(int display) {
    CDynamicStatic* value = displays_[static_cast<std::size_t>(display)];
    const bool enabled = state_.DisplayEnabled(display);
    value->setEnabled(enabled);
    if (QWidget* caption = value->companion.get()) caption->setEnabled(enabled);
    const QString text = ToQString(state_.DisplayText(display));
    if (value->text() == text) return;
    value->setText(text);
    FitFontToWidth(*value, kValueFontPoints, kSmallestValuePoints);
    value->setAccessibleName(ValueName(value, value->companion.get()));
}

void CDashboard::Show(const DashboardState::Change& change) {
    if (change.title) SetTitle(ToQString(state_.title()));
    const int count = std::min(static_cast<int>(displays_.size()), state_.displayCount());
    if (change.allDisplays)
        for (int i = 0; i < count; ++i) ShowValue(i);
    if (change.display >= 0 && change.display < count) ShowValue(change.display);
    if (change.repaintView && tuningView_) tuningView_->RepaintCrosshair();  // only the crosshair moved
}

void CDashboard::SetTitle(const QString& title) {
    setWindowTitle(title);
    // The bar's title bar, docked or floating.
    for (QWidget* w = parentWidget(); w; w = w->parentWidget()) {
        if (auto* dock = qobject_cast<QDockWidget*>(w)) {
            dock->setWindowTitle(title);
            break;
        }
    }
}

}  // namespace korvath::ui
