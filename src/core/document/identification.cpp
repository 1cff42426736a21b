// Which controller is connected, and the calibration re-targeted when it changed.

#include "definition/definition_listing.h"
#include "document/qrndoc.h"
#include "platform/settings_keys.h"
#include "platform/message_style.h"
#include "platform/paths.h"
#include "platform/printf_format.h"

namespace korvath {
namespace {

constexpr const char* kUnknownProduct = "Controller";
constexpr const char* kNoTransmission = "None";
constexpr int kNeverIdentified = 1000;
// query_versions flag bits that say the product, hardware or firmware differ.
constexpr std::int32_t kVersionsChanged = 0xFC;

constexpr const char* kUnrecognizedCaption = "Unrecognized Controller Version";
constexpr const char* kUnrecognizedText =
    "The hardware or firmware version of your controller was not recognized.  Please try upgrading to the latest "
    "version of this software (available on our web site as a free download) or contact us for assistance.";
constexpr const char* kIncompatibleCaption = "Incompatible Controller Version";
constexpr const char* kIncompatibleText =
    "The selected transmission type is not supported by this controller.  To insure proper operation, please "
    "verify that your controller supports the transmission that you are using.  Most controllers can be upgraded "
    "for a nominal cost.  Please contact us for details.";
constexpr const char* kRevisionCaption = "Controller or Software Revision Change";
constexpr const char* kRevisionText =
    "The revision level of the connected controller is different than the last known controller, or the tuning "
    "software version has changed.  Please recheck all of your settings to insure that they are valid for your "
    "application.";
constexpr const char* kConnectedFormat = "%.35s connected: Product Version %d.%d, Firmware Revision %d.%d";
constexpr const char* kDisconnected = "Controller Disconnected";

}  // namespace

bool CQRNDoc::IdentifyController(int declarationsMode, int notify) {
    if (!monitor_) return false;
    auto& hw = cal_.hardware;
    auto product = static_cast<std::uint16_t>(hw.Get(HardwareField::DeviceType));
    auto hardware = static_cast<std::uint16_t>(hw.Get(HardwareField::HardwareVersion));
    auto major = static_cast<std::uint16_t>(hw.Get(HardwareField::FirmwareVersion));
    auto minor = static_cast<std::uint16_t>(hw.Get(HardwareField::FirmwareVersionMinor));
    const std::int32_t flags = monitor_->query_versions(&product, &hardware, &major, &minor);
    if (flags == 0) return false;
    hw.Set(HardwareField::DeviceType, static_cast<std::int16_t>(product));
    hw.Set(HardwareField::HardwareVersion, static_cast<std::int16_t>(hardware));
    hw.Set(HardwareField::FirmwareVersion, static_cast<std::int16_t>(major));
    hw.Set(HardwareField::FirmwareVersionMinor, static_cast<std::int16_t>(minor));

    if (flags & kVersionsChanged) {
        auto& app = cal_.application;
        // Names written on Windows carry a directory with backslashes; only the file name counts.
        if (auto slash = app.DefinitionFileName.find_last_of("\\/"); slash != std::string::npos)
            app.DefinitionFileName.erase(0, slash + 1);
        definitionDirectory_ = DefinitionDirectoryFor(programDirectory_, product, major);
        const bool loaded = !app.DefinitionFileName.empty() &&
                            LoadDefinitionFile(DefinitionFilePath(definitionDirectory_, app.DefinitionFileName));
        // Until a definition of this controller is loaded, the calibration is laid out for another.
        controllerWithoutDefinition_ = !loaded;
        const bool noTransmission = app.TransmissionType == kNoTransmission;
        if (loaded) {
            ReadApplicationID();
            ReadDeclarations(declarationsMode);
            if (app.TransmissionType == kNoTransmission) {
                reader_.Clear();
                cal_.reservedText.clear();
            } else {
                SetModifiedFlag();
                RefreshViews(1);
                RefreshSettingsSheet(1);
            }
        } else {
            cal_.product.ProdName = kUnknownProduct;
            if (noTransmission)
                ShowMessage(kUnrecognizedText, kUnrecognizedCaption, MessageStyle::IconError);
            else
                ShowMessage(kIncompatibleText, kIncompatibleCaption, MessageStyle::IconError);
            notify = 0;
        }
        auto& s = host_.settings;
        using namespace settings;
        const int previous = s.GetInt(kHardwareProfile, kDeviceType, kNeverIdentified);
        // New calibrations and opened files follow the profile to its definition directory: a
        // controller this installation has no directory for is not remembered.
        if (HasDefinitionFolder(definitionDirectory_)) {
            s.SetInt(kHardwareProfile, kDeviceType, product);
            s.SetInt(kHardwareProfile, kFirmwareVersion, major);
            s.SetInt(kHardwareProfile, kFirmwareVersionMinor, minor);
            s.SetInt(kHardwareProfile, kHardwareVersion, hardware);
        }
        if (notify == 1 && previous != kNeverIdentified && app.TransmissionType != kNoTransmission)
            ShowMessage(kRevisionText, kRevisionCaption, MessageStyle::IconInformation);
    }
    hw.Set(HardwareField::IdentifiedFlag, 1);
    hw.Set(HardwareField::IdentifiedSinceLoad, 1);
    monitor_->set_connected(1);
    return true;
}

void CQRNDoc::ShowConnectionStatus(int connected) {
    if (!connected) {
        SetHeld({}, {});
        ShowStatus(kDisconnected);
        return;
    }
    const auto& hw = cal_.hardware;
    ShowStatus(FormatText(kConnectedFormat, cal_.product.ProdName.c_str(),
                                          hw.Get(HardwareField::DeviceType), hw.Get(HardwareField::HardwareVersion),
                                          hw.Get(HardwareField::FirmwareVersion),
                                          hw.Get(HardwareField::FirmwareVersionMinor)));
}

void CQRNDoc::RefreshSettingsSheet(int cyclePages) {
    if (views_) views_->RefreshSettingsSheet(cyclePages);
}

}  // namespace korvath
