#pragma once
// The commands of the main window: menu texts, keys, status-bar prompts and tooltips, and the
// toolbar's buttons in their order.

#include <span>

namespace korvath::ui {

namespace cmd {
inline constexpr int FileNew = 57600;
inline constexpr int FileOpen = 57601;
inline constexpr int FileSave = 57603;
inline constexpr int FileSaveAs = 57604;
inline constexpr int FileSendMail = 57612;
inline constexpr int DumpSystemState = 32797;
inline constexpr int WriteCalibration = 32776;
inline constexpr int ReadCalibration = 32779;
inline constexpr int SelectTable1 = 32791;
inline constexpr int SelectTable2 = 32792;
inline constexpr int FilePrint = 57607;
inline constexpr int FilePrintDirect = 57608;
inline constexpr int FilePrintPreview = 57609;
inline constexpr int FilePrintSetup = 57606;
inline constexpr int RecentFile = 57616;
inline constexpr int AppExit = 57665;
inline constexpr int EditUndo = 57643;
inline constexpr int EditCut = 57635;
inline constexpr int EditCopy = 57634;
inline constexpr int EditPaste = 57637;
inline constexpr int ViewToolbar = 59392;
inline constexpr int ViewStatusBar = 59393;
inline constexpr int ViewDashboard = 32778;
inline constexpr int SetupWizard = 32771;
inline constexpr int SystemSettings = 32772;
inline constexpr int CommunicationSetup = 32777;
inline constexpr int HelpTopics = 57667;
inline constexpr int GettingStarted = 32794;
inline constexpr int AppAbout = 57664;
inline constexpr int Help = 57670;
inline constexpr int ContextHelp = 57669;
inline constexpr int Separator = 0;
}  // namespace cmd

// Bar ids.
inline constexpr int kToolbarId = 0xE800;
inline constexpr int kStatusBarId = 0xE801;
inline constexpr int kGraphBarId = 147;
inline constexpr int kDashboardId = 146;

enum class MenuName { File, Edit, View, Help, None };

struct CommandInfo {
    int id;
    MenuName menu;
    const char* menuText;     // with "&" mnemonic and the key after a tab; empty: no menu item
    const char* keys;         // key sequences separated by "; " (portable text form), or empty
    const char* statusText;
    const char* toolTip;      // empty: none
    const char* iconName;     // freedesktop theme name, empty: none
    const char* fallbackIcon; // bundled resource, empty: none
    bool separatorBefore;     // a menu separator goes before the item
};

// Every command in menu order (items of a menu are contiguous).
std::span<const CommandInfo> Commands();
const CommandInfo* FindCommand(int id);
// Toolbar 128 from left to right; cmd::Separator stands for a separator.
std::span<const int> ToolbarLayout();

}  // namespace korvath::ui
