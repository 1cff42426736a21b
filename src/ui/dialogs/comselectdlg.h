#pragma once
// CComSelectDlg: "COM Port Settings". Lists the COM ports of this computer, stores the chosen
// port number at once and reopens the controller link on it, and can try every listed port
// until a controller answers ("Find Controller"). There is nothing to apply on closing: OK and
// Escape only close the dialog.

#include <QDialog>
#include <string>

#include "ui/dialogs/port_listing.h"

class QComboBox;
class QPushButton;

namespace korvath {
class CTCS_Monitor;
class MessageHost;
class SettingsStore;
}  // namespace korvath

namespace korvath::ui {

class CComSelectDlg : public QDialog {
    Q_OBJECT
public:
    // link: reopened on the chosen port and asked for its versions; may be null. messages: where
    // the dialog's message boxes go; null: message boxes owned by the dialog.
    CComSelectDlg(CTCS_Monitor* link, SettingsStore& settings, PortListOptions ports, QWidget* parent = nullptr,
                  MessageHost* messages = nullptr);

    // Fills the list (once; also done when the dialog is first shown).
    void OnInitDialog();
    // Lists the ports again; a stored 0 or a port that is gone is replaced by the first port.
    void FillPortList();
    void OnRefresh();
    // The user chose an entry: store its port and reopen the link on it.
    void OnPortChanged();
    void OnFindController();
    void OnHelpButton();
    // F1: the same text as the Help button; the request counts as handled.
    bool OnHelp();

    QComboBox* portList() const { return portList_; }
    // The item data of the entry at index (the COM number; 0 for "none").
    int PortAt(int index) const;
    int SelectedPort() const;

protected:
    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    int ShowMessage(const std::string& text, const char* caption, unsigned style);
    void StorePort(int port);
    // Selects without telling OnPortChanged (a choice made by the dialog, not the user).
    void Select(int index);

    CTCS_Monitor* link_;
    SettingsStore& settings_;
    PortListOptions ports_;
    MessageHost* messages_;
    QComboBox* portList_ = nullptr;
    QPushButton* findButton_ = nullptr;
    QPushButton* refreshButton_ = nullptr;
    bool initialised_ = false;
};

// Runs the dialog modally on the link. settingsPath names the settings file; the COM<n> links
// are looked for in the ports folder beside it.
void RunComSelectDialog(CTCS_Monitor* link, SettingsStore& settings, const std::string& settingsPath,
                        QWidget* parent);

}  // namespace korvath::ui
