#include "ui/tools/curve_values_tool.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDockWidget>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QUndoStack>
#include <QUndoView>
#include <QVBoxLayout>
#include <algorithm>

#include "calibration/cell_text.h"
#include "document/curve_edit.h"
#include "document/qrndoc.h"
#include "ui/graph/qrnview.h"
#include "ui/tools/curve_values_model.h"
#include "ui/tools/curve_values_texts.h"
#include "ui/tools/edit_history.h"
#include "ui/tools/tools_menu.h"

namespace korvath::ui {
namespace {

constexpr int kStatusMs = 8000;
constexpr double kValueLimit = 32767.0;
constexpr int kOperandDecimals = 3;

QString Text(const char* text) { return QString::fromUtf8(text); }

}  // namespace

CurveValuesTool::CurveValuesTool(QMainWindow& frame, CQRNDoc& doc, CQRNView& view, EditHistory& history,
                                 ToolsMenu& menu, QDockWidget* dashboardBar)
    : QObject(&menu), frame_(frame), doc_(doc), history_(history) {
    model_ = new CurveValuesModel(
        doc, [this](int trace, int column, double value) { StoreTyped(trace, column, value); }, this);
    connect(model_, &CurveValuesModel::refused, this, &CurveValuesTool::ShowStatus);
    BuildDock(frame, dashboardBar);
    history.AddShortcutScope(dock_);

    // The table follows every drag and step on the graph, and every undo and redo.
    connect(&view, &CQRNView::redrawn, model_, &CurveValuesModel::Refresh);
    connect(&history, &EditHistory::changed, model_, &CurveValuesModel::Refresh);
    connect(&history.stack(), &QUndoStack::canUndoChanged, this, &CurveValuesTool::UpdateButtons);
    connect(&history.stack(), &QUndoStack::canRedoChanged, this, &CurveValuesTool::UpdateButtons);
    UpdateButtons();

    showAction_ = dock_->toggleViewAction();
    showAction_->setText(Text(texts::kCurveValuesItem));
    showAction_->setStatusTip(Text(texts::kCurveValuesStatus));
    showAction_->setObjectName(QStringLiteral("CurveValues"));
    menu.menu()->addSeparator();
    menu.menu()->addAction(showAction_);
    menu.AddItem(texts::kUndoHistoryItem, texts::kUndoHistoryStatus, [this] { ShowHistory(); })
        ->setObjectName(QStringLiteral("UndoHistory"));
}

CurveValuesTool::~CurveValuesTool() = default;

void CurveValuesTool::BuildDock(QMainWindow& frame, QDockWidget* dashboardBar) {
    dock_ = new QDockWidget(Text(texts::kCurveValuesTitle), &frame);
    dock_->setObjectName(QStringLiteral("CurveValuesPanel"));
    auto* body = new QWidget(dock_);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 4, 4, 4);

    table_ = new QTableView(body);
    table_->setObjectName(QStringLiteral("CurveValuesTable"));
    table_->setAccessibleName(Text(texts::kCurveValuesTitle));
    table_->setModel(model_);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(table_);

    auto* buttons = new QHBoxLayout;
    auto add = [&](const char* text, const char* name, auto run) {
        auto* button = new QPushButton(Text(text), body);
        button->setObjectName(QString::fromUtf8(name));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, run);
        buttons->addWidget(button);
        return button;
    };
    add(texts::kSetValue, "SetCells", [this] { AskAndApply(BlockOperation::Set, texts::kSetPrompt); });
    add(texts::kAddValue, "AddToCells", [this] { AskAndApply(BlockOperation::Add, texts::kAddPrompt); });
    add(texts::kScaleValues, "ScaleCells", [this] { AskAndApply(BlockOperation::Scale, texts::kScalePrompt); });
    add(texts::kInterpolate, "InterpolateCells", [this] { Apply(BlockOperation::Interpolate, 0); });
    add(texts::kSmooth, "SmoothCells", [this] { Apply(BlockOperation::Smooth, 0); });
    buttons->addStretch(1);
    undoButton_ = add(texts::kUndo, "UndoButton", [this] { history_.Undo(); });
    redoButton_ = add(texts::kRedo, "RedoButton", [this] { history_.Redo(); });
    layout->addLayout(buttons);
    dock_->setWidget(body);

    // Copy and paste while the table has the focus; the same and the operations on its menu.
    auto* copy = new QAction(Text(texts::kCopy), table_);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    connect(copy, &QAction::triggered, this, &CurveValuesTool::Copy);
    auto* paste = new QAction(Text(texts::kPaste), table_);
    paste->setShortcut(QKeySequence::Paste);
    paste->setShortcutContext(Qt::WidgetShortcut);
    connect(paste, &QAction::triggered, this, &CurveValuesTool::Paste);
    table_->addAction(copy);
    table_->addAction(paste);
    table_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(table_, &QWidget::customContextMenuRequested, this, [this, copy, paste](const QPoint& at) {
        QMenu menu(table_);
        menu.addAction(copy);
        menu.addAction(paste);
        menu.addSeparator();
        menu.addAction(Text(texts::kSetValue), this, [this] { AskAndApply(BlockOperation::Set, texts::kSetPrompt); });
        menu.addAction(Text(texts::kAddValue), this, [this] { AskAndApply(BlockOperation::Add, texts::kAddPrompt); });
        menu.addAction(Text(texts::kScaleValues), this,
                       [this] { AskAndApply(BlockOperation::Scale, texts::kScalePrompt); });
        menu.addAction(Text(texts::kInterpolate), this, [this] { Apply(BlockOperation::Interpolate, 0); });
        menu.addAction(Text(texts::kSmooth), this, [this] { Apply(BlockOperation::Smooth, 0); });
        menu.exec(table_->viewport()->mapToGlobal(at));
    });

    // Under the graph across the window's width, the dashboard below it.
    frame.addDockWidget(Qt::BottomDockWidgetArea, dock_, Qt::Vertical);
    if (dashboardBar && frame.dockWidgetArea(dashboardBar) == Qt::BottomDockWidgetArea)
        frame.splitDockWidget(dock_, dashboardBar, Qt::Vertical);
    dock_->hide();
}

void CurveValuesTool::UpdateButtons() {
    undoButton_->setEnabled(history_.stack().canUndo());
    redoButton_->setEnabled(history_.stack().canRedo());
}

void CurveValuesTool::ShowStatus(const QString& text) {
    if (frame_.statusBar()) frame_.statusBar()->showMessage(text, kStatusMs);
}

void CurveValuesTool::StoreTyped(int trace, int column, double value) {
    const QString name = Text(texts::kTypedStepFormat)
                             .arg(QString::fromStdString(FormatCellNumber(value)),
                                  QString::fromStdString(PointName(doc_, trace, column)));
    history_.RecordPointsEdit(name, [&] { CurveEditor(doc_).StorePoint(trace, column, value); });
    doc_.RedrawView();
}

PointBlock CurveValuesTool::SelectedBlock() const {
    PointBlock block;
    const QModelIndexList selected = table_->selectionModel()->selectedIndexes();
    if (selected.isEmpty()) return block;
    int top = selected.front().row(), bottom = top, left = selected.front().column(), right = left;
    for (const QModelIndex& i : selected) {
        top = std::min(top, i.row());
        bottom = std::max(bottom, i.row());
        left = std::min(left, i.column());
        right = std::max(right, i.column());
    }
    for (int r = top; r <= bottom; ++r)
        if (const int trace = model_->TraceOfRow(r); trace >= 0) block.traces.push_back(trace);
    block.firstColumn = left;
    block.lastColumn = right;
    return block;
}

void CurveValuesTool::Copy() {
    const PointBlock block = SelectedBlock();
    if (block.Empty()) return;
    const CurveEditor editor(doc_);
    std::vector<std::vector<double>> rows;
    for (int trace : block.traces) {
        std::vector<double> row;
        for (int c = block.firstColumn; c <= block.lastColumn; ++c) row.push_back(editor.ShownValue(trace, c));
        rows.push_back(std::move(row));
    }
    QApplication::clipboard()->setText(QString::fromStdString(FormatCellText(rows)));
}

void CurveValuesTool::Paste() { PasteText(QApplication::clipboard()->text()); }

bool CurveValuesTool::PasteText(const QString& text) {
    const PastedCells cells = ParseCellText(text.toStdString());
    if (!cells.error.empty()) {
        ShowStatus(QString::fromStdString(cells.error));
        return false;
    }
    const int rowCount = model_->rowCount();
    if (rowCount == 0) {
        ShowStatus(Text(texts::kNoVisibleCurve));
        return false;
    }
    const QModelIndex current = table_->currentIndex();
    const int top = current.isValid() ? current.row() : 0;
    PointBlock at;
    at.firstColumn = current.isValid() ? current.column() : 0;
    at.lastColumn = kPointsPerTrace - 1;
    const int rows = std::min(static_cast<int>(cells.values.size()), rowCount - top);
    for (int r = 0; r < rows; ++r) at.traces.push_back(model_->TraceOfRow(top + r));
    const int columns = std::min(cells.columns, at.ColumnCount());
    const int total = static_cast<int>(cells.values.size()) * cells.columns;
    const QString size = QString::fromStdString(CellCountText(rows, columns));
    history_.RecordPointsEdit(QString::fromStdString(PasteStepName(rows, columns)),
                              [&] { CurveEditor(doc_).StoreBlock(at, cells.values); });
    doc_.RedrawView();
    if (rows * columns < total) {
        const int cut = total - rows * columns;
        ShowStatus(Text(texts::kPasteCutFormat).arg(size, cut == 1 ? QStringLiteral("1 cell")
                                                                   : QStringLiteral("%1 cells").arg(cut)));
    }
    table_->selectionModel()->select(QItemSelection(model_->index(top, at.firstColumn),
                                                    model_->index(top + rows - 1, at.firstColumn + columns - 1)),
                                     QItemSelectionModel::ClearAndSelect);
    return true;
}

bool CurveValuesTool::Apply(BlockOperation operation, double operand) {
    const PointBlock block = SelectedBlock();
    if (block.Empty()) {
        ShowStatus(Text(texts::kNoSelection));
        return false;
    }
    history_.RecordPointsEdit(QString::fromStdString(OperationStepName(operation, block, operand)),
                              [&] { CurveEditor(doc_).ApplyOperation(block, operation, operand); });
    doc_.RedrawView();
    return true;
}

void CurveValuesTool::AskAndApply(BlockOperation operation, const char* prompt) {
    if (SelectedBlock().Empty()) {
        ShowStatus(Text(texts::kNoSelection));
        return;
    }
    bool ok = false;
    const double operand = QInputDialog::getDouble(&frame_, Text(texts::kCurveValuesTitle), Text(prompt), 0,
                                                   -kValueLimit, kValueLimit, kOperandDecimals, &ok);
    if (ok) Apply(operation, operand);
}

void CurveValuesTool::ShowHistory() {
    auto* dialog = frame_.findChild<QDialog*>(QStringLiteral("UndoHistoryWindow"));
    if (!dialog) {
        dialog = new QDialog(&frame_);
        dialog->setObjectName(QStringLiteral("UndoHistoryWindow"));
        dialog->setWindowTitle(Text(texts::kUndoHistoryTitle));
        auto* layout = new QVBoxLayout(dialog);
        auto* list = new QUndoView(&history_.stack(), dialog);
        list->setObjectName(QStringLiteral("UndoHistoryList"));
        list->setAccessibleName(Text(texts::kUndoHistoryTitle));
        list->setEmptyLabel(Text(texts::kUndoHistoryClean));
        layout->addWidget(list);
        history_.AddShortcutScope(dialog);
    }
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

}  // namespace korvath::ui
