#pragma once
// The settings file: a plain INI file read and written like the classic private profile
// (case-insensitive sections and keys, other lines kept, created on first write).

#include <string>
#include <string_view>

namespace korvath {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual int GetInt(std::string_view section, std::string_view key, int defaultValue) = 0;
    virtual bool SetInt(std::string_view section, std::string_view key, int value) = 0;
    virtual std::string GetString(std::string_view section, std::string_view key,
                                  std::string_view defaultValue) = 0;
    virtual bool SetString(std::string_view section, std::string_view key, std::string_view value) = 0;
};

// The file is read on every call, so a change made by another program (or by hand) is seen
// at once; every write replaces the file atomically.
class IniSettingsStore final : public SettingsStore {
public:
    explicit IniSettingsStore(std::string path) : path_(std::move(path)) {}
    const std::string& path() const { return path_; }

    int GetInt(std::string_view section, std::string_view key, int defaultValue) override;
    bool SetInt(std::string_view section, std::string_view key, int value) override;
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view defaultValue) override;
    bool SetString(std::string_view section, std::string_view key, std::string_view value) override;

private:
    std::string path_;
};

// The integer a settings value stands for: leading blanks, an optional sign and decimal
// digits; anything else reads as 0.
int ParseProfileInt(std::string_view text);

}  // namespace korvath
