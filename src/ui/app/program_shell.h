#pragma once
// The program's own windows behind the main window's hooks: the About and Getting Started
// boxes, the COM port dialog on the document's controller link, the help viewer, the desktop
// launcher, and the contents of the two bars (the tuning bar's legend and the dashboard's live
// values), and the System Settings window and Initial Setup wizard.

#include <QPointer>
#include <string_view>

#include "ui/app/shell_windows.h"
#include "ui/help/help_browser.h"
#include "ui/help/helpdialog.h"

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

    // The settings sheets on the document's definition.
    QWidget* CreateSystemSettings(QWidget* frame, CQRNDoc& doc) override;
    void RunSetupWizard(QWidget* frame, CQRNDoc& doc) override;
    void RefreshSheetPages(void* sheet) override;
    void RefreshSettingsSheet(QWidget* sheet, int cyclePages) override;

    void CreateHelpViewer(QWidget* frame) override;
    // The program's help in the Help Topics browser, at its contents.
    void ShowHelpTopics(QWidget* parent) override;
    // `topic` is a path inside the program directory: relative to it, or the directory joined
    // with such a path as the help buttons of the settings pages build it.
    void ShowHelpTopic(const char* topic) override;

    CHelpDialog* helpViewer() const { return helpViewer_; }
    HelpBrowser* helpBrowser() const { return helpBrowser_; }

private:
    std::string ProgramDirectoryPath() const;
    void ShowTopicInViewer(std::string_view topic, QWidget* parent);

    CQRNApp& app_;
    QPointer<CHelpDialog> helpViewer_;
    QPointer<HelpBrowser> helpBrowser_;
};

}  // namespace korvath::ui
