#pragma once
// CDynamicButton: the buttons of the settings pages, made at run time from "UserOption" blocks:
// push buttons (a formula that fills an edit box, an external program, a help topic), check
// boxes and radio options (which write the calibration through "BitValState<n>" lists and
// remember the choice in the property store), and the frame around a radio group. The tuning
// bar's legend buttons derive from it too (through CDynamicCheckBox) and handle their own clicks.
//
// Each kind is a standard Qt button (QPushButton, QCheckBox, QRadioButton; QGroupBox for the
// frame) so that focus, keyboard use, themes and screen readers work: CDynamicButton holds what
// they share, and CreateDynamicButton makes the right one for a kind.

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <cstdint>
#include <string>
#include <string_view>

#include "ui/dynui/control_environment.h"

namespace korvath {
class CQRNDoc;
}

namespace korvath::ui {

class CDynamicEdit;
class ControlPage;

// ButtonKind.
namespace ButtonKind {
inline constexpr int PushButton = 0;
inline constexpr int CheckBox = 1;
inline constexpr int RadioOption = 2;
inline constexpr int RadioFrame = 3;
inline constexpr int Inert = 5;
}  // namespace ButtonKind

class CDynamicButton : public PooledControl {
public:
    static constexpr std::size_t kLogicalNameSize = 104;
    static constexpr float kDefaultMaxValue = 10000.0f;
    static constexpr float kDefaultMinValue = 0.1f;

    virtual ~CDynamicButton();

    std::int32_t kind = -1;
    std::int32_t radioIndex = -1;  // a radio option's index in its group
    std::int32_t pageIndex = -1;   // position in the page's button list
    // Deleted with the button (the tuning bar's captions of a legend button).
    OwnedWindow<QWidget> companion1;
    OwnedWindow<QWidget> companion2;
    std::string logicalName;  // at most kLogicalNameSize - 1 characters (SetLogicalName)
    std::int32_t checkState = 0;  // the check state as the page's data exchange keeps it
    std::int32_t globalInfluence = 0;
    CDynamicEdit* target = nullptr;  // the edit box a formula button fills
    std::string rangeFailFormat;     // "RangeFailFmt", or the program marker for a program button
    std::string actionFailText;
    std::string actionFormula;       // "ActionFormula", or a program button's "Execute" path
    CQRNDoc* document = nullptr;
    float maxValue = kDefaultMaxValue;
    float minValue = kDefaultMinValue;
    long long process = 0;  // the program this button started last (its process id), 0: none
    // The page that owns the button; null for buttons outside a page (the tuning bar's).
    ControlPage* page = nullptr;

    // The button's window (a QAbstractButton, or the QGroupBox of a radio frame).
    QWidget* widget() const { return self_; }
    // Null for a radio frame.
    QAbstractButton* button() const;
    QString ButtonText() const;
    void SetButtonText(const QString& text);
    // 0 or 1.
    int CheckState() const;
    void SetCheck(int state);
    void SetLogicalName(std::string_view name) { logicalName = CutToField(name, kLogicalNameSize); }

    // Stores kind and document; a push button reads its action keys from the block the reader has
    // selected and finds its target among the edit boxes the page has already made.
    void Setup(int kind, CQRNDoc* document);
    // The button was clicked, or its check state changed by the user in any other way (the
    // accessible Toggle action of a screen reader); legend buttons replace this. SetCheck does
    // not run it.
    virtual void OnClicked();
    // A click on a caption linked to this button: it takes the focus and is clicked (a check box
    // toggles).
    virtual void OnCaptionClicked();
    bool RunAction();
    bool RunProgram();
    // true: the window's check state into checkState; false: checkState into the window.
    void DoDataExchange(bool saveToMembers);

protected:
    explicit CDynamicButton(QWidget* self);
    // Starts the program at `path` without waiting for it; its process id, 0 when it did not start.
    virtual long long StartProgram(const std::string& path);

private:
    void ShowFailure(std::string_view text) const;
    void RunClickPath();
    void OnToggled(bool checked);

    QWidget* self_;
    // A toggle not yet followed by a click: a click (mouse, Space) toggles, then clicks, and runs
    // the handler from the click; a toggle alone (the accessible action) runs it once the event
    // that toggled is over, when the handler may rebuild the page or the bar that holds the button.
    bool toggleWithoutClick_ = false;
};

class CDynamicPushButton : public QPushButton, public CDynamicButton {
    Q_OBJECT
public:
    explicit CDynamicPushButton(QWidget* parent = nullptr);
};

class CDynamicCheckBox : public QCheckBox, public CDynamicButton {
    Q_OBJECT
public:
    explicit CDynamicCheckBox(QWidget* parent = nullptr);
};

class CDynamicRadioButton : public QRadioButton, public CDynamicButton {
    Q_OBJECT
public:
    // startsGroup: this option begins a new group; the following options of the same parent join
    // it until the next one that starts a group.
    explicit CDynamicRadioButton(QWidget* parent = nullptr, bool startsGroup = false);
};

class CDynamicRadioFrame : public QGroupBox, public CDynamicButton {
    Q_OBJECT
public:
    explicit CDynamicRadioFrame(QWidget* parent = nullptr);
};

// The button for a ButtonKind (an inert kind-5 button is a push button), with its text; the kind
// is set by Setup. startsGroup applies to radio options.
CDynamicButton* CreateDynamicButton(int kind, QWidget* parent, const QString& text, bool startsGroup = false);

}  // namespace korvath::ui
