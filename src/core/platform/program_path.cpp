#include "platform/program_path.h"

#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/paths.h"

namespace korvath {
namespace {
namespace fs = std::filesystem;

bool StartsWithDriveLetter(std::string_view name) {
    return name.size() >= 2 && name[1] == ':' &&
           ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z'));
}

bool HasParentComponent(std::string_view name) {
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find_first_of("/\\", start);
        if (end == std::string_view::npos) end = name.size();
        if (name.substr(start, end - start) == "..") return true;
        start = end + 1;
    }
    return false;
}

bool IsInside(const fs::path& inner, const fs::path& outer) {
    auto i = inner.begin();
    for (auto o = outer.begin(); o != outer.end(); ++o, ++i) {
        if (o->empty()) continue;  // a trailing separator
        if (i == inner.end() || *i != *o) return false;
    }
    return true;
}
}  // namespace

std::optional<std::string> PathInsideProgramDirectory(const std::string& programDirectory, std::string_view relative) {
    if (relative.empty() || relative.size() > kMaxProgramPathLength) return std::nullopt;
    if (relative.find('\0') != std::string_view::npos) return std::nullopt;
    if (relative.front() == '/' || relative.front() == '\\' || StartsWithDriveLetter(relative)) return std::nullopt;
    if (HasParentComponent(relative)) return std::nullopt;

    const std::string joined = ResolveExistingPath(JoinPath(programDirectory, relative));
    std::error_code ec;
    const fs::path root = fs::weakly_canonical(programDirectory, ec);
    if (ec) return std::nullopt;
    // Links are followed as far as they exist; what remains must still lie in the directory.
    const fs::path target = fs::weakly_canonical(joined, ec);
    if (ec || !IsInside(target, root)) return std::nullopt;
    return joined;
}

bool IsHelpTopicPath(std::string_view execute) {
    return execute.size() >= kHelpTopicSuffix.size() &&
           execute.substr(execute.size() - kHelpTopicSuffix.size()) == kHelpTopicSuffix;
}

ProcessState QueryProcessState(long long pid, std::string& errorText) {
    if (pid <= 0) {
        errorText = std::strerror(ESRCH);
        return ProcessState::QueryFailed;
    }
    // A program started by this process and not yet reaped is collected here, so that its end
    // is seen; a detached one (reparented) answers ECHILD and is asked with signal 0 instead.
    int status = 0;
    const pid_t reaped = ::waitpid(static_cast<pid_t>(pid), &status, WNOHANG);
    if (reaped == static_cast<pid_t>(pid)) return ProcessState::Ended;
    if (reaped == 0) return ProcessState::Running;
    if (::kill(static_cast<pid_t>(pid), 0) == 0) return ProcessState::Running;
    if (errno == ESRCH) return ProcessState::Ended;
    errorText = std::strerror(errno);
    return ProcessState::QueryFailed;
}

}  // namespace korvath
