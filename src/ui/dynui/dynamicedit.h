#pragma once
// CDynamicEdit: the numeric field of an "EditBox" block. It shows the number of its
// NumericSetting (stored units through the display formula), commits what is typed on Enter,
// Space and leaving the field, steps it with the arrow keys (five times with Shift) and the
// wheel, and performs the block's "GlobalInfluence" actions after each store.

#include <QLineEdit>
#include <cstdint>
#include <string>

#include "layout/numeric_setting.h"
#include "ui/dynui/captioned_control.h"

namespace korvath {
class CQRNDoc;
}

namespace korvath::ui {

class ControlPage;

class CDynamicEdit : public QLineEdit, public CaptionedControl {
    Q_OBJECT
public:
    static constexpr std::size_t kLogicalNameSize = 52;
    static constexpr int kMaxCharacters = 70;
    static constexpr int kShiftMultiplier = 5;

    explicit CDynamicEdit(QWidget* parent = nullptr);
    ~CDynamicEdit() override;

    std::string logicalName;  // SetLogicalName
    std::int32_t index = -1;  // position in the page's edit-box list
    std::string text;  // the window text as the page's data exchange keeps it
    // The number, its formulas, targets and limits; its parser also serves formula buttons.
    NumericSetting setting;
    CQRNDoc* document = nullptr;
    ControlPage* page = nullptr;  // the owning page; null: none (no section, no rebuilds)

    void SetLogicalName(std::string_view name) { logicalName = CutToField(name, kLogicalNameSize); }

    // Reads the selected "EditBox" block, takes the starting value and shows it.
    void Setup(CQRNDoc* document);
    void ShowValue();
    void Commit();
    void Step(int n);
    void StoreValue();
    // true: the window text into text; false: text into the window.
    void DoDataExchange(bool saveToMembers);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void AfterStore();
    const std::string& Section() const;

    bool committing_ = false;
};

}  // namespace korvath::ui
