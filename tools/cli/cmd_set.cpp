// korvath-cli set FILE NAME=VALUE... [-o OUT]

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cli_calibration.h"
#include "cli_command.h"
#include "cli_json.h"
#include "calibration/calibration_file.h"
#include "calibration/calibration_values.h"
#include "platform/atomic_file.h"

namespace korvath::cli {
namespace {

int Run(const GlobalOptions& options, const std::vector<std::string>& args);

const Command kCommand{"set", "FILE NAME=VALUE... [-o OUT]",
                       "set declared variables and trace points (trace.N[i]=VALUE, store units) and save the "
                       "calibration atomically to FILE or OUT; on any error nothing is written",
                       &Run};
const CommandRegistration kRegistration{kCommand};

// Renaming over a file ignores its permissions, so a file the user made read-only is checked
// first: no write bit at all counts as read-only for everyone, the superuser included.
bool IsReadOnly(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return false;
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path.c_str(), W_OK) != 0;
}

int Run(const GlobalOptions& options, const std::vector<std::string>& args) {
    std::vector<std::string> positional;
    std::string out;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-o" && i + 1 < args.size()) {
            out = args[++i];
        } else if (args[i].starts_with("-") && args[i].find('=') == std::string::npos) {
            return UsageError(kCommand, "unknown option " + args[i]);
        } else {
            positional.push_back(args[i]);
        }
    }
    if (positional.size() < 2) return UsageError(kCommand, "a calibration file and at least one NAME=VALUE expected");
    const std::string& file = positional[0];
    if (out.empty()) out = file;
    if (IsReadOnly(out)) {
        std::fprintf(stderr, "korvath-cli set: %s is read-only; nothing was written\n", out.c_str());
        return kFailure;
    }

    CalibrationSession session(options);
    if (!session.Open(file)) return kFailure;
    CQRNDoc& doc = session.doc();
    nlohmann::ordered_json set = nlohmann::ordered_json::object();
    nlohmann::ordered_json notices = nlohmann::ordered_json::array();
    for (std::size_t i = 1; i < positional.size(); ++i) {
        const SetResult result = SetCalibrationValue(doc, positional[i]);
        if (!result.ok) {
            std::fprintf(stderr, "korvath-cli set: %s; nothing was written\n", result.error.c_str());
            return kFailure;
        }
        for (const auto& notice : result.notices) {
            std::fprintf(stderr, "korvath-cli set: note: %s\n", notice.c_str());
            notices.push_back(notice);
        }
        const std::string name = positional[i].substr(0, positional[i].find('='));
        DiffValue value;
        std::string error;
        if (GetCalibrationValue(doc, name, value, error)) set[name] = DiffValueJson(value);
    }
    std::string why;
    if (!WriteFileAtomically(out, CalibrationFileBytes(doc), &why)) {
        std::fprintf(stderr, "korvath-cli set: cannot write %s; nothing was written\n", why.c_str());
        return kFailure;
    }
    PrintJson(nlohmann::ordered_json{{"file", out}, {"set", set}, {"clamped", notices}});
    return kSuccess;
}

}  // namespace
}  // namespace korvath::cli
