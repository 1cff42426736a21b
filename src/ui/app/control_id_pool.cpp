#include "ui/app/control_id_pool.h"

#include <QVariant>
#include <QWidget>
#include <cassert>

namespace korvath::ui {
namespace {
constexpr const char* kControlIdProperty = "korvathControlId";

std::string Cut(std::string_view text) {
    return std::string(text.substr(0, std::min(text.size(), ControlIdPool::kTextLength)));
}
}  // namespace

ControlIdPool::Entry* ControlIdPool::Find(int id) {
    // An id outside the pool is a programming error of the caller and changes nothing; 0 is what
    // a control holds when the pool was full, and is ignored quietly.
    assert(id == 0 || InRange(id));
    if (!InRange(id)) return nullptr;
    return &entries_[static_cast<std::size_t>(id - kFirstId)];
}

const ControlIdPool::Entry* ControlIdPool::Find(int id) const {
    if (!InRange(id)) return nullptr;
    return &entries_[static_cast<std::size_t>(id - kFirstId)];
}

int ControlIdPool::AllocateControlId(int first) {
    if (first < 0) first = 0;
    for (int i = first; i < kCount; ++i) {
        Entry& e = entries_[static_cast<std::size_t>(i)];
        if (e.inUse) continue;
        e.inUse = true;
        e.toolTip.reset();
        e.statusText.reset();
        return kFirstId + i;
    }
    return 0;
}

void ControlIdPool::ReleaseControlId(int id) {
    if (Entry* e = Find(id)) *e = Entry{};
}

void ControlIdPool::SetControlStatusText(int id, std::string_view text) {
    Entry* e = Find(id);
    if (e && e->inUse) e->statusText = Cut(text);
}

void ControlIdPool::SetControlToolTip(int id, std::string_view text) {
    Entry* e = Find(id);
    if (e && e->inUse) e->toolTip = Cut(text);
}

void ControlIdPool::SetControlHelpText(int id, std::string_view text) {
    Entry* e = Find(id);
    if (e && e->inUse && !e->helpText) e->helpText = std::string(text);
}

bool ControlIdPool::InUse(int id) const {
    const Entry* e = Find(id);
    return e && e->inUse;
}

std::optional<std::string> ControlIdPool::ToolTip(int id) const {
    const Entry* e = Find(id);
    return e && e->inUse ? e->toolTip : std::nullopt;
}

std::optional<std::string> ControlIdPool::StatusText(int id) const {
    const Entry* e = Find(id);
    return e && e->inUse ? e->statusText : std::nullopt;
}

std::optional<std::string> ControlIdPool::HelpText(int id) const {
    const Entry* e = Find(id);
    return e && e->inUse ? e->helpText : std::nullopt;
}

int ControlIdPool::UsedCount() const {
    int n = 0;
    for (const Entry& e : entries_) n += e.inUse ? 1 : 0;
    return n;
}

void ControlIdPool::Clear() { entries_.fill(Entry{}); }

void SetControlId(QWidget* widget, int id) {
    if (widget) widget->setProperty(kControlIdProperty, id);
}

int ControlIdOf(const QWidget* widget) {
    if (!widget) return 0;
    const QVariant v = widget->property(kControlIdProperty);
    return v.isValid() ? v.toInt() : 0;
}

}  // namespace korvath::ui
