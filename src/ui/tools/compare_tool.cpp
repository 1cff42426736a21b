#include "ui/tools/compare_tool.h"

#include <QAction>
#include <algorithm>
#include <QDockWidget>
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
    list_ = new QTreeWidget(panel_);
    list_->setObjectName(QStringLiteral("DifferencesList"));
    list_->setAccessibleName(Text(texts::kDifferencesTitle));
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setColumnCount(3);
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    panel_->setWidget(list_);
    frame.addDockWidget(Qt::BottomDockWidgetArea, panel_);
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
    panel_->show();
    // Half the window's width: the rows are long and the dock area may be shared.
    frame_.resizeDocks({panel_}, {std::max(frame_.width() / 2, kMinPanelWidth)}, Qt::Horizontal);
    stopAction_->setEnabled(true);
    refresh_.start();
    view_.Redraw();
    return true;
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
    const CalibrationDiff diff = compared_->DifferencesFrom(doc_);
    std::vector<DiffRow> rows;
    rows.reserve(diff.items.size());
    for (const DiffItem& item : diff.items) rows.push_back(DiffRowOf(item));
    if (rows.empty()) rows.push_back(DiffRow{texts::kNoDifferences, "", ""});
    ShowRows(rows);
}

void CompareTool::ShowRows(const std::vector<DiffRow>& rows) {
    auto same = [](const DiffRow& x, const DiffRow& y) { return x.what == y.what && x.a == y.a && x.b == y.b; };
    if (rows.size() == shownRows_.size() && std::equal(rows.begin(), rows.end(), shownRows_.begin(), same)) return;
    shownRows_ = rows;
    list_->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(rows.size()));
    for (const DiffRow& row : rows) items.append(new QTreeWidgetItem({Text(row.what), Text(row.a), Text(row.b)}));
    list_->addTopLevelItems(items);
}

}  // namespace korvath::ui
