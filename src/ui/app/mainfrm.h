#pragma once
// CMainFrame: the main window. It holds the tuning view, the menus and the toolbar, the
// "Graph Controls" and "Dashboard" bars, the status bar, and the control-id pool through which
// every control made at run time gets its tooltip, status-bar text and help text.

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <memory>

#include "document/view_host.h"
#include "ui/app/control_id_pool.h"

class QAction;
class QLabel;
class QMenu;
class QPrinter;
class QProgressBar;
class QToolBar;

namespace korvath {
class CQRNDoc;
class SettingsStore;
}  // namespace korvath

namespace korvath::ui {

class CControlBar;
class CQRNApp;
class CQRNView;
class ControllerCommands;
class LockIndicators;
class ShellWindows;
class ToolsMenu;

class CMainFrame final : public QMainWindow, public ViewHost {
    Q_OBJECT
public:
    // Help context ids: the main window's own resource, and the base of the pooled controls.
    static constexpr int kMainWindowHelpId = 0x20080;
    static constexpr int kInitialMinTrack = 450;
    static constexpr int kMinTrackWidthLow = 101, kMinTrackWidthHigh = 2048;
    static constexpr int kMinTrackHeightLow = 101, kMinTrackHeightHigh = 1999;

    CMainFrame(CQRNApp& app, CQRNDoc& doc, SettingsStore& settings, ControllerCommands& controller,
               ShellWindows& shell);
    ~CMainFrame() override;

    CQRNView* view() const { return view_; }
    QToolBar* toolbar() const { return toolbar_; }
    CControlBar* graphBar() const { return graphBar_; }
    CControlBar* dashboard() const { return dashboard_; }
    QAction* action(int id) const { return actions_.value(id); }
    ControlIdPool& controlIds() { return pool_; }
    QLabel* idleLabel() const { return idleLabel_; }
    QProgressBar* progressBar() const { return progress_; }
    ToolsMenu* tools() const { return tools_; }
    // The document was replaced (opened, new, read): its edit history starts again. Saved: the
    // history's clean state is this one.
    void ForgetEdits();
    void EditsSaved();

    // The window's smallest size; a width outside 101 ... 2048 or a height outside 101 ... 1999
    // is a programming error and changes nothing.
    void SetMinTrackSize(int width, int height);
    QSize minTrackSize() const { return {minTrackWidth_, minTrackHeight_}; }
    // The larger bar layouts go with small system fonts.
    bool UsesLargeTemplates() const { return largeTemplates_; }
    int GraphBarTemplate() const { return largeTemplates_ ? 149 : 147; }
    int DashboardTemplate() const { return largeTemplates_ ? 148 : 146; }
    int PropertySheetTemplate() const { return largeTemplates_ ? 144 : 136; }

    // The open System Settings sheet (null when none is open).
    QWidget* systemSettings() const { return systemSettings_; }
    void SetSystemSettings(QWidget* sheet) { systemSettings_ = sheet; }

    // Commands, as the menus and the toolbar run them.
    void OnCommand(int id);
    // Enabled and checked states of every command, as the menus and the toolbar show them.
    void UpdateCommandUI();

    // Help routing: what a help request for `helpId` did.
    enum class HelpResult { Ignored, ControlHelpShown, PlatformHelp };
    HelpResult WinHelp(int helpId);
    // Shift+F1: the next click on a window asks for its help.
    void EnterContextHelp();
    bool InContextHelp() const { return contextHelp_; }

    // The status-bar prompt of a command or a pooled control.
    QString StatusPrompt(int id) const;

    // The computer's power notices: suspend query (0) and suspend (4) make the link suspend.
    // Always granted (1).
    int OnPowerBroadcast(int event);

    void UpdateTitle();
    void RebuildRecentFiles();
    void SaveBarState();
    void RestoreBarState();
    // The window's size and place (and whether it is maximized) kept in the settings file; the
    // first window fits the screen, a saved place is pulled back onto a screen there is.
    void SavePlacement();
    void RestorePlacement();
    void TeardownDashboard();
    QPrinter& printer();

    // ViewHost
    void RebuildBars() override;
    void RedrawView() override;
    void RefreshSheetPages(void* sheet) override;
    void RefreshSettingsSheet(int cyclePages) override;

public Q_SLOTS:
    void OnPrepareForSleep(bool sleeping);

protected:
    // No bar menu on the toolbar and bars: it would hide the floating graph bar past its rule.
    QMenu* createPopupMenu() override { return nullptr; }
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void ApplyMinimumSize();
    void CreateActions();
    void CreateMenus();
    void CreateToolbar();
    void CreateBars();
    void CreateStatusBar();
    void ConnectStandby();
    void ToggleDashboard();
    void OnDashboardVisibility(bool visible);
    void BuildDashboard();
    void OpenSystemSettings();
    void RunSetupWizard();
    void CommunicationSetup();
    bool HandleContextHelpClick(QWidget* target);
    int PooledControlAt(QWidget* widget) const;

    CQRNApp& app_;
    CQRNDoc& doc_;
    SettingsStore& settings_;
    ControllerCommands& controller_;
    ShellWindows& shell_;

    int minTrackHeight_ = kInitialMinTrack;
    int minTrackWidth_ = kInitialMinTrack;
    bool largeTemplates_ = false;
    ControlIdPool pool_;
    QPointer<QWidget> systemSettings_;

    QHash<int, QAction*> actions_;
    QMenu* fileMenu_ = nullptr;
    QAction* recentAnchor_ = nullptr;
    QList<QAction*> recentActions_;
    QToolBar* toolbar_ = nullptr;
    CControlBar* graphBar_ = nullptr;
    CControlBar* dashboard_ = nullptr;
    QLabel* idleLabel_ = nullptr;
    QProgressBar* progress_ = nullptr;
    LockIndicators* indicators_ = nullptr;
    CQRNView* view_ = nullptr;
    ToolsMenu* tools_ = nullptr;
    std::unique_ptr<QPrinter> printer_;
    bool contextHelp_ = false;
    bool dashboardBuilt_ = false;
    bool transferRunning_ = false;
    int hoveredControl_ = 0;
};

}  // namespace korvath::ui
