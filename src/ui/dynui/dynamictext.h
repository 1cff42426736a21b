#pragma once
// CDynamicText: the free-text box of a "TextBox" block, bound to a STR variable ("TargetVar") or
// to the property (page section, logical name). Every change the user makes is written at once,
// so the calibration always holds what the box shows.

#include <QPlainTextEdit>
#include <cstdint>
#include <string>

#include "ui/dynui/captioned_control.h"

namespace korvath {
class CQRNDoc;
}

namespace korvath::ui {

class ControlPage;

class CDynamicText : public QPlainTextEdit, public CaptionedControl {
    Q_OBJECT
public:
    static constexpr std::size_t kLogicalNameSize = 52;

    explicit CDynamicText(QWidget* parent = nullptr);
    ~CDynamicText() override;

    std::string logicalName;
    std::int32_t index = -1;
    std::string text;  // as last shown or typed
    std::int32_t globalInfluence = 0;
    std::string targetVar;
    CQRNDoc* document = nullptr;
    ControlPage* page = nullptr;

    void SetLogicalName(std::string_view name) { logicalName = CutToField(name, kLogicalNameSize); }

    // Reads "TargetVar" and "GlobalInfluence" of the selected block and shows the bound text. A
    // TargetVar that names no STR variable leaves the box empty and read-only.
    void Setup(CQRNDoc* document);
    void OnTextChanged();
    void DoDataExchange(bool saveToMembers);
    // A box one line high: Enter ends the edit and adds no line break.
    void SetOneLine(bool oneLine) { oneLine_ = oneLine; }
    bool IsOneLine() const { return oneLine_; }

protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool oneLine_ = false;
    bool showing_ = false;  // the program is putting text in: no user change
    bool bound_ = true;     // false: TargetVar names no STR variable
};

}  // namespace korvath::ui
