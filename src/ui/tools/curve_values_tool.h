#pragma once
// Tools > Curve Values: a dock under the graph with the table of the visible curves' values,
// buttons and a context menu for the operations on the selected block (set, add, scale,
// interpolate, smooth), copy and paste as tab-separated text, and Undo and Redo. Tools > Undo
// History... lists the steps. Every change is one step of the edit history.

#include <QObject>

class QAction;
class QDockWidget;
class QMainWindow;
class QPushButton;
class QTableView;

namespace korvath {
class CQRNDoc;
struct PointBlock;
enum class BlockOperation;
}  // namespace korvath

namespace korvath::ui {

class CQRNView;
class CurveValuesModel;
class EditHistory;
class ToolsMenu;

class CurveValuesTool final : public QObject {
    Q_OBJECT
public:
    // dashboardBar: the bar under the graph that the dock goes above (may be null).
    CurveValuesTool(QMainWindow& frame, CQRNDoc& doc, CQRNView& view, EditHistory& history, ToolsMenu& menu,
                    QDockWidget* dashboardBar = nullptr);
    ~CurveValuesTool() override;

    QDockWidget* dock() const { return dock_; }
    QTableView* table() const { return table_; }
    CurveValuesModel* model() const { return model_; }
    QAction* showAction() const { return showAction_; }

    // The selected block (the rectangle around the selected cells).
    PointBlock SelectedBlock() const;
    // Copies the selected block as tab-separated text.
    void Copy();
    // Pastes tab-separated text at the current cell as one step; false (with the reason in the
    // status bar) when there is nothing to paste.
    bool PasteText(const QString& text);
    void Paste();
    // One operation on the selected block, as one step.
    bool Apply(BlockOperation operation, double operand);
    void ShowHistory();

private:
    void BuildDock(QMainWindow& frame, QDockWidget* dashboardBar);
    void AskAndApply(BlockOperation operation, const char* prompt);
    void StoreTyped(int trace, int column, double value);
    void ShowStatus(const QString& text);
    void UpdateButtons();

    QMainWindow& frame_;
    CQRNDoc& doc_;
    EditHistory& history_;
    QDockWidget* dock_ = nullptr;
    QTableView* table_ = nullptr;
    CurveValuesModel* model_ = nullptr;
    QAction* showAction_ = nullptr;
    QPushButton* undoButton_ = nullptr;
    QPushButton* redoButton_ = nullptr;
};

}  // namespace korvath::ui
