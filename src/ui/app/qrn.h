#pragma once
// CQRNApp: the application object. It keeps one program per user running, opens the settings
// file, owns the one document and the main window, processes the command line and runs the file
// commands (New, Open, Save, Save As) with their save prompts.

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>

#include "ui/app/qt_hosts.h"
#include "ui/app/recent_files.h"

namespace korvath {
class ByteTransport;
class CQRNDoc;
class IniSettingsStore;
class SettingsStore;
}  // namespace korvath

namespace korvath::ui {

class CMainFrame;
class ControllerCommands;
class ShellWindows;
class SingleInstance;

struct AppOptions {
    // Empty: the defaults (the settings file beside the executable, the program directory, the
    // product's instance key in the user's runtime folder).
    std::string programDirectory;
    std::string settingsPath;
    QString instanceKey;
    QString lockDirectory;
    // Not owned; null: the program's own (the commands on the document's controller link, the
    // start-up boxes, the port dialog and the desktop launcher).
    ControllerCommands* controller = nullptr;
    ShellWindows* shell = nullptr;
    // The document's link to the controller; unset: the COM port of the settings (or the USB
    // controller), as MakeControllerTransport opens it. A factory that returns null gives a
    // document without a link.
    std::function<std::unique_ptr<ByteTransport>(SettingsStore& settings, const std::string& settingsPath)>
        transport;
};

// What the command line asks for.
struct ShellCommand {
    enum class Kind { FileNew, FileOpen, FilePrint, FilePrintTo, Invalid };
    Kind kind = Kind::FileNew;
    QString file;
    QString printer;  // print-to: a printer name, or a PDF file (a name ending in ".pdf")
};
// No argument: New; a file: open it; "/p FILE" or "--print FILE": print it on the default
// printer; "/pt FILE PRINTER" or "--print-to PRINTER FILE": print it there.
ShellCommand ParseCommandLine(const QStringList& arguments);

class CQRNApp : public QObject {
    Q_OBJECT
public:
    explicit CQRNApp(AppOptions options = {});
    ~CQRNApp() override;

    // The start-up sequence; false ends the process (with exitCode()).
    bool InitInstance(const QStringList& arguments);
    int exitCode() const { return exitCode_; }

    // --- file commands
    void OnFileNew();
    void OnFileOpen();
    bool OnFileSave();
    bool OnFileSaveAs();
    bool OpenDocumentFile(const QString& path);
    void OpenRecentFile(const QString& path);
    // Asks whether to save a modified calibration: true when it is saved or may be dropped.
    bool SaveModified();
    bool DoSave(const QString& path);
    bool PrintDocument(const ShellCommand& command);
    void ShowHelpTopic(const char* topic);

    // --- state
    CQRNDoc* document() const { return doc_.get(); }
    CMainFrame* mainFrame() const { return frame_.get(); }
    SettingsStore* settings() const;
    const std::string& settingsPath() const { return settingsPath_; }
    const QString& pathName() const { return pathName_; }
    // Renames the document (title included) without adding the name to the recent-file list.
    void SetPathName(const QString& path);
    // "Untitled" or the file's name.
    QString DocumentName() const;
    RecentFileList& recentFiles() { return recent_; }
    void SaveRecentFiles();
    int newFileCompleted() const { return newFileCompleted_; }
    QtMessageHost& messageHost() { return messages_; }
    QtStatusHost& statusHost() { return status_; }
    ControllerCommands& controller() { return *controller_; }

protected:
    // The file dialogs; tests answer them.
    virtual QString PromptFileName(bool save, const QString& suggested);

private:
    bool EnsureDocument();
    void StartupBoxes();
    void OnNewDocument();
    void ReceiveFiles(const QStringList& files);
    // What the link tells the user (an adapter found under another COM number) goes to the
    // status bar, or waits for it when the window does not exist yet.
    void ShowLinkNotice(const std::string& text);

    AppOptions options_;
    std::unique_ptr<ControllerCommands> ownController_;
    std::unique_ptr<ShellWindows> ownShell_;
    ControllerCommands* controller_ = nullptr;
    ShellWindows* shell_ = nullptr;
    std::unique_ptr<SingleInstance> instance_;
    std::unique_ptr<IniSettingsStore> settings_;
    std::string settingsPath_;
    QtMessageHost messages_;
    QtStatusHost status_;
    // The controller link's poll timer.
    QtTimerHost timer_;
    RecentFileList recent_;
    std::unique_ptr<CQRNDoc> doc_;
    std::unique_ptr<CMainFrame> frame_;
    QString pathName_;
    std::string pendingLinkNotice_;
    int newFileCompleted_ = 0;
    int exitCode_ = 0;
};

}  // namespace korvath::ui
