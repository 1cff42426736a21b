#pragma once
// The control-id pool: every control made at run time from a definition file (tuning bar,
// dashboard, settings pages) takes one of the ids 1040 ... 1339 here and registers its tooltip,
// status-bar text and help text, which the main window answers from the pool.

#include <array>
#include <optional>
#include <string>
#include <string_view>

class QWidget;

namespace korvath::ui {

class ControlIdPool {
public:
    static constexpr int kFirstId = 1040;
    static constexpr int kCount = 300;
    static constexpr int kLastId = kFirstId + kCount - 1;
    // Tooltips and status texts are kept to this many characters.
    static constexpr std::size_t kTextLength = 79;
    // Context help ids of pooled controls: this base plus the control id.
    static constexpr int kHelpIdBase = 0x10000;

    static bool InRange(int id) { return id >= kFirstId && id <= kLastId; }

    // The first free entry from index `first` (0 ... 299) is taken and its texts dropped;
    // returns its id, or 0 when none is free.
    int AllocateControlId(int first = 0);
    void ReleaseControlId(int id);
    // Only for an id in use; the text is cut to 79 characters.
    void SetControlStatusText(int id, std::string_view text);
    void SetControlToolTip(int id, std::string_view text);
    // Only for an id in use that has no help text yet: the first registration wins.
    void SetControlHelpText(int id, std::string_view text);

    bool InUse(int id) const;
    // The texts of an id in use, none when the entry is free or holds no such text.
    std::optional<std::string> ToolTip(int id) const;
    std::optional<std::string> StatusText(int id) const;
    std::optional<std::string> HelpText(int id) const;
    int UsedCount() const;
    void Clear();

private:
    struct Entry {
        bool inUse = false;
        std::optional<std::string> toolTip;
        std::optional<std::string> statusText;
        // The control's help text is kept as a copy, so a control that forgets to release its
        // id cannot leave the pool pointing at freed text.
        std::optional<std::string> helpText;
    };
    Entry* Find(int id);
    const Entry* Find(int id) const;

    std::array<Entry, kCount> entries_{};
};

// The pool id a widget carries (0: none). Run-time controls set it when they take their id.
void SetControlId(QWidget* widget, int id);
int ControlIdOf(const QWidget* widget);

}  // namespace korvath::ui
