#include "ui/app/command_table.h"

#include <array>

namespace korvath::ui {
namespace {

using M = MenuName;

// clang-format off
constexpr std::array kCommands{
    CommandInfo{cmd::FileNew, M::File, "&New\tCtrl+N", "Ctrl+N", "Create a new document", "New", "document-new", ":/icons/new.png", false},
    CommandInfo{cmd::FileOpen, M::File, "&Open...\tCtrl+O", "Ctrl+O", "Open an existing document", "Open", "document-open", ":/icons/open.png", false},
    CommandInfo{cmd::FileSave, M::File, "&Save\tCtrl+S", "Ctrl+S", "Save the active document", "Save", "document-save", ":/icons/save.png", false},
    CommandInfo{cmd::FileSaveAs, M::File, "Save &As...", "", "Save the active document with a new name", "Save As", "document-save-as", "", false},
    CommandInfo{cmd::FileSendMail, M::File, "E-&mail Data to Tech Support for Assistance", "", "Send this file as an email attachment to Technical Support for assistance", "Email file to Tech Support", "mail-send", "", true},
    CommandInfo{cmd::DumpSystemState, M::File, "&Dump Controller System State", "", "Save controller RAM contents to a file for diagnostic purposes", "", "", "", false},
    CommandInfo{cmd::WriteCalibration, M::File, "&Write Calibration to Controller", "", "Write the active file to the controller", "Write calibration to controller", "", ":/icons/write.png", true},
    CommandInfo{cmd::ReadCalibration, M::File, "R&ead Calibration from Controller", "", "Read data from the controller to the current file", "Read calibration from controller", "", "", false},
    CommandInfo{cmd::SelectTable1, M::File, "Read/Write Table #&1", "", "Read and write data from table #1 of the controller", "Read/Write Controller Table #1", "", ":/icons/table1.png", true},
    CommandInfo{cmd::SelectTable2, M::File, "Read/Write Table #&2", "", "Read and write data from table #2 of the controller", "Read/Write Controller Table #2", "", ":/icons/table2.png", false},
    CommandInfo{cmd::FilePrint, M::File, "&Print...\tCtrl+P", "Ctrl+P", "Print the active document", "Print", "document-print", ":/icons/print.png", true},
    CommandInfo{cmd::FilePrintPreview, M::File, "Print Pre&view", "", "Display full pages", "Print Preview", "document-print-preview", "", false},
    CommandInfo{cmd::FilePrintSetup, M::File, "P&rint Setup...", "", "Change the printer and printing options", "Print Setup", "", "", false},
    CommandInfo{cmd::RecentFile, M::File, "Recent File", "", "Open this document", "", "", "", true},
    CommandInfo{cmd::AppExit, M::File, "E&xit", "", "Quit the application; prompts to save documents", "Exit", "application-exit", "", true},
    CommandInfo{cmd::EditUndo, M::Edit, "&Undo\tCtrl+Z", "Ctrl+Z; Alt+Backspace", "Undo the last action", "Undo", "edit-undo", "", false},
    CommandInfo{cmd::EditCut, M::Edit, "Cu&t\tCtrl+X", "Ctrl+X; Shift+Del", "Cut the selection and put it on the Clipboard", "Cut", "edit-cut", ":/icons/cut.png", true},
    CommandInfo{cmd::EditCopy, M::Edit, "&Copy\tCtrl+C", "Ctrl+C; Ctrl+Ins", "Copy the selection and put it on the Clipboard", "Copy", "edit-copy", ":/icons/copy.png", false},
    CommandInfo{cmd::EditPaste, M::Edit, "&Paste\tCtrl+V", "Ctrl+V; Shift+Ins", "Insert Clipboard contents", "Paste", "edit-paste", ":/icons/paste.png", false},
    CommandInfo{cmd::ViewToolbar, M::View, "&Toolbar", "", "Show or hide the toolbar", "Toggle ToolBar", "", "", false},
    CommandInfo{cmd::ViewStatusBar, M::View, "&Status Bar", "", "Show or hide the status bar", "Toggle StatusBar", "", "", false},
    CommandInfo{cmd::ViewDashboard, M::View, "&Dashboard", "", "Show or hide the dashboard to monitor live data", "Toggle Dashboard", "", ":/icons/dashboard.png", false},
    CommandInfo{cmd::SetupWizard, M::View, "Initial Setup &Wizard", "", "Show the initial setup wizard", "Show Setup Wizard", "", "", true},
    CommandInfo{cmd::SystemSettings, M::View, "&Configure System Settings", "", "Show the system configuration settings", "Show System Settings", "preferences-system", ":/icons/settings.png", false},
    CommandInfo{cmd::CommunicationSetup, M::View, "C&ommunication Setup", "", "Configure communication port parameters", "Show  Communication Setup", "", "", false},
    CommandInfo{cmd::HelpTopics, M::Help, "&Help Topics", "", "List Help topics", "Help Topics", "help-contents", "", false},
    CommandInfo{cmd::GettingStarted, M::Help, "&Getting Started...", "", "Displays the \"Getting Started\" information box", "Getting Started", "", "", false},
    CommandInfo{cmd::AppAbout, M::Help, "&About The Korvath Tuning System...", "", "Display program information, version number and copyright", "About", "help-about", ":/icons/about.png", true},
    CommandInfo{cmd::Help, M::None, "", "F1", "Display help for current task or command", "Help", "", "", false},
    CommandInfo{cmd::ContextHelp, M::None, "", "Shift+F1", "Display help for clicked on buttons, menus and windows", "Help", "help-whatsthis", ":/icons/contexthelp.png", false},
};
// clang-format on

constexpr std::array kToolbar{
    cmd::FileNew,       cmd::FileOpen,       cmd::FileSave,     cmd::Separator,    cmd::WriteCalibration,
    cmd::SelectTable1,  cmd::SelectTable2,   cmd::Separator,    cmd::EditCut,      cmd::EditCopy,
    cmd::EditPaste,     cmd::Separator,      cmd::SystemSettings, cmd::ViewDashboard, cmd::Separator,
    cmd::FilePrint,     cmd::AppAbout,       cmd::ContextHelp,
};

}  // namespace

std::span<const CommandInfo> Commands() { return kCommands; }

const CommandInfo* FindCommand(int id) {
    for (const CommandInfo& c : kCommands)
        if (c.id == id) return &c;
    return nullptr;
}

std::span<const int> ToolbarLayout() { return kToolbar; }

}  // namespace korvath::ui
