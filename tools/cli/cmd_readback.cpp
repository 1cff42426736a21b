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
    if (!session.declarationsRead()) {
        ReportUnusableDeclarations(kCommand.name, args[0], doc);
        return PrintDeclarationsResult(false, doc.calibration());
    }
    // An image of another size is not this definition's: its bytes would be read as the wrong values.
    const auto expected = static_cast<std::size_t>(std::max(doc.layout().TotalBlockSize, 0));
    if (image.size() != expected) {
        std::fprintf(stderr, "korvath-cli readback: %s holds %zu bytes; the image of %s has %zu\n", args[1].c_str(),
                     image.size(), args[0].c_str(), expected);
        return PrintDeclarationsResult(false, doc.calibration());
    }
    const bool ok = doc.ExchangeImage(image.data(), image.size(), 0);
    if (!ok) std::fprintf(stderr, "korvath-cli readback: the image %s could not be read back\n", args[1].c_str());
    return PrintDeclarationsResult(ok, doc.calibration());
}

}  // namespace
}  // namespace korvath::cli
