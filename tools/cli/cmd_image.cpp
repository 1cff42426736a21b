// korvath-cli image DEFINITION [--apply-defaults 0|1] [--points FILE] [--var NAME=VALUE]... OUT.bin

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli_command.h"
#include "cli_calibration.h"
#include "cli_definition.h"
#include "platform/atomic_file.h"

namespace korvath::cli {
namespace {

int Run(const GlobalOptions& options, const std::vector<std::string>& args);

const Command kCommand{"image", "DEFINITION [--apply-defaults 0|1] [--points FILE] [--var NAME=VALUE]... OUT.bin",
                       "build the controller memory image of a fresh calibration on a definition", &Run};
const CommandRegistration kRegistration{kCommand};

// Trace points from a JSON file [[10 integers] x 50].
bool ReadPoints(const std::string& path, TracePoints& points) {
    std::ifstream in(path);
    const auto json = nlohmann::json::parse(in, nullptr, false);
    if (json.is_discarded() || !json.is_array() || json.size() != kNumTraces) return false;
    TracePoints read{};
    for (std::size_t t = 0; t < kNumTraces; ++t) {
        const auto& trace = json[t];
        if (!trace.is_array() || trace.size() != kPointsPerTrace) return false;
        for (std::size_t i = 0; i < kPointsPerTrace; ++i) {
            if (!trace[i].is_number_integer()) return false;
            const auto v = trace[i].get<long long>();
            if (v < INT16_MIN || v > INT16_MAX) return false;
            read[t][i] = static_cast<std::int16_t>(v);
        }
    }
    points = read;
    return true;
}

int Run(const GlobalOptions& options, const std::vector<std::string>& args) {
    std::vector<std::string> positional, assignments;
    std::string pointsFile;
    int applyDefaults = 1;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--apply-defaults" && i + 1 < args.size()) {
            if (args[i + 1] != "0" && args[i + 1] != "1") return UsageError(kCommand, "--apply-defaults takes 0 or 1");
            applyDefaults = args[++i] == "1";
        } else if (a == "--points" && i + 1 < args.size()) {
            pointsFile = args[++i];
        } else if (a == "--var" && i + 1 < args.size()) {
            assignments.push_back(args[++i]);
        } else if (a.starts_with("--")) {
            return UsageError(kCommand, "unknown option " + a);
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() != 2) return UsageError(kCommand, "a definition and an output file are needed");

    CalibrationSession session(options);
    if (!session.LoadDefinition(positional[0], applyDefaults)) return kFailure;
    CQRNDoc& doc = session.doc();
    if (!session.declarationsRead()) {
        std::fprintf(stderr, "korvath-cli image: %s has no usable [Declarations]\n", positional[0].c_str());
        return kFailure;
    }
    if (!pointsFile.empty() && !ReadPoints(pointsFile, doc.calibration().points)) {
        std::fprintf(stderr, "korvath-cli image: %s is not a list of 50 traces of 10 integers\n", pointsFile.c_str());
        return kFailure;
    }
    for (const auto& assignment : assignments)
        if (!SetVariableFromText(doc, assignment)) return kFailure;

    const ImageLayout& layout = doc.layout();
    if (layout.TotalBlockSize <= 0) {
        std::fprintf(stderr, "korvath-cli image: the definition declares an empty image\n");
        return kFailure;
    }
    // Flash controllers start from erased bytes, as a transfer does.
    std::vector<std::uint8_t> image(static_cast<std::size_t>(layout.TotalBlockSize), layout.NVMType > 1 ? 0xFF : 0x00);
    if (!doc.ExchangeImage(image.data(), image.size(), 1)) {
        std::fprintf(stderr, "korvath-cli image: the image could not be built\n");
        return kFailure;
    }
    const std::string_view bytes(reinterpret_cast<const char*>(image.data()), image.size());
    std::string why;
    if (!WriteFileAtomically(positional[1], bytes, &why)) {
        std::fprintf(stderr, "korvath-cli image: cannot write %s\n", why.c_str());
        return kFailure;
    }
    return kSuccess;
}

}  // namespace
}  // namespace korvath::cli
