// korvath-cli readback DEFINITION IMAGE.bin

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "cli_command.h"
#include "cli_calibration.h"
#include "cli_json.h"

namespace korvath::cli {
namespace {

int Run(const GlobalOptions& options, const std::vector<std::string>& args);

const Command kCommand{"readback", "DEFINITION IMAGE.bin",
                       "read a controller memory image back into a fresh calibration and print it as JSON", &Run};
const CommandRegistration kRegistration{kCommand};

int Run(const GlobalOptions& options, const std::vector<std::string>& args) {
    if (args.size() != 2 || args[0].starts_with("--") || args[1].starts_with("--"))
        return UsageError(kCommand, "a definition and an image file are needed");
    std::ifstream in(args[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "korvath-cli readback: cannot read %s\n", args[1].c_str());
        return kFailure;
    }
    std::vector<std::uint8_t> image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

    CalibrationSession session(options);
    if (!session.LoadDefinition(args[0], 1)) return kFailure;
    CQRNDoc& doc = session.doc();
    if (image.size() < static_cast<std::size_t>(std::max(doc.layout().TotalBlockSize, 0)))
        std::fprintf(stderr, "korvath-cli readback: %s holds %zu bytes, the definition's image %d\n", args[1].c_str(),
                     image.size(), doc.layout().TotalBlockSize);
    const bool ok = session.declarationsRead() && doc.ExchangeImage(image.data(), image.size(), 0);
    return PrintDeclarationsResult(ok, doc.calibration());
}

}  // namespace
}  // namespace korvath::cli
