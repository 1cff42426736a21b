#include "ui/tools/report_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/app/app_texts.h"
#include "ui/tools/tools_texts.h"

namespace korvath::ui {
namespace {
QString Text(const char* text) { return QString::fromUtf8(text); }
constexpr int kPathWidthInCharacters = 50;
}  // namespace

ReportDialog::ReportDialog(QWidget* parent, const QString& comparePath) : QDialog(parent) {
    setWindowTitle(Text(texts::kReportTitle));
    setObjectName(QStringLiteral("CalibrationReportDialog"));
    compareBox_ = new QCheckBox(Text(texts::kReportCompare), this);
    compareBox_->setChecked(!comparePath.isEmpty());
    pathEdit_ = new QLineEdit(comparePath, this);
    pathEdit_->setAccessibleName(Text(texts::kReportComparePath));
    pathEdit_->setMinimumWidth(pathEdit_->fontMetrics().averageCharWidth() * kPathWidthInCharacters);
    browseButton_ = new QPushButton(Text(texts::kReportBrowse), this);
    auto enable = [this](bool on) {
        pathEdit_->setEnabled(on);
        browseButton_->setEnabled(on);
    };
    enable(compareBox_->isChecked());
    connect(compareBox_, &QCheckBox::toggled, this, enable);
    connect(browseButton_, &QPushButton::clicked, this, &ReportDialog::Browse);

    auto* buttons = new QDialogButtonBox(this);
    saveButton_ = buttons->addButton(Text(texts::kReportSave), QDialogButtonBox::AcceptRole);
    printButton_ = buttons->addButton(Text(texts::kReportPrint), QDialogButtonBox::AcceptRole);
    buttons->addButton(Text(texts::kReportCancel), QDialogButtonBox::RejectRole);
    saveButton_->setDefault(true);
    connect(saveButton_, &QPushButton::clicked, this, [this] { done(SavePdf); });
    connect(printButton_, &QPushButton::clicked, this, [this] { done(Print); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(pathEdit_, 1);
    pathRow->addWidget(browseButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(compareBox_);
    layout->addLayout(pathRow);
    layout->addWidget(buttons);
}

QString ReportDialog::comparePath() const { return compareBox_->isChecked() ? pathEdit_->text().trimmed() : QString(); }

void ReportDialog::Browse() {
    const QString filter = Text(texts::kFileFilter) + QStringLiteral(";;") + Text(texts::kAllFilesFilter);
    const QString path = QFileDialog::getOpenFileName(this, Text(texts::kCompareTitle), pathEdit_->text(), filter);
    if (!path.isEmpty()) pathEdit_->setText(path);
}

}  // namespace korvath::ui
