// korvath-cli show FILE

#include <cstdio>
#include <string>
#include <vector>

#include "cli_calibration.h"
#include "cli_command.h"
#include "cli_json.h"

namespace korvath::cli {
namespace {

using json = nlohmann::ordered_json;

int Run(const GlobalOptions& options, const std::vector<std::string>& args);

const Command kCommand{"show", "FILE", "open a calibration (either format) as File Open does and print it as JSON",
                       &Run};
const CommandRegistration kRegistration{kCommand};

json HardwareJson(const HardwareBlock& hw) {
    const std::pair<const char*, HardwareField> fields[] = {
        {"DeviceType", HardwareField::DeviceType},
        {"HardwareVersion", HardwareField::HardwareVersion},
        {"FirmwareVersion", HardwareField::FirmwareVersion},
        {"FirmwareVersionMinor", HardwareField::FirmwareVersionMinor},
        {"ProgramVersionMajor", HardwareField::ProgramVersionMajor},
        {"ProgramVersionMinor", HardwareField::ProgramVersionMinor},
        {"IdentifiedFlag", HardwareField::IdentifiedFlag},
        {"IdentifiedSinceLoad", HardwareField::IdentifiedSinceLoad},
        {"ApplyDefaultsFlag", HardwareField::ApplyDefaultsFlag},
        {"NumNVMTables", HardwareField::NumNVMTables},
        {"PackageRevision", HardwareField::PackageRevision},
    };
    json out = json::object();
    for (const auto& [name, field] : fields) out[name] = hw.Get(field);
    return out;
}

int Run(const GlobalOptions& options, const std::vector<std::string>& args) {
    if (args.size() != 1 || args[0].starts_with("--")) return UsageError(kCommand, "one calibration file expected");
    CalibrationSession session(options);
    if (!session.Open(args[0])) return kFailure;
    const CQRNDoc& doc = session.doc();
    const Calibration& cal = doc.calibration();
    const ApplicationStrings& a = cal.application;
    const ProductStrings& p = cal.product;

    json out;
    out["application"] = json{{"LogicalName", a.LogicalName},
                              {"Schema", a.Schema},
                              {"TransmissionType", a.TransmissionType},
                              {"SubType", a.SubType},
                              {"Reserved1", a.Reserved1},
                              {"DefinitionFileName", a.DefinitionFileName},
                              {"Description", a.Description},
                              {"Reserved2", a.Reserved2}};
    out["product"] = json{{"ProdID", p.ProdID},       {"ProdName", p.ProdName},   {"MinFWVer", p.MinFWVer},
                          {"MaxFWVer", p.MaxFWVer},   {"MinHWVer", p.MinHWVer},   {"Reserved3", p.Reserved3},
                          {"Reserved4", p.Reserved4}};
    out["hardware"] = HardwareJson(cal.hardware);
    json visible = json::array();
    for (int t = 0; t < kNumTraces; ++t)
        if (cal.viewState.TraceVisible(t)) visible.push_back(t);
    out["visibleTraces"] = visible;
    out["traceLinking"] = cal.viewState.TraceLinking();
    out["selectedTable"] = cal.viewState.SelectedTable();
    out["propertyStore"] = cal.properties.text();
    out["reservedTextLength"] = cal.reservedText.size();
    out["definitionTextLength"] = doc.reader().text().size();
    AddDeclarationsJson(out, cal);
    std::printf("%s\n", out.dump(2, ' ', false, json::error_handler_t::replace).c_str());
    return kSuccess;
}

}  // namespace
}  // namespace korvath::cli
