#pragma once
// CAboutDlg: the program's version, the rights notice, the safety warning and the legal terms,
// with the "Show this message at startup" check box of section "AboutBox".

#include <QString>

#include "ui/dialogs/startup_box.h"

class QLabel;

namespace korvath::ui {

class CAboutDlg : public CStartupBox {
    Q_OBJECT
public:
    CAboutDlg(SettingsStore& settings, char packageRevision, QWidget* parent = nullptr);

    // "The Korvath Tuning System, Version 3.31" followed by the revision letter; a letter of 0
    // (no Package.ver), or one that is not a printable character, adds nothing.
    static QString VersionLine(char packageRevision);
    // The safety warning, the legal notice and the disclaimer, separated by blank lines.
    static QString NoticeText();

    QLabel* versionText() const { return versionText_; }
    QLabel* noticeText() const { return noticeText_; }

private:
    QLabel* versionText_ = nullptr;
    QLabel* noticeText_ = nullptr;
};

}  // namespace korvath::ui
