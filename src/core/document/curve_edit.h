#pragma once
// Edits of curve points by value rather than by mouse: a typed value, a pasted block, and the
// operations on a rectangular block of points (set, add, scale, interpolate, smooth). Every new
// value goes through the document's edit rule exactly as dragging the point to it would: the
// rule quantises it to what the controller stores, and with linking on the linked traces of the
// point move by the same number of steps. The graph shows what was stored.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvath {

class CQRNDoc;

// A rectangle of points: rows are traces (in the order a table lists them), columns are points.
struct PointBlock {
    std::vector<int> traces;
    int firstColumn = 0;
    int lastColumn = -1;

    int RowCount() const { return static_cast<int>(traces.size()); }
    int ColumnCount() const { return lastColumn >= firstColumn ? lastColumn - firstColumn + 1 : 0; }
    bool Empty() const { return traces.empty() || ColumnCount() == 0; }
};

enum class BlockOperation { Set, Add, Scale, Interpolate, Smooth };

// Values to store at the points of a block, row by row; an absent value leaves its point as it is.
using BlockValues = std::vector<std::vector<std::optional<double>>>;

class CurveEditor {
public:
    explicit CurveEditor(CQRNDoc& doc) : doc_(doc) {}

    // The point's value in display units, as the graph shows it.
    float ShownValue(int trace, int column) const;

    // Stores one value through the edit rule (and the linked traces); returns what the point
    // shows now. Out-of-range points and values that are not finite change nothing.
    float StorePoint(int trace, int column, double value);

    // Stores `values` from the block's top-left point; what lies beyond the block's traces or
    // the last column is left out. Returns the number of points stored.
    int StoreBlock(const PointBlock& at, const BlockValues& values);

    // What an operation makes of the block's current values (operand: the value to set or add,
    // the percentage to scale by; unused by interpolate and smooth). Cells an operation does not
    // change (the ends of an interpolation or a smoothing) are absent.
    BlockValues OperationValues(const PointBlock& block, BlockOperation operation, double operand) const;
    int ApplyOperation(const PointBlock& block, BlockOperation operation, double operand) {
        return StoreBlock(block, OperationValues(block, operation, operand));
    }

private:
    CQRNDoc& doc_;
};

// Names of the edits, as the undo history lists them ("Paste 3×10 cells").
std::string CellCountText(int rows, int columns);
std::string OperationStepName(BlockOperation operation, const PointBlock& block, double operand);
std::string PasteStepName(int rows, int columns);
// "1-2 Upshift at 50" (the trace's name and the column's label as the graph shows them).
std::string PointName(const CQRNDoc& doc, int trace, int column);

// A number as a cell shows it and copies it: the shortest decimal form with "." (no exponent for
// the values a curve holds).
std::string FormatCellNumber(double value);

}  // namespace korvath
