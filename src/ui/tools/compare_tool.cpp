#include "ui/tools/compare_tool.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QDockWidget>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QMainWindow>
#include <QTreeWidget>

#include "calibration/compared_calibration.h"
#include "document/qrndoc.h"
#include "ui/app/app_texts.h"
#include "ui/graph/qrnview.h"
#include "ui/tools/tools_menu.h"
#include "ui/tools/tools_texts.h"

namespace korvath::ui {
namespace {

constexpr int kMinPanelWidth = 300;
// At most this share of the window's width goes to the panel; the setting's column gives way.
constexpr double kMaxPanelShare = 0.6;

QString Text(const char* text) { return QString::fromUtf8(text); }
QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

CompareTool::CompareTool(QMainWindow& frame, CQRNDoc& doc, CQRNView& view, SettingsStore& settings,
                         ToolsMenu& menu)
    : QObject(&menu), frame_(frame), doc_(doc), view_(view), settings_(settings) {
    messages_.SetOwner(&frame);
    compareAction_ = menu.AddItem(texts::kCompareItem, texts::kCompareStatus, [this] { AskAndCompare(); });
    compareAction_->setObjectName(QStringLiteral("CompareWithCalibration"));
    stopAction_ = menu.AddItem(texts::kStopCompareItem, texts::kStopCompareStatus, [this] { StopComparing(); });
    stopAction_->setObjectName(QStringLiteral("StopComparing"));
    stopAction_->setEnabled(false);
    menu.OnAboutToShow([this] { stopAction_->setEnabled(comparing()); });

    panel_ = new QDockWidget(Text(texts::kDifferencesTitle), &frame);
    panel_->setObjectName(QStringLiteral("DifferencesPanel"));
    auto* content = new QWidget(panel_);
    changedOnly_ = new QCheckBox(Text(texts::kChangedOnly), content);
    changedOnly_->setObjectName(QStringLiteral("DifferencesChangedOnly"));
    changedOnly_->setChecked(true);
    connect(changedOnly_, &QCheckBox::toggled, this, &CompareTool::RefreshDifferences);
    copyButton_ = new QPushButton(Text(texts::kCopyAsText), content);
    copyButton_->setObjectName(QStringLiteral("DifferencesCopy"));
    connect(copyButton_, &QPushButton::clicked, this, [this] { QGuiApplication::clipboard()->setText(RowsAsText()); });
    list_ = new QTreeWidget(content);
    list_->setObjectName(QStringLiteral("DifferencesList"));
    list_->setAccessibleName(Text(texts::kDifferencesTitle));
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setColumnCount(3);
    // The values keep their width; a long setting's name gives way when the panel is narrow.
    list_->header()->setStretchLastSection(false);
    list_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    list_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    list_->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    list_->setTextElideMode(Qt::ElideMiddle);
    auto* bar = new QHBoxLayout;
    bar->addWidget(changedOnly_);
    bar->addStretch(1);
    bar->addWidget(copyButton_);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(bar);
    layout->addWidget(list_, 1);
    panel_->setWidget(content);
    frame.addDockWidget(Qt::RightDockWidgetArea, panel_);
    panel_->hide();
    // The saved bar layout of an earlier run may show the panel again; without a comparison it
    // has nothing to list.
    connect(panel_, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible && !comparing()) panel_->hide();
    });

    refresh_.setInterval(kRefreshMs);
    connect(&refresh_, &QTimer::timeout, this, &CompareTool::RefreshDifferences);
}

CompareTool::~CompareTool() = default;

void CompareTool::AskAndCompare() {
    const QString filter = Text(texts::kFileFilter) + QStringLiteral(";;") + Text(texts::kAllFilesFilter);
    const QString path = QFileDialog::getOpenFileName(&frame_, Text(texts::kCompareTitle), QString(), filter);
    if (!path.isEmpty()) StartComparing(path);
}

bool CompareTool::StartComparing(const QString& path) {
    auto compared = std::make_unique<ComparedCalibration>(DocumentHost{messages_, status_, settings_},
                                                          doc_.programDirectory());
    if (!compared->Open(path.toStdString())) return false;
    compared_ = std::move(compared);
    compared_->ShowAsOverlays(view_.graph(), doc_.showConverted());
    list_->setHeaderLabels({Text(texts::kSettingColumn), Text(texts::kEditedColumn),
                            Text(texts::kComparedColumnFormat).arg(QFileInfo(path).fileName())});
    shownRows_.clear();
    RefreshDifferences();
    PlacePanel();
    stopAction_->setEnabled(true);
    refresh_.start();
    view_.Redraw();
    return true;
}

void CompareTool::PlacePanel() {
    // Below the legend beside the curves: the dashboard keeps the bottom of the window. A panel
    // the user made float stays where it is.
    if (!panel_->isFloating()) frame_.addDockWidget(Qt::RightDockWidgetArea, panel_, Qt::Vertical);
    panel_->show();
    // The tree view hides its column hint; the item view's is the same, and public.
    const QAbstractItemView& view = *list_;
    int width = 2 * list_->frameWidth() + list_->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < list_->columnCount(); ++c)
        width += std::max(view.sizeHintForColumn(c), list_->header()->sectionSizeHint(c));
    width = std::min(std::max(width, kMinPanelWidth), static_cast<int>(frame_.width() * kMaxPanelShare));
    const int row = std::max(list_->sizeHintForRow(0), list_->fontMetrics().height());
    list_->setMinimumHeight(2 * list_->frameWidth() + list_->header()->sizeHint().height() + kMinRows * row);
    frame_.resizeDocks({panel_}, {width}, Qt::Horizontal);
}

QString CompareTool::comparedPath() const {
    return compared_ ? QString::fromStdString(compared_->path()) : QString();
}

QString CompareTool::RowsAsText() const {
    QString text;
    // The "No differences" row has no values.
    for (const DiffRow& row : shownRows_)
        text += Text(row.a.empty() && row.b.empty() ? row.what : DiffLine(row)) + QLatin1Char('\n');
    return text;
}

void CompareTool::StopComparing() {
    refresh_.stop();
    compared_.reset();
    view_.graph().ClearOverlays();
    list_->clear();
    shownRows_.clear();
    panel_->hide();
    stopAction_->setEnabled(false);
    view_.Redraw();
}

void CompareTool::RefreshDifferences() {
    if (!compared_) return;
    std::vector<DiffRow> rows = DiffRows(compared_->DifferencesFrom(doc_, !changedOnly_->isChecked()));
    if (rows.empty()) rows.push_back(DiffRow{texts::kNoDifferences, "", ""});
    ShowRows(rows);
}

void CompareTool::ShowRows(const std::vector<DiffRow>& rows) {
    if (rows == shownRows_) return;
    shownRows_ = rows;
    list_->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(rows.size()));
    for (const DiffRow& row : rows) items.append(new QTreeWidgetItem({Text(row.what), Text(row.a), Text(row.b)}));
    list_->addTopLevelItems(items);
}

}  // namespace korvath::ui
