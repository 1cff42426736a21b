#pragma once
// What a benchmark's document talks to: messages take their default answer, status texts and
// settings go nowhere, so only the measured work is timed.

#include <string>
#include <string_view>

#include "platform/message_style.h"
#include "platform/settings_store.h"

namespace korvath::bench {

struct QuietHost : MessageHost, StatusHost {
    int ShowMessage(std::string_view, std::string_view, unsigned style) override { return DefaultMessageResult(style); }
    void SetStatusText(std::string_view) override {}
};

struct NoSettings : SettingsStore {
    int GetInt(std::string_view, std::string_view, int d) override { return d; }
    bool SetInt(std::string_view, std::string_view, int) override { return true; }
    std::string GetString(std::string_view, std::string_view, std::string_view d) override { return std::string(d); }
    bool SetString(std::string_view, std::string_view, std::string_view) override { return true; }
};

}  // namespace korvath::bench
