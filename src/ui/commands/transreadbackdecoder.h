#pragma once
// "Select Current Transmission Type": after a read, when the controller's image fits several
// similar transmissions, the user picks one from a list (in the order given, the first one
// selected). OK answers the chosen entry, Cancel or Escape none.

#include <QDialog>
#include <string>
#include <vector>

#include "definition/readback_decoder.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace korvath::ui {

class CTransReadbackDecoder : public QDialog, public ReadbackChooser {
    Q_OBJECT
public:
    explicit CTransReadbackDecoder(QWidget* parent = nullptr);

    // Runs the dialog modally over the texts; the index of the chosen text, -1 on Cancel.
    int ChooseTransmission(const std::vector<std::string>& displayTexts) override;

    QComboBox* typeList() const { return typeList_; }
    QPushButton* okButton() const { return okButton_; }
    // The entry chosen in the list (recorded on every change of the selection).
    int selectedEntry() const { return selected_; }

private:
    QComboBox* typeList_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QLabel* prompt_ = nullptr;
    int selected_ = 0;
};

}  // namespace korvath::ui
