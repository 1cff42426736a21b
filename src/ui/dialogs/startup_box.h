#pragma once
// What the About and Getting Started boxes share: the "Show this message at startup" check box
// and its setting. The setting is read when the box is made; OK writes the check box back, but
// only when it differs from what was read. Escape and the close box write nothing.

#include <QDialog>

class QCheckBox;

namespace korvath {
class SettingsStore;
}

namespace korvath::ui {

class CStartupBox : public QDialog {
    Q_OBJECT
public:
    // section: "AboutBox" or "StartBox".
    CStartupBox(SettingsStore& settings, const char* section, QWidget* parent);

    int initialShow() const { return initialShow_; }
    int showAtStartup() const { return showAtStartup_; }
    QCheckBox* showCheck() const { return showCheck_; }

    // OK: take the check box, store it when it changed, close.
    void accept() override;

protected:
    // Makes the check box at its template place; called by the boxes while they lay out.
    QCheckBox* MakeShowCheck(const QRect& geometry);

private:
    SettingsStore& settings_;
    const char* section_;
    int initialShow_ = 1;
    int showAtStartup_ = 1;
    QCheckBox* showCheck_ = nullptr;
};

// True when the box of `section` is shown at start-up: only a stored 1 (or none) shows it.
bool ShowsAtStartup(SettingsStore& settings, const char* section);

// The Help menu's boxes: shown modally whatever the setting says.
void ShowAboutBox(SettingsStore& settings, char packageRevision, QWidget* parent);
void ShowStartBox(SettingsStore& settings, QWidget* parent);

// The start-up boxes: the About box, then the Getting Started box, each only when its setting is
// exactly 1. parent may be null (no main window yet).
void RunStartupBoxes(SettingsStore& settings, char packageRevision, QWidget* parent);

}  // namespace korvath::ui
