#include "platform/paths.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <strings.h>

namespace fs = std::filesystem;

namespace korvath {
namespace {

std::string EnvOrEmpty(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

std::string WithForwardSlashes(std::string_view path) {
    std::string s(path);
    for (char& c : s)
        if (c == '\\') c = '/';
    return s;
}

}  // namespace

std::string ExecutablePath() {
    std::error_code ec;
    auto p = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : p.string();
}

std::string ProgramDirectory() {
    std::string home = EnvOrEmpty("KORVATH_HOME");
    if (!home.empty()) {
        while (home.size() > 1 && home.back() == '/') home.pop_back();
        return home;
    }
    std::string exe = ExecutablePath();
    auto slash = exe.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : exe.substr(0, slash);
}

std::string SettingsPathForExecutable(std::string_view executablePath) {
    std::string overridePath = EnvOrEmpty("KORVATH_SETTINGS");
    if (!overridePath.empty()) return overridePath;
    std::string path(executablePath);
    auto slash = path.rfind('/');
    auto dot = path.rfind('.');
    bool dotInFileName = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    if (dotInFileName) return path.substr(0, dot) + ".INI";
    std::string config = EnvOrEmpty("XDG_CONFIG_HOME");
    if (config.empty()) {
        std::string home = EnvOrEmpty("HOME");
        config = (home.empty() ? std::string(".") : home) + "/.config";
    }
    return config + "/korvath/korvath.INI";
}

char ReadPackageRevision(const std::string& programDirectory) {
    std::FILE* f = std::fopen(JoinPath(programDirectory, "Package.ver").c_str(), "r");
    if (!f) return 0;
    char letter = 0;
    if (std::fscanf(f, "%c", &letter) != 1) letter = 0;
    std::fclose(f);
    return letter;
}

std::string DefinitionDirectoryFor(const std::string& programDirectory, int deviceType, int firmwareVersion) {
    return programDirectory + "/PID" + std::to_string(static_cast<unsigned short>(deviceType)) + "/" +
           std::to_string(static_cast<unsigned short>(firmwareVersion));
}

std::string JoinPath(std::string_view directory, std::string_view name) {
    std::string n = WithForwardSlashes(name);
    if (directory.empty()) return n;
    std::string d = WithForwardSlashes(directory);
    if (d.back() == '/') d.pop_back();
    while (!n.empty() && n.front() == '/') n.erase(0, 1);
    return d + "/" + n;
}

std::string ResolveExistingPath(std::string_view path) {
    const std::string wanted = WithForwardSlashes(path);
    std::error_code ec;
    if (fs::exists(wanted, ec)) return wanted;
    fs::path p(wanted);
    fs::path current = p.is_absolute() ? fs::path("/") : fs::path(".");
    bool first = true;
    for (const auto& part : p.relative_path()) {
        fs::path exact = first && !p.is_absolute() ? part : current / part;
        first = false;
        if (fs::exists(exact, ec)) {
            current = exact;
            continue;
        }
        bool found = false;
        for (const auto& entry : fs::directory_iterator(current.empty() ? fs::path(".") : current, ec)) {
            if (strcasecmp(entry.path().filename().c_str(), part.c_str()) == 0) {
                current = entry.path();
                found = true;
                break;
            }
        }
        if (!found) return wanted;
    }
    return current.string();
}

}  // namespace korvath

namespace korvath {

bool IsDirectory(std::string_view path) {
    std::error_code ec;
    return fs::is_directory(ResolveExistingPath(path), ec);
}

}  // namespace korvath
