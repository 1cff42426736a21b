#pragma once
// The choices of Tools > Calibration Report: another calibration whose changes the report lists
// (none unless asked for), and whether the report is saved as a PDF or printed.

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace korvath::ui {

class ReportDialog final : public QDialog {
    Q_OBJECT
public:
    enum Choice { Cancelled = 0, SavePdf = 1, Print = 2 };

    // comparePath: the calibration offered for comparing (the one the Differences panel compares
    // with, when it does); the box starts ticked when one is offered.
    ReportDialog(QWidget* parent, const QString& comparePath);

    // The calibration to compare with; empty when the box is not ticked.
    QString comparePath() const;

    QCheckBox* compareBox() const { return compareBox_; }
    QLineEdit* pathEdit() const { return pathEdit_; }
    QPushButton* saveButton() const { return saveButton_; }
    QPushButton* printButton() const { return printButton_; }

private:
    void Browse();

    QCheckBox* compareBox_ = nullptr;
    QLineEdit* pathEdit_ = nullptr;
    QPushButton* browseButton_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QPushButton* printButton_ = nullptr;
};

}  // namespace korvath::ui
