#pragma once
// Restore points in the window: the document keeps every table it reads or writes, Tools >
// Restore Points... lists them (open one, compare it with the open calibration, write it back
// through the normal Write), and Tools > Read Flash Table Before Writing (remembered) makes a
// flash write keep the table it overwrites.

#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "calibration/restore_points.h"

class QAction;
class QDialog;
class QLabel;
class QMainWindow;
class QPushButton;
class QTreeWidget;

namespace korvath {
class CQRNDoc;
class SettingsStore;
}  // namespace korvath

namespace korvath::ui {

class CompareTool;
class ToolsMenu;

// What the window does for the tool: open a calibration as File Open does, say whether the
// controller answers, and run the Write command.
struct RestorePointActions {
    std::function<bool(const QString& path)> open;
    std::function<bool()> connected;
    std::function<void()> write;
};

class RestorePointsTool final : public QObject {
    Q_OBJECT
public:
    RestorePointsTool(QMainWindow& frame, CQRNDoc& doc, SettingsStore& settings, ToolsMenu& menu,
                      CompareTool& compare, RestorePointActions actions);
    ~RestorePointsTool() override;

    void ShowList();
    void SetReadFlashFirst(bool on);
    QDialog* dialog() const { return dialog_; }
    QTreeWidget* list() const { return list_; }
    QAction* listAction() const { return listAction_; }
    QAction* readFlashFirstAction() const { return readFlashFirstAction_; }
    RestorePointStore& store() { return store_; }

    void OpenSelected();
    void CompareSelected();
    void WriteBackSelected();

private:
    void Fill();
    std::optional<RestorePointInfo> Selected() const;

    QMainWindow& frame_;
    CQRNDoc& doc_;
    SettingsStore& settings_;
    CompareTool& compare_;
    RestorePointActions actions_;
    RestorePointStore store_;
    RestorePointKeeper keeper_;
    std::vector<RestorePointInfo> shown_;
    QAction* listAction_ = nullptr;
    QAction* readFlashFirstAction_ = nullptr;
    QDialog* dialog_ = nullptr;
    QTreeWidget* list_ = nullptr;
    QLabel* empty_ = nullptr;
    std::vector<QPushButton*> pointButtons_;
};

}  // namespace korvath::ui
