#include "ui/tools/edit_history.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTimer>
#include <QUndoCommand>
#include <QUndoStack>

#include "calibration/settings_step_name.h"
#include "document/curve_edit.h"
#include "document/qrndoc.h"

namespace korvath::ui {
namespace {

// A change of trace points: the stored values before and after, nothing else.
class PointsCommand final : public QUndoCommand {
public:
    PointsCommand(CQRNDoc& doc, const QString& name, const TracePoints& before, const TracePoints& after)
        : QUndoCommand(name), doc_(doc), before_(before), after_(after) {}
    void undo() override { RestorePoints(doc_, before_); }
    void redo() override {
        // Pushed after the edit was made: the first redo has nothing to do.
        if (std::exchange(done_, false)) return;
        RestorePoints(doc_, after_);
    }

private:
    CQRNDoc& doc_;
    TracePoints before_, after_;
    bool done_ = true;
};

// A change on a settings page: the whole calibration and its definition before and after.
class SettingsCommand final : public QUndoCommand {
public:
    SettingsCommand(CQRNDoc& doc, const QString& name, CalibrationState before, CalibrationState after)
        : QUndoCommand(name), doc_(doc), before_(std::move(before)), after_(std::move(after)) {}
    void undo() override { RestoreState(doc_, before_); }
    void redo() override {
        if (std::exchange(done_, false)) return;
        RestoreState(doc_, after_);
    }

private:
    CQRNDoc& doc_;
    CalibrationState before_, after_;
    bool done_ = true;
};

bool EditsText(const QObject* widget) {
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QAbstractSpinBox*>(widget) ||
           qobject_cast<const QTextEdit*>(widget) || qobject_cast<const QPlainTextEdit*>(widget);
}

bool IsRedo(const QKeyEvent* key) {
    return key->matches(QKeySequence::Redo) ||
           key->keyCombination() == QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z) ||
           key->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_Y);
}

}  // namespace

EditHistory::EditHistory(CQRNDoc& doc, CQRNView& view, QObject* parent)
    : QObject(parent), doc_(doc), view_(&view), stack_(new QUndoStack(this)) {
    setObjectName(QStringLiteral("EditHistory"));
    connect(&view, &CQRNView::editBegins, this, &EditHistory::OnViewEditBegins);
    connect(&view, &CQRNView::editEnds, this, &EditHistory::OnViewEditEnds);
    AddShortcutScope(&view);
    // Whatever moves through the history (the buttons, the keys, the history window's list).
    connect(stack_, &QUndoStack::indexChanged, this, [this] {
        FollowModifiedFlag();
        Q_EMIT changed();
    });
    qApp->installEventFilter(this);
}

EditHistory::~EditHistory() {
    if (qApp) qApp->removeEventFilter(this);
}

bool EditHistory::RecordPointsEdit(const QString& name, const std::function<void()>& edit) {
    const TracePoints before = doc_.calibration().points;
    edit();
    return PushPointsStep(name, before);
}

bool EditHistory::PushPointsStep(const QString& name, const TracePoints& before) {
    const TracePoints& after = doc_.calibration().points;
    if (after == before) return false;
    stack_->push(new PointsCommand(doc_, name, before, after));
    return true;
}

bool EditHistory::PushSettingsStep(const CalibrationState& before) {
    if (HoldsState(doc_, before)) return false;
    CalibrationState after = CaptureState(doc_);
    const QString name = QString::fromStdString(SettingsStepName(before.calibration, after.calibration));
    stack_->push(new SettingsCommand(doc_, name, before, std::move(after)));
    return true;
}

void EditHistory::Undo() {
    ForgetPendingSettings();
    stack_->undo();
}

void EditHistory::Redo() {
    ForgetPendingSettings();
    stack_->redo();
}

void EditHistory::ForgetPendingSettings() {
    // What a page held when the keys were pressed is no step: the undo changes it, not the user.
    settingsBefore_.reset();
    ++settleGeneration_;
}

void EditHistory::FollowModifiedFlag() {
    // Without a clean state (the document was modified when the history began) every state is
    // modified.
    doc_.SetModifiedFlag(stack_->cleanIndex() < 0 || !stack_->isClean());
}

void EditHistory::Clear() {
    const bool modified = doc_.IsModified();
    viewBefore_.reset();
    settingsBefore_.reset();
    stack_->clear();
    if (modified) {
        stack_->resetClean();
        doc_.SetModifiedFlag(true);
    }
}

void EditHistory::MarkSaved() { stack_->setClean(); }

void EditHistory::OnViewEditBegins() { viewBefore_ = doc_.calibration().points; }

void EditHistory::OnViewEditEnds(CQRNView::EditKind kind, int trace, int column) {
    if (!viewBefore_) return;
    const TracePoints before = *viewBefore_;
    viewBefore_.reset();
    const QString point = QString::fromStdString(PointName(doc_, trace, column));
    PushPointsStep((kind == CQRNView::EditKind::Drag ? tr("Drag %1") : tr("Step %1")).arg(point), before);
}

void EditHistory::AddShortcutScope(QWidget* widget) { scopes_.append(widget); }

bool EditHistory::OnSettingsPage(const QObject* widget) {
    for (const QObject* o = widget; o; o = o->parent())
        if (o->inherits("korvath::ui::CSettingsPage")) return true;
    return false;
}

bool EditHistory::InShortcutScope(const QWidget* widget) const {
    if (OnSettingsPage(widget)) return true;
    for (const QPointer<QWidget>& scope : scopes_)
        if (scope && widget && (widget == scope || scope->isAncestorOf(widget))) return true;
    return false;
}

void EditHistory::SettingsInteractionBegins() {
    if (!settingsBefore_) settingsBefore_ = CaptureState(doc_);
}

void EditHistory::SettingsInteractionEnds() {
    if (!settingsBefore_) return;
    // After the control's handler and the refresh it queued (the page may be rebuilt).
    const int generation = ++settleGeneration_;
    QTimer::singleShot(0, this, [this, generation] {
        QTimer::singleShot(0, this, [this, generation] {
            if (generation == settleGeneration_) SettleSettings();
        });
    });
}

void EditHistory::SettleSettings() {
    if (!settingsBefore_) return;
    const CalibrationState before = std::move(*settingsBefore_);
    settingsBefore_.reset();
    PushSettingsStep(before);
}

bool EditHistory::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            auto* widget = qobject_cast<QWidget*>(watched);
            const bool redo = IsRedo(key);
            // Consumed at its first receiver (the focus widget), so it never reaches a parent too.
            if ((redo || key->matches(QKeySequence::Undo)) && widget && !EditsText(widget) && InShortcutScope(widget)) {
                if (redo)
                    Redo();
                else
                    Undo();
                return true;
            }
            if (widget && OnSettingsPage(widget)) SettingsInteractionBegins();
            break;
        }
        case QEvent::MouseButtonPress:
            if (watched->isWidgetType() && OnSettingsPage(watched)) SettingsInteractionBegins();
            break;
        case QEvent::MouseButtonRelease:
        case QEvent::KeyRelease:
            if (watched->isWidgetType() && OnSettingsPage(watched)) SettingsInteractionEnds();
            break;
        default: break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace korvath::ui
