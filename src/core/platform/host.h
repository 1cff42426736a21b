#pragma once
// The interfaces through which the core reaches the world outside it. The GUI implements
// them with Qt, the command-line tool with the terminal, the tests with recorders.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace korvath {

class SettingsStore;

// Modal message box. Returns the pressed button (MessageResult); a host that cannot ask
// answers with the default button of the style (Ok, Yes, ...).
class MessageHost {
public:
    virtual ~MessageHost() = default;
    virtual int ShowMessage(std::string_view text, std::string_view caption, unsigned style) = 0;
};

// Status bar: the prompt text, and the progress of long operations.
class StatusHost {
public:
    virtual ~StatusHost() = default;
    virtual void SetStatusText(std::string_view text) = 0;
    // A text the user must see even where status texts are not shown (the command line prints
    // it always); a window shows it in the status bar.
    virtual void ShowNotice(std::string_view text) { SetStatusText(text); }
    // done == total ends the progress display; total == 0 hides it.
    virtual void SetProgress(std::uint32_t done, std::uint32_t total) { (void)done, (void)total; }
};

// One repeating timer owned by a core object. Starting a running timer changes its period.
class TimerHost {
public:
    virtual ~TimerHost() = default;
    virtual void StartTimer(unsigned periodMs, std::function<void()> tick) = 0;
    virtual void StopTimer() = 0;
};

// Monotonic time and waiting, so that protocol time-outs can be tested without sleeping.
class ClockHost {
public:
    virtual ~ClockHost() = default;
    virtual std::uint64_t NowMs() = 0;
    virtual void SleepMs(unsigned ms) = 0;
};

// The answer a host without a user gives to a message box: the style's default button.
int DefaultMessageResult(unsigned style);

}  // namespace korvath
