#pragma once
// Hosts for core tests: every message box and status text is kept for asserting, settings
// live in memory, and a temporary directory stands in for the program directory.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host.h"
#include "platform/settings_store.h"
#include "platform/message_style.h"

namespace korvath::testing {

struct RecordedMessage {
    std::string text;
    std::string caption;
    unsigned style = 0;
};

class RecordingHost : public MessageHost, public StatusHost {
public:
    int ShowMessage(std::string_view text, std::string_view caption, unsigned style) override {
        messages.push_back({std::string(text), std::string(caption), style});
        return answer != 0 ? answer : DefaultMessageResult(style);
    }
    void SetStatusText(std::string_view text) override { statuses.emplace_back(text); }
    void SetProgress(std::uint32_t done, std::uint32_t total) override { progress.emplace_back(done, total); }

    std::vector<RecordedMessage> messages;
    std::vector<std::string> statuses;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> progress;
    int answer = 0;  // 0: the style's default button
};

class MemorySettings : public SettingsStore {
public:
    int GetInt(std::string_view section, std::string_view key, int defaultValue) override {
        auto it = values.find(Key(section, key));
        return it == values.end() ? defaultValue : ParseProfileInt(it->second);
    }
    bool SetInt(std::string_view section, std::string_view key, int value) override {
        values[Key(section, key)] = std::to_string(value);
        return true;
    }
    std::string GetString(std::string_view section, std::string_view key, std::string_view defaultValue) override {
        auto it = values.find(Key(section, key));
        return it == values.end() ? std::string(defaultValue) : it->second;
    }
    bool SetString(std::string_view section, std::string_view key, std::string_view value) override {
        values[Key(section, key)] = std::string(value);
        return true;
    }
    static std::string Key(std::string_view section, std::string_view key) {
        return std::string(section) + "|" + std::string(key);
    }
    std::map<std::string, std::string> values;
};

// A fresh directory under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "korvath-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string File(std::string_view name) const { return path_ + "/" + std::string(name); }
    // Writes `content` to `name` (creating folders) and returns the full path.
    std::string Write(std::string_view name, std::string_view content) const {
        std::filesystem::path p = File(name);
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << content;
        return p.string();
    }
    // The bytes of `name`; empty when it cannot be read.
    std::string Read(std::string_view name) const {
        std::ifstream in(File(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

private:
    std::string path_;
};

}  // namespace korvath::testing
