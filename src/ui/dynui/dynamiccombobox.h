#pragma once
// CDynamicComboBox: a drop-down list of a settings page (a "ComboBox" block, or the page's list
// of section variants). Entries keep the order they were added in; what a selection means is the
// page's business (OnComboChange).

#include <QComboBox>
#include <cstdint>
#include <string>

#include "ui/dynui/captioned_control.h"

namespace korvath::ui {

class ControlPage;

class CDynamicComboBox : public QComboBox, public CaptionedControl {
    Q_OBJECT
public:
    static constexpr std::size_t kLogicalNameSize = 104;

    explicit CDynamicComboBox(QWidget* parent = nullptr);
    ~CDynamicComboBox() override;

    std::int32_t globalInfluence = 0;
    std::int32_t index = -1;  // position in the page's combo list
    std::int32_t isSelector = 0;
    OwnedWindow<CDynamicStatic> description;  // selector only
    OwnedWindow<CDynamicStatic> picture;      // selector only
    std::string logicalName;
    ControlPage* page = nullptr;

    void SetLogicalName(std::string_view name) { logicalName = CutToField(name, kLogicalNameSize); }

private:
    void OnSelectionChange();
};

}  // namespace korvath::ui
