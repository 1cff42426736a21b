#include "ui/dynui/dynamicbutton.h"

#include <QButtonGroup>
#include <QProcess>
#include <QVariant>
#include <cstdio>

#include "layout/dynamic_control_texts.h"
#include "layout/formula_action.h"
#include "layout/option_choice.h"
#include "document/qrndoc.h"
#include "platform/message_style.h"
#include "platform/program_path.h"
#include "ui/dynui/control_page.h"
#include "ui/dynui/dynamicedit.h"

namespace korvath::ui {
namespace {
namespace dt = dynamic_texts;

// Texts of a push button's block are read up to this length.
constexpr std::size_t kMaxKeyText = 500;
// The parent's current radio group, for the options that follow the one that started it.
constexpr const char* kRadioGroupProperty = "korvathRadioGroup";

const std::string kEmpty;

const std::string& SectionOf(const ControlPage* page) { return page ? page->PageSection() : kEmpty; }
const std::string& PageNameOf(const ControlPage* page) { return page ? page->PageLogicalName() : kEmpty; }
}  // namespace

CDynamicButton::CDynamicButton(QWidget* self) : PooledControl(self), self_(self) {
    auto* b = qobject_cast<QAbstractButton*>(self);
    if (!b) return;
    QObject::connect(b, &QAbstractButton::clicked, b, [this] {
        toggleWithoutClick_ = false;
        OnClicked();
    });
    QObject::connect(b, &QAbstractButton::toggled, b, [this](bool checked) { OnToggled(checked); });
}

void CDynamicButton::OnToggled(bool checked) {
    // An option that another of its group unchecked was not chosen by anyone.
    if (!checked && qobject_cast<QRadioButton*>(self_)) return;
    toggleWithoutClick_ = true;
    QMetaObject::invokeMethod(
        self_,
        [this] {
            if (!toggleWithoutClick_) return;
            toggleWithoutClick_ = false;
            OnClicked();
        },
        Qt::QueuedConnection);
}

CDynamicButton::~CDynamicButton() = default;

QAbstractButton* CDynamicButton::button() const { return qobject_cast<QAbstractButton*>(self_); }

QString CDynamicButton::ButtonText() const {
    if (QAbstractButton* b = button()) return b->text();
    if (auto* frame = qobject_cast<QGroupBox*>(self_)) return frame->title();
    return QString();
}

void CDynamicButton::SetButtonText(const QString& text) {
    if (QAbstractButton* b = button())
        b->setText(text);
    else if (auto* frame = qobject_cast<QGroupBox*>(self_))
        frame->setTitle(text);
}

int CDynamicButton::CheckState() const {
    QAbstractButton* b = button();
    return b && b->isCheckable() && b->isChecked() ? 1 : 0;
}

void CDynamicButton::SetCheck(int state) {
    QAbstractButton* b = button();
    if (!b || !b->isCheckable()) return;
    // Showing a state is no change by the user. An option this one unchecks in its group says so
    // with toggled(false), which no handler takes.
    const QSignalBlocker quiet(b);
    b->setChecked(state != 0);
}

void CDynamicButton::Setup(int buttonKind, CQRNDoc* doc) {
    kind = buttonKind;
    document = doc;
    if (kind != ButtonKind::PushButton || !document) return;
    DefinitionReader& reader = document->reader();
    std::string targetName;
    if (reader.ReadKeyString(dt::kTargetLName, targetName, kLogicalNameSize - 1, 1)) {
        target = page ? page->FindEditBox(targetName) : nullptr;
        reader.ReadKeyString(dt::kActionFormula, actionFormula, kMaxKeyText, 1);
        reader.ReadKeyString(dt::kActionFailText, actionFailText, kMaxKeyText, 1);
        reader.ReadKeyString(dt::kRangeFailFmt, rangeFailFormat, kMaxKeyText, 1);
    } else if (reader.ReadKeyString(dt::kExecute, actionFormula, kMaxProgramPathLength, 1)) {
        rangeFailFormat = dt::kProgramMarker;
    }
    reader.ReadKeyFloat(dt::kMinValue, minValue, 1);
    reader.ReadKeyFloat(dt::kMaxValue, maxValue, 1);
    reader.ReadKeyInt(dt::kGlobalInfluence, globalInfluence, 1);
}

void CDynamicButton::OnClicked() {
    if (kind == ButtonKind::Inert || !document) return;
    if (kind == ButtonKind::PushButton) {
        RunAction();
    } else if (kind >= ButtonKind::CheckBox && kind <= ButtonKind::RadioFrame) {
        RunClickPath();
    } else {
        return;
    }
    // The button may be deleted by these actions: nothing of it is used afterwards.
    PerformGlobalInfluence(document, globalInfluence, page);
}

void CDynamicButton::RunClickPath() {
    const int state = CheckState();
    if (radioIndex >= 0)
        ApplyRadioChoice(*document, SectionOf(page), PageNameOf(page), logicalName, radioIndex, state);
    else
        ApplyCheckBoxChoice(*document, SectionOf(page), PageNameOf(page), logicalName, state);
}

void CDynamicButton::OnCaptionClicked() {
    self_->setFocus(Qt::MouseFocusReason);
    if (QAbstractButton* b = button()) b->click();
}

void CDynamicButton::ShowFailure(std::string_view text) const {
    ShowControlMessage(text, ButtonText().remove(QLatin1Char('&')).toStdString(), MessageStyle::IconExclamation);
}

bool CDynamicButton::RunAction() {
    if (!document) return false;
    if (target) {
        const FormulaButtonResult result =
            RunFormulaAction(*document, target->setting.parser, {actionFormula, rangeFailFormat, minValue, maxValue});
        switch (result.outcome) {
            case FormulaButtonResult::Outcome::Unresolved: ShowFailure(actionFailText); return false;
            case FormulaButtonResult::Outcome::OutOfRange:
                ShowFailure(result.message);
                return false;
            case FormulaButtonResult::Outcome::Accepted:
                target->setText(QString::fromStdString(result.text));
                target->Commit();
                return true;
        }
        return false;
    }
    if (rangeFailFormat == dt::kProgramMarker) {
        if (IsHelpTopicPath(actionFormula)) {
            // A help topic outside the program directory is not shown.
            const auto path = ResolveProgramRelativePath(document->programDirectory(), actionFormula);
            if (!path) return false;
            if (auto& show = DynamicControlEnvironment().showHelpTopic) show(*path);
            return true;
        }
        if (RunProgram()) return true;
        ShowFailure(dt::kCouldNotOpenProgram);
        return false;
    }
    ShowFailure(dt::kNoTarget);
    return false;
}

bool CDynamicButton::RunProgram() {
    if (process != 0) {
        std::string errorText;
        switch (QueryProcessState(process, errorText)) {
            case ProcessState::QueryFailed:
                ShowControlMessage(errorText, dt::kProcessStatusErrorCaption, MessageStyle::Ok);
                process = 0;
                return true;
            case ProcessState::Running: return true;  // no second copy
            case ProcessState::Ended: process = 0; break;
        }
    }
    if (!document) return true;
    const auto path = ResolveProgramRelativePath(document->programDirectory(), actionFormula);
    if (!path) return false;
    std::fflush(nullptr);
    process = StartProgram(*path);
    return process != 0;
}

long long CDynamicButton::StartProgram(const std::string& path) {
    // No shell: the program gets its own path and two empty arguments.
    qint64 pid = 0;
    const QString program = QString::fromStdString(path);
    if (!QProcess::startDetached(program, {QString(), QString()}, QString(), &pid)) return 0;
    return pid;
}

void CDynamicButton::DoDataExchange(bool saveToMembers) {
    if (saveToMembers)
        checkState = CheckState();
    else
        SetCheck(checkState);
}

CDynamicPushButton::CDynamicPushButton(QWidget* parent) : QPushButton(parent), CDynamicButton(this) {}

CDynamicCheckBox::CDynamicCheckBox(QWidget* parent) : QCheckBox(parent), CDynamicButton(this) {}

CDynamicRadioButton::CDynamicRadioButton(QWidget* parent, bool startsGroup) : QRadioButton(parent), CDynamicButton(this) {
    // Radio options of one page share their parent; each "RadioButton" block is a group of its own
    // (a group decides over the parent's auto-exclusivity, which stays on for assistive tools).
    QButtonGroup* group = nullptr;
    if (parent && !startsGroup) group = qobject_cast<QButtonGroup*>(parent->property(kRadioGroupProperty).value<QObject*>());
    if (!group) {
        // Owned by the parent, which outlives its options; a rebuild leaves only empty groups behind.
        group = new QButtonGroup(parent ? static_cast<QObject*>(parent) : this);
        group->setExclusive(true);
        if (parent) parent->setProperty(kRadioGroupProperty, QVariant::fromValue<QObject*>(group));
    }
    group->addButton(this);
}

CDynamicRadioFrame::CDynamicRadioFrame(QWidget* parent) : QGroupBox(parent), CDynamicButton(this) {}

CDynamicButton* CreateDynamicButton(int kind, QWidget* parent, const QString& text, bool startsGroup) {
    CDynamicButton* made = nullptr;
    switch (kind) {
        case ButtonKind::CheckBox: made = new CDynamicCheckBox(parent); break;
        case ButtonKind::RadioOption: made = new CDynamicRadioButton(parent, startsGroup); break;
        case ButtonKind::RadioFrame: made = new CDynamicRadioFrame(parent); break;
        default: made = new CDynamicPushButton(parent); break;
    }
    made->SetButtonText(text);
    return made;
}

}  // namespace korvath::ui
