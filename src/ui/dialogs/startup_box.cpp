#include "ui/dialogs/startup_box.h"

#include <QCheckBox>

#include "platform/settings_keys.h"
#include "platform/settings_store.h"
#include "ui/dialogs/aboutdlg.h"
#include "ui/dialogs/dialog_icons.h"
#include "ui/dialogs/dialog_texts.h"
#include "ui/dialogs/startdlg.h"

namespace korvath::ui {

CStartupBox::CStartupBox(SettingsStore& settings, const char* section, QWidget* parent)
    : QDialog(parent), settings_(settings), section_(section) {
    initialShow_ = settings_.GetInt(section_, settings::kShowAtStartup, settings::kShowAtStartupDefault);
    showAtStartup_ = initialShow_;
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowIcon(ProgramIcon());
}

QCheckBox* CStartupBox::MakeShowCheck(const QRect& geometry) {
    showCheck_ = new QCheckBox(QString::fromUtf8(dialog_texts::kShowAtStartupCheck), this);
    showCheck_->setGeometry(geometry);
    // 1 ticks the box and 0 clears it; any other stored value shows as neither, and reads back
    // unchanged unless the user clicks the box.
    if (showAtStartup_ == 1)
        showCheck_->setCheckState(Qt::Checked);
    else if (showAtStartup_ == 0)
        showCheck_->setCheckState(Qt::Unchecked);
    else
        showCheck_->setCheckState(Qt::PartiallyChecked);
    // A click only ever ticks or clears it.
    connect(showCheck_, &QCheckBox::clicked, this, [this](bool checked) {
        showCheck_->setTristate(false);
        showCheck_->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    });
    return showCheck_;
}

void CStartupBox::accept() {
    switch (showCheck_->checkState()) {
        case Qt::Checked: showAtStartup_ = 1; break;
        case Qt::Unchecked: showAtStartup_ = 0; break;
        case Qt::PartiallyChecked: showAtStartup_ = initialShow_; break;
    }
    if (showAtStartup_ != initialShow_) settings_.SetInt(section_, settings::kShowAtStartup, showAtStartup_);
    QDialog::accept();
}

bool ShowsAtStartup(SettingsStore& settings, const char* section) {
    return settings.GetInt(section, settings::kShowAtStartup, settings::kShowAtStartupDefault) == 1;
}

void ShowAboutBox(SettingsStore& settings, char packageRevision, QWidget* parent) {
    CAboutDlg box(settings, packageRevision, parent);
    box.exec();
}

void ShowStartBox(SettingsStore& settings, QWidget* parent) {
    CStartDlg box(settings, parent);
    box.exec();
}

void RunStartupBoxes(SettingsStore& settings, char packageRevision, QWidget* parent) {
    if (ShowsAtStartup(settings, settings::kAboutBox)) ShowAboutBox(settings, packageRevision, parent);
    if (ShowsAtStartup(settings, settings::kStartBox)) ShowStartBox(settings, parent);
}

}  // namespace korvath::ui
