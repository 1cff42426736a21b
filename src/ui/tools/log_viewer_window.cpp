#include "ui/tools/log_viewer_window.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "datalog/csv_text.h"
#include "ui/tools/tools_texts.h"

namespace korvath::ui {
namespace {

QString Text(const char* text) { return QString::fromUtf8(text); }
QString Text(const std::string& text) { return QString::fromStdString(text); }

QString SecondsText(std::int64_t ms) { return QString::number(static_cast<double>(ms) / 1000.0, 'f', 3); }

QString ShiftText(const datalog::ShiftEvent& shift) {
    return QStringLiteral("%1 s  %2 \u2192 %3").arg(SecondsText(shift.timeMs), Text(shift.from), Text(shift.to));
}

QString AxisCaption(const datalog::LogChannel& channel) {
    return channel.unit.empty() ? Text(channel.name) : QStringLiteral("%1 (%2)").arg(Text(channel.name), Text(channel.unit));
}

const QColor kCursorColour(200, 0, 0);

// A text channel's axis holds every text; a numeric one its values with a margin.
void FitValues(QCPGraph& graph) {
    QCPAxis* value = graph.valueAxis();
    if (auto texts = value->ticker().dynamicCast<QCPAxisTickerText>()) {
        value->setRange(-0.5, static_cast<double>(std::max<qsizetype>(texts->ticks().size(), 1)) - 0.5);
        return;
    }
    bool found = false;
    const QCPRange span = graph.getValueRange(found);
    value->setRange(found ? span : QCPRange(0, 1));
    value->scaleRange(1.1);
}

}  // namespace

LogViewerWindow::LogViewerWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("DataLogViewer"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* split = new QSplitter(Qt::Horizontal, this);
    auto* side = new QWidget(split);
    auto* sideColumn = new QVBoxLayout(side);
    sideColumn->setContentsMargins(0, 0, 0, 0);
    auto* channelsCaption = new QLabel(Text(texts::kChannels), side);
    channelList_ = new QTreeWidget(side);
    channelList_->setObjectName(QStringLiteral("ViewerChannels"));
    channelList_->setAccessibleName(Text(texts::kChannels));
    channelList_->setRootIsDecorated(false);
    channelList_->setHeaderLabels({Text(texts::kChannelColumns[0]), Text(texts::kChannelColumns[1])});
    channelList_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    channelsCaption->setBuddy(channelList_);
    auto* shiftsCaption = new QLabel(Text(texts::kShifts), side);
    shiftList_ = new QListWidget(side);
    shiftList_->setObjectName(QStringLiteral("ViewerShifts"));
    shiftList_->setAccessibleName(Text(texts::kShifts));
    shiftsCaption->setBuddy(shiftList_);
    sideColumn->addWidget(channelsCaption);
    sideColumn->addWidget(channelList_, 3);
    sideColumn->addWidget(shiftsCaption);
    sideColumn->addWidget(shiftList_, 2);

    auto* main = new QWidget(split);
    auto* mainColumn = new QVBoxLayout(main);
    mainColumn->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QHBoxLayout;
    fit_ = new QPushButton(Text(texts::kFit), main);
    fit_->setObjectName(QStringLiteral("ViewerFit"));
    cursorLabel_ = new QLabel(main);
    cursorLabel_->setObjectName(QStringLiteral("ViewerCursor"));
    cursorLabel_->setAccessibleName(Text(texts::kCursorTime));
    auto* hint = new QLabel(Text(texts::kViewerHint), main);
    bar->addWidget(fit_);
    bar->addWidget(cursorLabel_);
    bar->addStretch(1);
    bar->addWidget(hint);
    plot_ = new QCustomPlot(main);
    plot_->setObjectName(QStringLiteral("ViewerPlots"));
    plot_->setAccessibleName(Text(texts::kPlots));
    plot_->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    // A log holds tens of thousands of points a channel: drawn without antialiasing, a redraw
    // after a zoom or pan stays within a frame.
    plot_->setNotAntialiasedElements(QCP::aeAll);
    mainColumn->addLayout(bar);
    mainColumn->addWidget(plot_, 1);
    split->addWidget(side);
    split->addWidget(main);
    split->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(split);

    connect(fit_, &QPushButton::clicked, this, &LogViewerWindow::Fit);
    connect(channelList_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
        if (column != 0) return;
        const auto channel = static_cast<std::size_t>(channelList_->indexOfTopLevelItem(item));
        ShowChannel(channel, item->checkState(0) == Qt::Checked);
    });
    connect(shiftList_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0 || static_cast<std::size_t>(row) >= shifts_.shifts.size()) return;
        MoveCursor(shifts_.shifts[static_cast<std::size_t>(row)].timeMs);
    });
    connect(plot_, &QCustomPlot::mousePress, this, &LogViewerWindow::OnPress);
    connect(plot_, &QCustomPlot::mouseRelease, this, &LogViewerWindow::OnRelease);
    resize(1100, 700);
}

LogViewerWindow::~LogViewerWindow() = default;

bool LogViewerWindow::Open(const QString& path, QString& why) {
    auto log = std::make_unique<datalog::DataLogReader>();
    std::string reason;
    if (!log->Open(path.toStdString(), reason) || !datalog::LoadLogChannels(*log, channels_, reason)) {
        why = Text(reason);
        return false;
    }
    std::string noShifts;
    if (!datalog::AnalyseShifts(*log, "", shifts_, noShifts)) shifts_ = {};
    log_ = std::move(log);
    setWindowTitle(Text(texts::kViewerTitleFormat).arg(QFileInfo(path).fileName()));
    data_.clear();
    for (const auto& channel : channels_.channels) {
        QVector<QCPGraphData> points(static_cast<int>(channel.values.size()));
        for (std::size_t i = 0; i < channel.values.size(); ++i)
            points[static_cast<int>(i)] = QCPGraphData(channels_.seconds[i], channel.values[i]);
        auto container = QSharedPointer<QCPGraphDataContainer>::create();
        container->set(points, true);
        data_.push_back(container);
    }
    shown_.assign(channels_.channels.size(), true);
    FillChannelList();
    FillShiftList(Text(noShifts));
    BuildPlots();
    Fit();
    MoveCursor(0);
    return true;
}

void LogViewerWindow::FillChannelList() {
    const QSignalBlocker block(channelList_);
    channelList_->clear();
    for (const auto& channel : channels_.channels) {
        auto* item = new QTreeWidgetItem(channelList_, {AxisCaption(channel), QString()});
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Checked);
    }
}

void LogViewerWindow::FillShiftList(const QString& whyNone) {
    const QSignalBlocker block(shiftList_);
    shiftList_->clear();
    for (const auto& shift : shifts_.shifts) shiftList_->addItem(ShiftText(shift));
    if (!shifts_.gearItem) {
        auto* item = new QListWidgetItem(Text(texts::kNoShiftsFormat).arg(whyNone), shiftList_);
        item->setFlags(Qt::NoItemFlags);
    }
}

void LogViewerWindow::BuildPlots() {
    const QCPRange keep = plot_->xAxis ? plot_->xAxis->range() : QCPRange();
    plot_->clearItems();
    plot_->clearGraphs();
    plot_->plotLayout()->clear();
    cursorLines_.clear();
    auto* margins = new QCPMarginGroup(plot_);
    std::vector<QCPAxisRect*> rects;
    for (std::size_t c = 0; c < channels_.channels.size(); ++c) {
        if (!shown_[c]) continue;
        const datalog::LogChannel& channel = channels_.channels[c];
        auto* rect = new QCPAxisRect(plot_);
        plot_->plotLayout()->addElement(static_cast<int>(rects.size()), 0, rect);
        rect->setRangeDrag(Qt::Horizontal);
        rect->setRangeZoom(Qt::Horizontal);
        rect->setMarginGroup(QCP::msLeft | QCP::msRight, margins);
        QCPAxis* time = rect->axis(QCPAxis::atBottom);
        QCPAxis* value = rect->axis(QCPAxis::atLeft);
        value->setLabel(AxisCaption(channel));
        // A plot is a few lines high when many channels are shown: three numbers say enough.
        value->ticker()->setTickCount(3);
        QCPGraph* graph = plot_->addGraph(time, value);
        graph->setData(data_[c]);
        graph->setPen(QPen(QColor::fromHsv(static_cast<int>(c * 67 % 360), 220, 170), 0));
        if (channel.text) {
            graph->setLineStyle(QCPGraph::lsStepLeft);
            auto ticker = QSharedPointer<QCPAxisTickerText>::create();
            for (std::size_t t = 0; t < channel.texts.size(); ++t)
                ticker->addTick(static_cast<double>(t), Text(channel.texts[t]));
            value->setTicker(ticker);
            value->grid()->setZeroLinePen(Qt::NoPen);  // the first text is no zero
        }
        FitValues(*graph);
        auto* cursor = new QCPItemStraightLine(plot_);
        cursor->setClipAxisRect(rect);
        cursor->point1->setAxes(time, value);
        cursor->point2->setAxes(time, value);
        cursor->setPen(QPen(kCursorColour, 1));
        cursorLines_.push_back(cursor);
        connect(time, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this, &LogViewerWindow::SyncTimeAxes);
        rects.push_back(rect);
    }
    for (std::size_t i = 0; i < rects.size(); ++i) {
        QCPAxis* time = rects[i]->axis(QCPAxis::atBottom);
        const bool last = i + 1 == rects.size();
        time->setTickLabels(last);
        if (last) time->setLabel(Text(texts::kTimeAxis));
        if (keep.size() > 0) time->setRange(keep);
    }
    // The first rectangle's axes are the plot's default ones (Fit and the range kept read them).
    plot_->xAxis = rects.empty() ? nullptr : rects.front()->axis(QCPAxis::atBottom);
    plot_->yAxis = rects.empty() ? nullptr : rects.front()->axis(QCPAxis::atLeft);
    ShowCursor();
}

void LogViewerWindow::SyncTimeAxes(const QCPRange& range) {
    if (syncing_) return;
    syncing_ = true;
    for (QCPAxisRect* rect : plot_->axisRects()) rect->axis(QCPAxis::atBottom)->setRange(range);
    syncing_ = false;
}

void LogViewerWindow::Fit() {
    // From the log's start (its time 0) to its last row.
    const double end = channels_.seconds.empty() ? 1.0 : std::max(channels_.seconds.back(), 1.0);
    for (QCPAxisRect* rect : plot_->axisRects()) rect->axis(QCPAxis::atBottom)->setRange(0.0, end);
    for (int g = 0; g < plot_->graphCount(); ++g) FitValues(*plot_->graph(g));
    plot_->replot();
}

void LogViewerWindow::ShowChannel(std::size_t channel, bool shown) {
    if (channel >= shown_.size() || shown_[channel] == shown) return;
    shown_[channel] = shown;
    BuildPlots();
    plot_->replot();
}

void LogViewerWindow::SetCursorTime(std::int64_t ms) {
    if (ms == cursorMs_) return;
    cursorMs_ = std::max<std::int64_t>(ms, 0);
    ShowCursor();
    plot_->replot(QCustomPlot::rpQueuedReplot);
}

void LogViewerWindow::MoveCursor(std::int64_t ms) {
    cursorMs_ = std::max<std::int64_t>(ms, 0);
    // A cursor moved out of sight brings the time axis along, its span kept.
    if (plot_->xAxis) {
        const double t = static_cast<double>(cursorMs_) / 1000.0;
        const QCPRange range = plot_->xAxis->range();
        if (!range.contains(t)) SyncTimeAxes(QCPRange(t - range.size() / 2, t + range.size() / 2));
    }
    ShowCursor();
    plot_->replot(QCustomPlot::rpQueuedReplot);
    Q_EMIT cursorMoved(cursorMs_);
}

void LogViewerWindow::ShowCursor() {
    const double t = static_cast<double>(cursorMs_) / 1000.0;
    for (QCPItemStraightLine* line : cursorLines_) {
        line->point1->setCoords(t, 0);
        line->point2->setCoords(t, 1);
    }
    cursorLabel_->setText(Text(texts::kCursorTimeFormat).arg(SecondsText(cursorMs_)));
    if (!log_ || log_->rowCount() == 0) return;
    datalog::LogRow row;
    if (!log_->ReadRow(log_->RowAtTime(cursorMs_), row)) return;
    const QSignalBlocker block(channelList_);
    for (std::size_t c = 0; c < channels_.channels.size(); ++c) {
        QTreeWidgetItem* item = channelList_->topLevelItem(static_cast<int>(c));
        if (!item) continue;
        const auto& channel = channels_.channels[c];
        QString value = row.linkLost ? Text(texts::kLinkLostValue) : Text(row.cells[1 + c]);
        if (!row.linkLost && !channel.text && !channel.unit.empty() && !value.isEmpty())
            value += QLatin1Char(' ') + Text(channel.unit);
        item->setText(1, value);
    }
}

void LogViewerWindow::OnPress(QMouseEvent* event) {
    pressAt_ = event->pos();
    plot_->setSelectionRectMode(event->modifiers() & Qt::ControlModifier ? QCP::srmZoom : QCP::srmNone);
}

void LogViewerWindow::OnRelease(QMouseEvent* event) {
    if ((event->pos() - pressAt_).manhattanLength() > kClickSlopPx || event->button() != Qt::LeftButton) return;
    QCPAxisRect* rect = plot_->axisRectAt(event->pos());
    if (!rect) return;
    const double t = rect->axis(QCPAxis::atBottom)->pixelToCoord(event->pos().x());
    MoveCursor(static_cast<std::int64_t>(std::llround(std::max(t, 0.0) * 1000.0)));
}

}  // namespace korvath::ui
