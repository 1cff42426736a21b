#pragma once
// A run-time control with a caption label above it (edit box, text box, combo box): the control
// owns the label, and carries its text as its accessible name.

#include "ui/dynui/control_environment.h"
#include "ui/dynui/dynamicstatic.h"

namespace korvath::ui {

class CaptionedControl : public PooledControl {
public:
    OwnedWindow<CDynamicStatic> label;

    // Takes ownership of the caption.
    void SetLabel(CDynamicStatic* caption) {
        label = caption;
        if (caption) caption->LabelFor(self_);
    }

protected:
    explicit CaptionedControl(QWidget* self) : PooledControl(self), self_(self) {}
    ~CaptionedControl() = default;

private:
    QWidget* self_;
};

}  // namespace korvath::ui
