#pragma once
// The two dockable bars of the main window ("Graph Controls" and "Dashboard") and their close
// rules: the graph bar has no close action, docked or floating, so it cannot be lost; the
// dashboard closes, and its owner tears its contents down whenever it is hidden.

#include <QDockWidget>

namespace korvath::ui {

class CControlBar final : public QDockWidget {
    Q_OBJECT
public:
    enum class CloseRule { Closable, NeverClosed };

    CControlBar(const QString& title, int barId, CloseRule rule, QWidget* parent);

    int barId() const { return barId_; }
    // The area the bar's run-time controls are built on.
    QWidget* content() const { return content_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    int barId_;
    CloseRule rule_;
    QWidget* content_;
};

}  // namespace korvath::ui
