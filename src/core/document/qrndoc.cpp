#include "document/qrndoc.h"

#include "definition/definition_listing.h"
#include "platform/settings_keys.h"
#include "document/version.h"
#include "platform/message_style.h"
#include "platform/paths.h"
#include "platform/printf_format.h"

namespace korvath {
namespace {
constexpr const char* kGenericDefinition = "generic.init";
constexpr const char* kNoTransmission = "None";
constexpr const char* kMissingProfileCaption = "Definition Directory Missing";
constexpr const char* kMissingProfileFormat =
    "The definitions of the controller last identified (%s) are not installed.  The new calibration uses the "
    "definitions in %s.";
}  // namespace

namespace {
// "M:" references read the controller's RAM through the monitor.
class MonitorLiveSource : public LiveVariableSource {
public:
    explicit MonitorLiveSource(CTCS_Monitor& monitor) : monitor_(monitor) {}
    int ReadRamVariable(const char* name) override { return monitor_.read_RAM_variable(name); }

private:
    CTCS_Monitor& monitor_;
};
}  // namespace

CQRNDoc::CQRNDoc(DocumentHost host, std::string programDirectory, std::unique_ptr<ByteTransport> transport)
    : host_(host), programDirectory_(std::move(programDirectory)) {
    if (transport) {
        monitor_ = std::make_unique<CTCS_Monitor>(std::move(transport), host_.timer);
        monitor_->set_document(this);
        monitorLiveSource_ = std::make_unique<MonitorLiveSource>(*monitor_);
        liveSource_ = monitorLiveSource_.get();
    }
    definitionDirectory_ =
        DefinitionDirectoryFor(programDirectory_, settings::kNewDeviceType, settings::kNewFirmwareVersion);
    packageRevision_ = ReadPackageRevision(programDirectory_);
    InitNewCalibration();
}

int CQRNDoc::ShowMessage(std::string_view text, std::string_view caption, unsigned style) {
    int result = 0;
    if (!messageBatch_.ShouldShow(text, caption, style, result)) return result;
    result = host_.messages.ShowMessage(text, caption, style);
    messageBatch_.Shown(text, style, result);
    return result;
}

void CQRNDoc::EndMessageBatch() {
    std::string notes;
    for (const std::string& note : messageBatch_.End()) notes += (notes.empty() ? "" : "  ") + note;
    if (!notes.empty()) ShowStatus(notes);
}

void CQRNDoc::InitNewCalibration() {
    ResetVariableTable(2);
    auto& hw = cal_.hardware;
    hw.Set(HardwareField::ApplyDefaultsFlag, 1);
    hw.Set(HardwareField::ProgramVersionMajor, kProgramVersionMajor);
    hw.Set(HardwareField::ProgramVersionMinor, kProgramVersionMinor);
    hw.Set(HardwareField::PackageRevision, packageRevision_);

    const bool identified = hw.Get(HardwareField::IdentifiedFlag) == 1 && hw.Get(HardwareField::IdentifiedSinceLoad) == 1;
    if (!identified) {
        hw.Set(HardwareField::IdentifiedFlag, 0);
        hw.Set(HardwareField::IdentifiedSinceLoad, 0);
        auto& s = host_.settings;
        using namespace settings;
        hw.Set(HardwareField::DeviceType, static_cast<std::int16_t>(s.GetInt(kHardwareProfile, kDeviceType, kNewDeviceType)));
        hw.Set(HardwareField::FirmwareVersion,
               static_cast<std::int16_t>(s.GetInt(kHardwareProfile, kFirmwareVersion, kNewFirmwareVersion)));
        hw.Set(HardwareField::FirmwareVersionMinor,
               static_cast<std::int16_t>(s.GetInt(kHardwareProfile, kFirmwareVersionMinor, kNewFirmwareVersionMinor)));
        hw.Set(HardwareField::HardwareVersion,
               static_cast<std::int16_t>(s.GetInt(kHardwareProfile, kHardwareVersion, kNewHardwareVersion)));
        FallBackFromMissingProfile();
    }

    auto& app = cal_.application;
    app.TransmissionType = kNoTransmission;
    app.SubType.clear();
    app.LogicalName.clear();
    app.Description.clear();
    app.Reserved1.clear();
    cal_.product.Reserved3.clear();
    cal_.product.Reserved4.clear();
    app.DefinitionFileName = kGenericDefinition;

    definitionDirectory_ = DefinitionDirectoryFor(programDirectory_, hw.Get(HardwareField::DeviceType),
                                                  hw.Get(HardwareField::FirmwareVersion));
    // A missing generic definition is not reported: the reads below then find nothing.
    const bool loaded = LoadDefinitionFile(DefinitionFilePath(definitionDirectory_, kGenericDefinition));
    controllerWithoutDefinition_ = identified && !loaded;
    ReadApplicationID();
    ReadDeclarations(1);

    for (int t = 0; t < kNumTraces; ++t)
        for (int i = 0; i < kPointsPerTrace; ++i)
            cal_.points[t][i] = static_cast<std::int16_t>((1000 + 200 * i) / (1 + t % 2));
    for (int t = 0; t < kNumTraces; ++t) ClearTraceBinding(t);

    cal_.reservedText.clear();
    reader_.Clear();
    cal_.reservedBlock.fill(0);
    cal_.viewState.bytes.fill(0);
    cal_.viewState.SetTraceVisible(0, true);
    cal_.viewState.SetTraceVisible(1, true);
    cal_.viewState.SetTraceLinking(1);
}

void CQRNDoc::FallBackFromMissingProfile() {
    auto& hw = cal_.hardware;
    const std::string remembered = DefinitionDirectoryFor(programDirectory_, hw.Get(HardwareField::DeviceType),
                                                          hw.Get(HardwareField::FirmwareVersion));
    using namespace settings;
    const std::string fallback = DefinitionDirectoryFor(programDirectory_, kNewDeviceType, kNewFirmwareVersion);
    if (HasDefinitionFolder(remembered) || !HasDefinitionFolder(fallback)) return;
    hw.Set(HardwareField::DeviceType, static_cast<std::int16_t>(kNewDeviceType));
    hw.Set(HardwareField::FirmwareVersion, static_cast<std::int16_t>(kNewFirmwareVersion));
    hw.Set(HardwareField::FirmwareVersionMinor, static_cast<std::int16_t>(kNewFirmwareVersionMinor));
    hw.Set(HardwareField::HardwareVersion, static_cast<std::int16_t>(kNewHardwareVersion));
    ShowMessage(FormatText(kMissingProfileFormat, remembered.c_str(), fallback.c_str()), kMissingProfileCaption,
                MessageStyle::IconExclamation);
}

}  // namespace korvath
