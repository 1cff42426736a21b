#include "ui/commands/transreadbackdecoder.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "ui/dialogs/dialog_icons.h"
#include "ui/dialogs/dialog_layout.h"

namespace korvath::ui {

CTransReadbackDecoder::CTransReadbackDecoder(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8(kChooseTransmissionCaption));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowIcon(ProgramIcon());
    const DialogUnits du(font());
    SetTemplateSize(this, du, 284, 151);

    okButton_ = new QPushButton(tr("OK"), this);
    PlaceControl(okButton_, du, 227, 7, 50, 14);
    okButton_->setDefault(true);
    cancelButton_ = new QPushButton(tr("Cancel"), this);
    PlaceControl(cancelButton_, du, 227, 24, 50, 14);
    prompt_ = new QLabel(QString::fromUtf8(kChooseTransmissionPrompt), this);
    prompt_->setWordWrap(true);
    prompt_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    PlaceControl(prompt_, du, 7, 7, 216, 45);
    typeList_ = new QComboBox(this);
    // The drop-down's closed height is the combo box's own; 91 units is the open list.
    PlaceControl(typeList_, du, 7, 55, 270, 14);
    typeList_->setMaxVisibleItems(8);

    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(typeList_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) selected_ = index;
    });
}

int CTransReadbackDecoder::ChooseTransmission(const std::vector<std::string>& displayTexts) {
    typeList_->clear();
    selected_ = 0;
    for (const std::string& text : displayTexts) typeList_->addItem(QString::fromStdString(text));
    if (typeList_->count() == 0) return -1;
    typeList_->setCurrentIndex(0);
    if (exec() != QDialog::Accepted) return -1;
    return selected_;
}

}  // namespace korvath::ui
