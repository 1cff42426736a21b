#pragma once
// What the run-time controls (settings-page controls, tuning-bar legend buttons, dashboard
// displays) reach outside their owner: the main window's control-id pool, the message boxes and
// the application's help viewer. The application installs them when the main window exists and
// removes them before it goes; tests install their own.

#include <QPointer>
#include <QWidget>
#include <functional>
#include <string>
#include <string_view>

namespace korvath {
class MessageHost;
}

namespace korvath::ui {

class ControlIdPool;

struct ControlEnvironment {
    ControlIdPool* pool = nullptr;    // null: controls get id 0
    MessageHost* messages = nullptr;  // null: plain message boxes without an owner
    // Shows an ".rtf" help topic (a full path) in the help viewer.
    std::function<void(const std::string& path)> showHelpTopic;
};

// The one environment of the process.
ControlEnvironment& DynamicControlEnvironment();

// A message box through the environment: the style's buttons and icon, the pressed button back.
int ShowControlMessage(std::string_view text, std::string_view caption, unsigned style);

// The help of a control: its text in a box captioned with the application's title; nothing for
// an empty text.
void ShowControlHelp(const std::string& helpText);

// A control's id from the pool, taken at construction and given back at destruction (0 when the
// pool was exhausted or there is none). The widget carries it for the main window's tooltip,
// status-bar and context-help lookups.
class ControlIdLease {
public:
    explicit ControlIdLease(QWidget* control);
    ~ControlIdLease();
    ControlIdLease(const ControlIdLease&) = delete;
    ControlIdLease& operator=(const ControlIdLease&) = delete;

    operator int() const { return id_; }
    int id() const { return id_; }
    // The texts the main window shows for the control (empty texts are not registered).
    void RegisterHelpText(std::string_view text) const;
    void RegisterStatusText(std::string_view text) const;
    void RegisterToolTip(std::string_view text) const;

private:
    ControlIdPool* LivePool() const;

    ControlIdPool* pool_ = nullptr;
    int id_ = 0;
};

// A window a control owns though it is not its child (a caption beside it, a companion label):
// deleted with the control unless something else deleted it first.
template <typename T>
class OwnedWindow {
public:
    OwnedWindow() = default;
    ~OwnedWindow() { delete window_.data(); }
    OwnedWindow(const OwnedWindow&) = delete;
    OwnedWindow& operator=(const OwnedWindow&) = delete;
    // Takes ownership; a window held before is deleted.
    OwnedWindow& operator=(T* window) {
        if (window_.data() != window) delete window_.data();
        window_ = window;
        return *this;
    }
    T* get() const { return window_.data(); }
    T* operator->() const { return window_.data(); }
    explicit operator bool() const { return !window_.isNull(); }

private:
    QPointer<T> window_;
};

// F1 on the control (and the window system's help request) runs `showHelp` and goes no further,
// whether or not the control has a help text.
void InstallHelpKey(QWidget* control, std::function<void()> showHelp);

// What every run-time control has: an id from the pool and a help text, shown by F1 on the
// control (and by the window system's help request) in a box captioned with the application's
// title; a request on a control without help text shows nothing and goes no further.
class PooledControl {
public:
    PooledControl(const PooledControl&) = delete;
    PooledControl& operator=(const PooledControl&) = delete;

    const ControlIdLease controlId;
    std::string helpText;

    // helpText, registered with the control's id as well (for the main window's context help).
    void SetHelpText(std::string_view text);
    void ShowHelp() const;

protected:
    explicit PooledControl(QWidget* self);
    ~PooledControl() = default;
};

// Text of a definition cut to a fixed member size (the size includes the terminating zero the
// stored form keeps).
std::string CutToField(std::string_view text, std::size_t fieldSize);

}  // namespace korvath::ui
