#pragma once
// The table of the Curve Values dock: one row per visible trace (named and coloured as the
// legend shows it), one column per graph column, each cell the point's value in display units
// as the graph shows it. A typed value goes to `store`, which applies the edit rule; text that
// is no number is refused with the reason.

#include <QAbstractTableModel>
#include <functional>
#include <vector>

namespace korvath {
class CQRNDoc;
}

namespace korvath::ui {

class CurveValuesModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    using StoreFunction = std::function<void(int trace, int column, double value)>;
    CurveValuesModel(CQRNDoc& doc, StoreFunction store, QObject* parent = nullptr);

    // Reads the traces and values again; only what changed is announced.
    void Refresh();
    // The trace of a row (-1 outside).
    int TraceOfRow(int row) const;
    const std::vector<int>& traces() const { return traces_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

Q_SIGNALS:
    // A typed text was refused; `reason` says why.
    void refused(const QString& reason);

private:
    std::vector<int> VisibleTraces() const;
    QString CellText(int trace, int column) const;

    CQRNDoc& doc_;
    StoreFunction store_;
    std::vector<int> traces_;
    std::vector<QString> shown_;  // row-major, as last announced
    std::vector<QString> names_;
};

}  // namespace korvath::ui
