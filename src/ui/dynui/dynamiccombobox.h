#pragma once
// CDynamicComboBox: a drop-down list of a settings page (a "ComboBox" block, or the page's list
// of section variants). Entries keep the order they were added in; what a selection means is the
// page's business (OnComboChange).

#include <QComboBox>
#include <cstdint>
#include <string>

#include "ui/dynui/control_environment.h"

namespace korvath::ui {

class CDynamicStatic;
class ControlPage;

class CDynamicComboBox : public QComboBox {
    Q_OBJECT
public:
    static constexpr std::size_t kLogicalNameSize = 104;

    explicit CDynamicComboBox(QWidget* parent = nullptr);
    ~CDynamicComboBox() override;

    std::int32_t globalInfluence = 0;
    std::int32_t index = -1;  // position in the page's combo list
    std::int32_t isSelector = 0;
    OwnedWindow<CDynamicStatic> label;
    OwnedWindow<CDynamicStatic> description;  // selector only
    OwnedWindow<CDynamicStatic> picture;      // selector only
    std::string logicalName;
    std::string helpText;
    const ControlIdLease controlId{this};
    ControlPage* page = nullptr;

    void SetLogicalName(std::string_view name) { logicalName = CutToField(name, kLogicalNameSize); }
    void SetHelpText(std::string_view text);
    void SetLabel(CDynamicStatic* caption);
    void ShowHelp();

private:
    void OnSelectionChange();
};

}  // namespace korvath::ui
