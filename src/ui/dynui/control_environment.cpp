#include "ui/dynui/control_environment.h"

#include <QEvent>
#include <QKeyEvent>

#include "platform/host.h"
#include "platform/message_style.h"
#include "ui/app/app_texts.h"
#include "ui/app/control_id_pool.h"
#include "ui/app/qt_hosts.h"

namespace korvath::ui {
namespace {

QString ToQString(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

class HelpKeyFilter final : public QObject {
public:
    HelpKeyFilter(QObject* parent, std::function<void()> showHelp) : QObject(parent), showHelp_(std::move(showHelp)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::ShortcutOverride:
                // Taken here, so that the main window's F1 command does not answer instead.
                if (IsHelpKey(event)) {
                    event->accept();
                    return true;
                }
                break;
            case QEvent::KeyPress:
                if (IsHelpKey(event)) {
                    showHelp_();
                    return true;
                }
                break;
            case QEvent::WhatsThis:
                showHelp_();
                return true;
            default: break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static bool IsHelpKey(QEvent* event) {
        auto* key = static_cast<QKeyEvent*>(event);
        return key->key() == Qt::Key_F1 && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    }
    std::function<void()> showHelp_;
};

}  // namespace

ControlEnvironment& DynamicControlEnvironment() {
    static ControlEnvironment environment;
    return environment;
}

int ShowControlMessage(std::string_view text, std::string_view caption, unsigned style) {
    if (MessageHost* host = DynamicControlEnvironment().messages) return host->ShowMessage(text, caption, style);
    return ShowMessageBox(nullptr, ToQString(text), ToQString(caption), style);
}

void ShowControlHelp(const std::string& helpText) {
    if (helpText.empty()) return;
    ShowControlMessage(helpText, texts::kAppTitle, MessageStyle::Ok);
}

ControlIdLease::ControlIdLease(QWidget* control) : pool_(DynamicControlEnvironment().pool) {
    if (pool_) id_ = pool_->AllocateControlId();
    SetControlId(control, id_);
}

ControlIdLease::~ControlIdLease() {
    if (ControlIdPool* pool = LivePool()) pool->ReleaseControlId(id_);
}

ControlIdPool* ControlIdLease::LivePool() const {
    // The pool goes with the main window; a control that outlives it has nothing to give back.
    return id_ != 0 && pool_ == DynamicControlEnvironment().pool ? pool_ : nullptr;
}

void ControlIdLease::RegisterHelpText(std::string_view text) const {
    if (ControlIdPool* pool = LivePool(); pool && !text.empty()) pool->SetControlHelpText(id_, text);
}

void ControlIdLease::RegisterStatusText(std::string_view text) const {
    if (ControlIdPool* pool = LivePool(); pool && !text.empty()) pool->SetControlStatusText(id_, text);
}

void ControlIdLease::RegisterToolTip(std::string_view text) const {
    if (ControlIdPool* pool = LivePool(); pool && !text.empty()) pool->SetControlToolTip(id_, text);
}

void InstallHelpKey(QWidget* control, std::function<void()> showHelp) {
    control->installEventFilter(new HelpKeyFilter(control, std::move(showHelp)));
}

PooledControl::PooledControl(QWidget* self) : controlId(self) {
    InstallHelpKey(self, [this] { ShowHelp(); });
}

void PooledControl::SetHelpText(std::string_view text) {
    helpText = std::string(text);
    controlId.RegisterHelpText(text);
}

void PooledControl::ShowHelp() const { ShowControlHelp(helpText); }

std::string CutToField(std::string_view text, std::size_t fieldSize) {
    return std::string(text.substr(0, fieldSize == 0 ? 0 : std::min(text.size(), fieldSize - 1)));
}

}  // namespace korvath::ui
