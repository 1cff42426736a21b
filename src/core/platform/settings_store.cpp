#include "platform/settings_store.h"

// Debian builds the library with the ICU converter; the header must be read the same way.
#define SI_CONVERT_ICU
#include <SimpleIni.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/atomic_file.h"

namespace korvath {
namespace {

bool LoadIni(const std::string& path, CSimpleIniA& ini) {
    ini.SetUnicode(false);
    ini.SetMultiKey(false);
    ini.SetSpaces(false);
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::stringstream buffer;
    buffer << in.rdbuf();
    const std::string data = buffer.str();
    return ini.LoadData(data.data(), data.size()) >= 0;
}

}  // namespace

int ParseProfileInt(std::string_view text) {
    std::string s(text);
    const char* p = s.c_str();
    while (*p == ' ' || *p == '\t') ++p;
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(p, &end, 10);
    if (end == p) return 0;
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return static_cast<int>(v);
}

int IniSettingsStore::GetInt(std::string_view section, std::string_view key, int defaultValue) {
    CSimpleIniA ini;
    if (!LoadIni(path_, ini)) return defaultValue;
    const char* v = ini.GetValue(std::string(section).c_str(), std::string(key).c_str(), nullptr);
    return v ? ParseProfileInt(v) : defaultValue;
}

std::string IniSettingsStore::GetString(std::string_view section, std::string_view key,
                                        std::string_view defaultValue) {
    CSimpleIniA ini;
    if (!LoadIni(path_, ini)) return std::string(defaultValue);
    const char* v = ini.GetValue(std::string(section).c_str(), std::string(key).c_str(), nullptr);
    return v ? std::string(v) : std::string(defaultValue);
}

bool IniSettingsStore::SetInt(std::string_view section, std::string_view key, int value) {
    return SetString(section, key, std::to_string(value));
}

bool IniSettingsStore::SetString(std::string_view section, std::string_view key, std::string_view value) {
    CSimpleIniA ini;
    LoadIni(path_, ini);
    if (ini.SetValue(std::string(section).c_str(), std::string(key).c_str(), std::string(value).c_str()) < 0)
        return false;
    std::string out;
    if (ini.Save(out) < 0) return false;
    std::error_code ec;
    const auto dir = std::filesystem::path(path_).parent_path();
    if (!dir.empty()) std::filesystem::create_directories(dir, ec);
    return WriteFileAtomically(path_, out);
}

}  // namespace korvath
