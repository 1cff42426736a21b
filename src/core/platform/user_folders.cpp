#include "platform/user_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/paths.h"

namespace fs = std::filesystem;

namespace korvath {
namespace {

constexpr char kProgramFolderName[] = "korvath";

std::string HomeDirectory() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    // A service started without HOME still has a home in the password database.
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir && *entry->pw_dir) return entry->pw_dir;
    return ".";
}

}  // namespace

std::string UserDataDirectory() {
    const char* data = std::getenv("XDG_DATA_HOME");
    const std::string base = data && data[0] == '/' ? std::string(data) : JoinPath(HomeDirectory(), ".local/share");
    return JoinPath(base, kProgramFolderName);
}

std::string WritableDirectory(const std::string& preferred) {
    return ::access(preferred.c_str(), W_OK | X_OK) == 0 ? preferred : UserDataDirectory();
}

bool MakeDirectories(const std::string& directory, std::string& reason) {
    std::error_code ec;
    fs::create_directories(directory, ec);
    if (!ec && !fs::is_directory(directory, ec)) ec = std::make_error_code(std::errc::not_a_directory);
    if (ec) reason = ec.message();
    return !ec;
}

std::string SystemReason(int error) { return std::generic_category().message(error); }

}  // namespace korvath
