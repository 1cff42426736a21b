#include "ui/dynui/dynamiccombobox.h"

#include <QTimer>

#include "ui/dynui/control_page.h"
#include "ui/dynui/dynamicstatic.h"

namespace korvath::ui {

CDynamicComboBox::CDynamicComboBox(QWidget* parent) : QComboBox(parent), CaptionedControl(this) {
    setEditable(false);
    setInsertPolicy(QComboBox::InsertAtBottom);
    // Only the user's choices count; the page selecting an entry while it builds is none.
    connect(this, &QComboBox::activated, this, [this] { OnSelectionChange(); });
}

CDynamicComboBox::~CDynamicComboBox() = default;

void CDynamicComboBox::OnSelectionChange() {
    if (index < 0 || !page) return;
    // The page may rebuild its controls, this list among them: it is told from the event loop,
    // once the list has finished with the user's click.
    QTimer::singleShot(0, this, [this] {
        if (page) page->OnComboChange(index);
    });
}

}  // namespace korvath::ui
