#pragma once
// The program's own windows behind the main window's hooks: the About and Getting Started
// boxes, the COM port dialog on the document's controller link, the desktop launcher, and the
// contents of the two bars (the tuning bar's legend and the dashboard's live values).
// The other hooks (settings sheets, help viewer) keep the stand-ins of ShellWindows until their
// windows take them over.

#include "ui/app/shell_windows.h"

namespace korvath::ui {

class CQRNApp;

class ProgramShellWindows : public ShellWindows {
public:
    explicit ProgramShellWindows(CQRNApp& app) : app_(app) {}

    // Shown whatever the start-up setting says; the start-up sequence asks the setting first.
    void ShowAboutBox(QWidget* parent) override;
    void ShowStartBox(QWidget* parent) override;
    void RunComPortDialog(QWidget* parent) override;
    void CreateDesktopShortcut() override;
    void RebuildTuningBar(QWidget* bar, CQRNDoc& doc) override;
    void BuildDashboard(QWidget* bar, CQRNDoc& doc) override;
    void TeardownDashboard(QWidget* bar) override;

private:
    CQRNApp& app_;
};

}  // namespace korvath::ui
