#pragma once
// CStartDlg: how to begin (open a calibration file or make a new one), with the "Show this
// message at startup" check box of section "StartBox".

#include "ui/dialogs/startup_box.h"

class QLabel;

namespace korvath::ui {

class CStartDlg : public CStartupBox {
    Q_OBJECT
public:
    explicit CStartDlg(SettingsStore& settings, QWidget* parent = nullptr);

    QLabel* introText() const { return introText_; }

private:
    QLabel* introText_ = nullptr;
};

}  // namespace korvath::ui
