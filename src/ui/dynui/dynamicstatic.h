#pragma once
// CDynamicStatic: the label of the run-time windows. Settings pages put one above each edit box,
// text box and combo box; the tuning bar uses it for its captions (a click on a caption goes to
// its legend button) and the dashboard for its value displays and their captions, with colours.

#include <QBrush>
#include <QLabel>
#include <QPointer>
#include <cstdint>
#include <string>

#include "graph/color.h"
#include "ui/dynui/control_environment.h"

class QPainter;

namespace korvath::ui {

class CDynamicButton;

// A non-owning pointer to a legend button that reads as null once the button's window is gone.
class ButtonLink {
public:
    ButtonLink& operator=(CDynamicButton* button);
    CDynamicButton* get() const { return window_ ? button_ : nullptr; }
    CDynamicButton* operator->() const { return get(); }
    explicit operator bool() const { return get() != nullptr; }

private:
    CDynamicButton* button_ = nullptr;
    QPointer<QWidget> window_;
};

class CDynamicStatic : public QLabel, public PooledControl {
    Q_OBJECT
public:
    static constexpr std::size_t kLogicalNameSize = 52;
    static constexpr Color kDefaultBackColor = 0x0080FF80;
    static constexpr Color kDefaultTextColor = 0x00FF0000;

    explicit CDynamicStatic(QWidget* parent = nullptr, const QString& text = QString());
    ~CDynamicStatic() override;

    // Clicks on the label go to this button (a legend button's caption); null: none.
    ButtonLink linkedButton;
    // 1: the text is drawn with textColor on backBrush (backColor when the brush is empty).
    std::int32_t colored = 0;
    QBrush backBrush;
    std::string logicalName;  // at most kLogicalNameSize - 1 characters (SetLogicalName)
    // Deleted with the label (the dashboard's value display owns its caption so).
    OwnedWindow<QWidget> companion;
    Color backColor = kDefaultBackColor;
    Color textColor = kDefaultTextColor;

    void SetLogicalName(std::string_view name) { logicalName = CutToField(name, kLogicalNameSize); }
    // Both colours, the brush, and colored = 1; shown at the next repaint like any change of the
    // members.
    void SetColors(Color back, Color text);
    // Links the label to a legend button; a button without a text of its own takes the label's
    // text as its accessible name.
    void LinkButton(CDynamicButton* button);

    // Makes the label the caption of a field beside it (edit box, text box, combo box): the
    // field's buddy, and its text the field's accessible name.
    void LabelFor(QWidget* field);

    // A focus rectangle one pixel outside the label on every side, painted by the parent on its
    // own surface (`painter` paints the parent).
    void DrawFocusFrame(QPainter& painter) const;

Q_SIGNALS:
    // The click notification, for owners that want it.
    void clicked();
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

}  // namespace korvath::ui
