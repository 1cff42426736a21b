#pragma once
// The two dockable bars of the main window ("Graph Controls" and "Dashboard") and their close
// rules: the floating graph bar cannot be closed; closing the floating dashboard tears its
// contents down before the bar hides.

#include <QDockWidget>
#include <functional>

namespace korvath::ui {

class CControlBar final : public QDockWidget {
    Q_OBJECT
public:
    enum class CloseRule { Normal, RefuseWhileFloating, TeardownWhileFloating };

    CControlBar(const QString& title, int barId, CloseRule rule, QWidget* parent);

    int barId() const { return barId_; }
    // The area the bar's run-time controls are built on.
    QWidget* content() const { return content_; }
    void SetTeardown(std::function<void()> teardown) { teardown_ = std::move(teardown); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void UpdateFeatures(bool floating);

    int barId_;
    CloseRule rule_;
    QWidget* content_;
    std::function<void()> teardown_;
};

}  // namespace korvath::ui
