#pragma once
// The undo history of the calibration: every change the user makes is one step of a QUndoStack.
// Curve edits (a drag from press to release, a key or wheel step, a typed cell, a paste, an
// operation) keep the stored points before and after; a change on a settings page keeps the
// whole calibration before and after. Undo and redo restore the stored values exactly, and the
// document's modified flag follows the stack's clean state. Opening a file, File New and a read
// from the controller clear the history; a save marks the clean state.

#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>

#include "definition/calibration.h"
#include "document/calibration_state.h"
#include "ui/graph/qrnview.h"

class QAction;
class QUndoStack;
class QWidget;

namespace korvath {
class CQRNDoc;
}

namespace korvath::ui {

class EditHistory final : public QObject {
    Q_OBJECT
public:
    EditHistory(CQRNDoc& doc, CQRNView& view, QObject* parent = nullptr);
    ~EditHistory() override;

    QUndoStack& stack() const { return *stack_; }

    // Runs `edit` (which changes trace points) as one step named `name`; nothing is kept when it
    // changed nothing. Returns whether a step was kept.
    bool RecordPointsEdit(const QString& name, const std::function<void()>& edit);
    // A step for points already changed from `before`.
    bool PushPointsStep(const QString& name, const TracePoints& before);
    // A step for a settings change from `before` to what the document holds now.
    bool PushSettingsStep(const CalibrationState& before);

    void Undo();
    void Redo();
    // The document was replaced (open, new, read): no step leads back from it.
    void Clear();
    // The document was saved: this is its clean state.
    void MarkSaved();

    // Widgets whose focus makes Ctrl+Z, Ctrl+Shift+Z and Ctrl+Y undo and redo (with their
    // children); the settings pages count too.
    void AddShortcutScope(QWidget* widget);
    // Whether `widget` lies on a settings page (its changes are steps of their own).
    static bool OnSettingsPage(const QObject* widget);

Q_SIGNALS:
    // After a step was kept, undone or redone: what shows the points reads them again.
    void changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnViewEditBegins();
    void OnViewEditEnds(CQRNView::EditKind kind, int trace, int column);
    void SettingsInteractionBegins();
    void SettingsInteractionEnds();
    void SettleSettings();
    void ForgetPendingSettings();
    bool InShortcutScope(const QWidget* widget) const;
    void FollowModifiedFlag();

    CQRNDoc& doc_;
    QPointer<CQRNView> view_;
    QUndoStack* stack_ = nullptr;
    std::optional<TracePoints> viewBefore_;
    std::optional<CalibrationState> settingsBefore_;
    int settleGeneration_ = 0;
    QList<QPointer<QWidget>> scopes_;
};

}  // namespace korvath::ui
