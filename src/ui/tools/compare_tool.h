#pragma once
// Compare with Calibration: another calibration opened read-only, its visible curves drawn
// dashed behind the edited ones, and what differs listed in a dockable panel that follows the
// edits. Stop Comparing removes both. The edited calibration is never written by it.

#include <QObject>
#include <QTimer>
#include <memory>
#include <vector>

#include "calibration/calibration_diff.h"
#include "platform/host.h"
#include "ui/app/qt_hosts.h"

class QAction;
class QCheckBox;
class QDockWidget;
class QPushButton;
class QMainWindow;
class QTreeWidget;

namespace korvath {
class ComparedCalibration;
class CQRNDoc;
class SettingsStore;
}  // namespace korvath

namespace korvath::ui {

class CQRNView;
class ToolsMenu;

class CompareTool final : public QObject {
    Q_OBJECT
public:
    static constexpr int kRefreshMs = 1000;
    static constexpr int kMinRows = 10;

    CompareTool(QMainWindow& frame, CQRNDoc& doc, CQRNView& view, SettingsStore& settings, ToolsMenu& menu);
    ~CompareTool() override;

    // Opens `path` for comparing (replacing a comparison in progress); false, after the open's
    // message, when it cannot be read.
    bool StartComparing(const QString& path);
    void StopComparing();
    bool comparing() const { return compared_ != nullptr; }
    // The compared calibration's file; empty when not comparing.
    QString comparedPath() const;
    // Recomputes the list (the timer does this while comparing).
    void RefreshDifferences();

    QDockWidget* panel() const { return panel_; }
    QTreeWidget* list() const { return list_; }
    QCheckBox* changedOnly() const { return changedOnly_; }
    QPushButton* copyButton() const { return copyButton_; }
    // The listed rows as lines of text ("what: a → b"), as Copy as text puts them on the clipboard.
    QString RowsAsText() const;
    QAction* compareAction() const { return compareAction_; }
    QAction* stopAction() const { return stopAction_; }

private:
    class SilentStatus final : public StatusHost {
    public:
        void SetStatusText(std::string_view) override {}
    };
    void AskAndCompare();
    void ShowRows(const std::vector<DiffRow>& rows);
    // Docks the panel beside the curves (not over the dashboard) with every column and at least
    // kMinRows rows in view.
    void PlacePanel();

    QMainWindow& frame_;
    CQRNDoc& doc_;
    CQRNView& view_;
    SettingsStore& settings_;
    QtMessageHost messages_;
    SilentStatus status_;
    std::unique_ptr<ComparedCalibration> compared_;
    std::vector<DiffRow> shownRows_;
    QDockWidget* panel_ = nullptr;
    QTreeWidget* list_ = nullptr;
    QCheckBox* changedOnly_ = nullptr;
    QPushButton* copyButton_ = nullptr;
    QAction* compareAction_ = nullptr;
    QAction* stopAction_ = nullptr;
    QTimer refresh_;
};

}  // namespace korvath::ui
