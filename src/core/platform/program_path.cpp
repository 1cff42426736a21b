#include "platform/program_path.h"

#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>

namespace korvath {
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
