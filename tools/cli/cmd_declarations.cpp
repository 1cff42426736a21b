// korvath-cli declarations FILE [--apply-defaults 0|1]

#include <cstdio>
#include <string>
#include <vector>

#include "cli_command.h"
#include "cli_host.h"
#include "cli_json.h"
#include "document/qrndoc.h"
#include "platform/paths.h"

namespace korvath::cli {
namespace {

int Run(const GlobalOptions& options, const std::vector<std::string>& args);

const Command kCommand{"declarations", "FILE [--apply-defaults 0|1]",
                       "read the declarations of a definition file into a fresh variable table and print them as JSON",
                       &Run};
const CommandRegistration kRegistration{kCommand};

int Run(const GlobalOptions& options, const std::vector<std::string>& args) {
    std::string file;
    int applyDefaults = 1;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--apply-defaults" && i + 1 < args.size()) {
            const std::string& v = args[++i];
            if (v != "0" && v != "1") return UsageError(kCommand, "--apply-defaults takes 0 or 1");
            applyDefaults = v == "1";
        } else if (file.empty() && !args[i].starts_with("--")) {
            file = args[i];
        } else {
            return UsageError(kCommand, "unexpected argument " + args[i]);
        }
    }
    if (file.empty()) return UsageError(kCommand, "no definition file given");

    TerminalHost terminal(options.verbose);
    auto settings = OpenSettings();
    CQRNDoc doc({terminal, terminal, *settings}, ProgramDirectory());
    doc.ResetVariableTable(2);
    if (!doc.LoadDefinitionFile(file)) {
        std::fprintf(stderr, "korvath-cli declarations: cannot read %s\n", file.c_str());
        return kFailure;
    }
    const bool ok = doc.ReadDeclarations(applyDefaults);
    if (!ok) ReportUnusableDeclarations(kCommand.name, file, doc);
    return PrintDeclarationsResult(ok, doc.calibration());
}

}  // namespace
}  // namespace korvath::cli
