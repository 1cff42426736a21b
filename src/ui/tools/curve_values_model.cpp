#include "ui/tools/curve_values_model.h"

#include <QBrush>

#include "calibration/cell_text.h"
#include "document/curve_edit.h"
#include "document/qrndoc.h"
#include "ui/graph/qtcolor.h"

namespace korvath::ui {

CurveValuesModel::CurveValuesModel(CQRNDoc& doc, StoreFunction store, QObject* parent)
    : QAbstractTableModel(parent), doc_(doc), store_(std::move(store)) {
    Refresh();
}

std::vector<int> CurveValuesModel::VisibleTraces() const {
    std::vector<int> traces;
    if (const CGraphEngine* graph = doc_.graph())
        for (int t = 0; t < graph->TraceCount(); ++t)
            if (graph->TraceAt(t).visible) traces.push_back(t);
    return traces;
}

QString CurveValuesModel::CellText(int trace, int column) const {
    return QString::fromStdString(FormatCellNumber(CurveEditor(doc_).ShownValue(trace, column)));
}

void CurveValuesModel::Refresh() {
    std::vector<int> traces = VisibleTraces();
    std::vector<QString> names;
    for (int t : traces) names.push_back(QString::fromUtf8(doc_.graph()->TraceAt(t).name));
    std::vector<QString> shown;
    shown.reserve(traces.size() * static_cast<std::size_t>(kPointsPerTrace));
    for (int t : traces)
        for (int c = 0; c < kPointsPerTrace; ++c) shown.push_back(CellText(t, c));
    if (traces != traces_) {
        beginResetModel();
        traces_ = std::move(traces);
        names_ = std::move(names);
        shown_ = std::move(shown);
        endResetModel();
        return;
    }
    if (names != names_) {
        names_ = std::move(names);
        if (!traces_.empty()) Q_EMIT headerDataChanged(Qt::Vertical, 0, static_cast<int>(traces_.size()) - 1);
    }
    for (std::size_t r = 0; r < traces_.size(); ++r) {
        int first = -1, last = -1;
        for (int c = 0; c < kPointsPerTrace; ++c) {
            const std::size_t i = r * static_cast<std::size_t>(kPointsPerTrace) + static_cast<std::size_t>(c);
            if (shown[i] == shown_[i]) continue;
            shown_[i] = shown[i];
            if (first < 0) first = c;
            last = c;
        }
        if (first >= 0) Q_EMIT dataChanged(index(static_cast<int>(r), first), index(static_cast<int>(r), last));
    }
}

int CurveValuesModel::TraceOfRow(int row) const {
    return row >= 0 && row < static_cast<int>(traces_.size()) ? traces_[static_cast<std::size_t>(row)] : -1;
}

int CurveValuesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(traces_.size());
}

int CurveValuesModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kPointsPerTrace; }

QVariant CurveValuesModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= kPointsPerTrace) return {};
    const std::size_t i = static_cast<std::size_t>(index.row()) * static_cast<std::size_t>(kPointsPerTrace) +
                          static_cast<std::size_t>(index.column());
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole: return shown_[i];
        case Qt::TextAlignmentRole: return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        case Qt::ToolTipRole:
        case Qt::AccessibleDescriptionRole:
            // A screen reader hears the row's and the column's names with the value.
            return QString::fromStdString(PointName(doc_, TraceOfRow(index.row()), index.column())) +
                   QStringLiteral(": ") + shown_[i];
        default: return {};
    }
}

QVariant CurveValuesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= kPointsPerTrace) return {};
        if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) {
            const CGraphEngine* graph = doc_.graph();
            return graph ? QString::fromUtf8(graph->ColumnLabel(section)) : QString::number(section);
        }
        return {};
    }
    const int trace = TraceOfRow(section);
    if (trace < 0) return {};
    switch (role) {
        case Qt::DisplayRole:
        case Qt::AccessibleTextRole: return names_[static_cast<std::size_t>(section)];
        case Qt::ForegroundRole: return QBrush(ToQColor(doc_.graph()->TraceAt(trace).color));
        default: return {};
    }
}

Qt::ItemFlags CurveValuesModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

bool CurveValuesModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    const int trace = TraceOfRow(index.row());
    if (role != Qt::EditRole || trace < 0 || index.column() < 0 || index.column() >= kPointsPerTrace) return false;
    double number = 0;
    std::string reason;
    if (!ParseCellNumber(value.toString().toStdString(), number, reason)) {
        Q_EMIT refused(QString::fromStdString(reason));
        return false;
    }
    if (store_) store_(trace, index.column(), number);
    Refresh();
    return true;
}

}  // namespace korvath::ui
