#pragma once
// The windows that the main window opens or rebuilds and that other parts of the program
// provide: the start-up boxes, the port dialog, the settings sheets, the help viewer, and the
// contents of the two bars. This base class stands in until they exist: the dialogs show
// nothing, the dashboard stays empty, and rebuilding the tuning bar binds the traces of the
// definition and shows those that the calibration marks visible.

class QWidget;

namespace korvath {
class CQRNDoc;
}

namespace korvath::ui {

class ShellWindows {
public:
    virtual ~ShellWindows() = default;

    // Start-up and Help menu boxes; `parent` may be null (no main window yet).
    virtual void ShowAboutBox(QWidget* parent) { (void)parent; }
    virtual void ShowStartBox(QWidget* parent) { (void)parent; }
    virtual void ShowHelpTopics(QWidget* parent) { (void)parent; }
    virtual void ShowHelpTopic(const char* topic) { (void)topic; }
    // The help viewer, created hidden as a child of the main window once it exists.
    virtual void CreateHelpViewer(QWidget* frame) { (void)frame; }
    // The COM port selection dialog, run modally.
    virtual void RunComPortDialog(QWidget* parent) { (void)parent; }
    // The program's launcher on the desktop, written again at every start.
    virtual void CreateDesktopShortcut() {}

    // The modeless System Settings sheet; null when it cannot be built.
    virtual QWidget* CreateSystemSettings(QWidget* frame, CQRNDoc& doc) {
        (void)frame, (void)doc;
        return nullptr;
    }
    // Runs the Initial Setup wizard modally.
    virtual void RunSetupWizard(QWidget* frame, CQRNDoc& doc) { (void)frame, (void)doc; }
    virtual void RefreshSheetPages(void* sheet) { (void)sheet; }
    virtual void RefreshSettingsSheet(QWidget* sheet, int cyclePages) { (void)sheet, (void)cyclePages; }

    // The graphical tuning bar's contents.
    virtual void RebuildTuningBar(QWidget* bar, CQRNDoc& doc);
    // The dashboard's contents.
    virtual void BuildDashboard(QWidget* bar, CQRNDoc& doc) { (void)bar, (void)doc; }
    virtual void TeardownDashboard(QWidget* bar) { (void)bar; }
};

}  // namespace korvath::ui
