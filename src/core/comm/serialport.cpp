#include "comm/serialport.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <vector>

#include "comm/com_ports.h"
#include "comm/comm_texts.h"
#include "comm/device_access.h"
#include "comm/port_names.h"
#include "platform/printf_format.h"
#include "comm/usb_hid.h"
#include "platform/settings_keys.h"
#include "platform/settings_store.h"

namespace korvath {

namespace {

enum class OpenFailure { Missing, InUse, Unexpected };

// A message that ends in "Error number = N", with the system's words for N beside it.
std::string WithSystemText(std::string message, int error) {
    return message + " (" + std::error_code(error, std::generic_category()).message() + ")";
}

OpenFailure ClassifyOpenError(int error) {
    if (error == ENOENT || error == ENXIO || error == ENODEV || error == ENOTDIR) return OpenFailure::Missing;
    if (error == EACCES || error == EBUSY || error == EPERM) return OpenFailure::InUse;
    return OpenFailure::Unexpected;
}

// Why a device named by its path did not open: the path stands where a COM number would.
std::string DeviceOpenError(const std::string& device, TtyDevice::OpenStage stage, int error) {
    const char* path = device.c_str();
    if (stage == TtyDevice::OpenStage::GetState || stage == TtyDevice::OpenStage::SetState)
        return WithSystemText(FormatText(comm_text::kDeviceSetupFailedFormat, path, error), error);
    switch (ClassifyOpenError(error)) {
        case OpenFailure::Missing: return FormatText(comm_text::kDeviceMissingFormat, path);
        case OpenFailure::InUse: return FormatText(comm_text::kDeviceInUseFormat, path);
        default: return WithSystemText(FormatText(comm_text::kDeviceUnexpectedFormat, path, error), error);
    }
}

}  // namespace

CSerialPort::CSerialPort(SerialPortConfig config, std::unique_ptr<UsbHid> usb)
    : config_(std::move(config)), usbLink_(std::move(usb)) {}

CSerialPort::~CSerialPort() { close(); }

int CSerialPort::PortNumber() const {
    if (config_.portOverride > 0) return config_.portOverride;
    return config_.settings ? config_.settings->GetInt(kCommSettingsSection, kComPortNumberKey, 0) : 0;
}

std::string CSerialPort::DevicePath() const {
    if (!config_.devicePath.empty()) return config_.devicePath;
    return ComPortDevice(PortNumber(), config_.portsDirectory);
}

bool CSerialPort::open(std::string& errorText, int baud) {
    bool opened = OpenLink(errorText, baud);
    lastOpenError_ = errorText;
    if (trace_) {
        std::string device = usb_ ? std::string("USB") : DevicePath();
        if (!usb_ && config_.devicePath.empty()) device = "COM" + std::to_string(PortNumber()) + " " + device;
        if (opened)
            trace_->Opened(device);
        else
            trace_->OpenFailed(device, errorText);
    }
    return opened;
}

void CSerialPort::FollowMovedAdapter() {
    if (!config_.settings || config_.portOverride > 0) return;
    const std::string identity = config_.settings->GetString(settings::kCommunication, settings::kComPortAdapter, "");
    if (identity.empty()) return;
    ComPortSources sources;
    sources.portsDirectory = config_.portsDirectory;
    sources.deviceRoot = config_.deviceRoot;
    const auto moved = FindMovedAdapter(ListComPorts(sources), PortNumber(), identity);
    if (!moved) return;
    config_.settings->SetInt(settings::kCommunication, settings::kComPortNumber, moved->port);
    if (notice_) notice_(FormatText(comm_text::kAdapterMovedFormat, moved->adapter.c_str(), moved->port));
}

std::string CSerialPort::RefusalAdvice(const std::string& device, int error) {
    if (error != EACCES && error != EPERM) return {};
    const std::string advice = PermissionAdvice(OwnershipOf(device));
    return advice.empty() ? advice : "\n\n" + advice;
}

bool CSerialPort::OpenLink(std::string& errorText, int baud) {
    errorText.clear();
    // Whatever was open before is let go first, so a reopen never holds two links.
    close();
    const bool namedDevice = !config_.devicePath.empty();
    if (!namedDevice && usbLink_ && usbLink_->usb_find_device()) {
        usb_ = true;
        return true;
    }
    usb_ = false;
    if (!namedDevice) FollowMovedAdapter();
    const int port = PortNumber();
    if (port == 0 && !namedDevice) {
        errorText = comm_text::kNoComPortSelected;
        return false;
    }
    TtyDevice::OpenStage stage = TtyDevice::OpenStage::None;
    int error = 0;
    const std::string device = DevicePath();
    if (tty_.Open(device, baud, stage, error)) return true;
    close();
    const std::string advice = stage == TtyDevice::OpenStage::Open ? RefusalAdvice(device, error) : std::string();
    if (namedDevice) {
        errorText = DeviceOpenError(device, stage, error) + advice;
        return false;
    }
    switch (stage) {
        case TtyDevice::OpenStage::GetState:
            errorText = WithSystemText(FormatText(comm_text::kGetStateFailedFormat, port, error), error);
            break;
        case TtyDevice::OpenStage::SetState:
            errorText = WithSystemText(FormatText(comm_text::kSetStateFailedFormat, port, error), error);
            break;
        default:
            switch (ClassifyOpenError(error)) {
                case OpenFailure::Missing: errorText = FormatText(comm_text::kPortMissingFormat, port, port); break;
                case OpenFailure::InUse: errorText = FormatText(comm_text::kPortInUseFormat, port) + advice; break;
                default:
                    errorText = WithSystemText(FormatText(comm_text::kPortUnexpectedFormat, port, error), error);
                    break;
            }
            break;
    }
    return false;
}

void CSerialPort::close() {
    if (trace_ && (usb_ || tty_.IsOpen())) trace_->Closed();
    if (usbLink_) usbLink_->usb_close();
    usb_ = false;
    tty_.Close();
}

std::int32_t CSerialPort::read_byte(unsigned char* buffer) { return read(buffer, 1); }

std::int32_t CSerialPort::read(unsigned char* buffer, std::int32_t n) {
    const std::int32_t count = ReadLink(buffer, n);
    if (trace_ && n > 0) {
        if (count > 0) trace_->Received(buffer, static_cast<std::size_t>(count));
        if (count < n) trace_->TimedOut(static_cast<std::size_t>(n), static_cast<std::size_t>(count));
    }
    return count;
}

std::int32_t CSerialPort::ReadLink(unsigned char* buffer, std::int32_t n) {
    if (n <= 0) return 0;
    if (!usb_) return tty_.Read(buffer, n);
    // The USB read ends what it delivers with a zero byte: give it room for that.
    std::vector<unsigned char> staging(static_cast<std::size_t>(n) + 1);
    std::int32_t count = 0;
    usbLink_->usb_read(staging.data(), n, count);
    if (count > n) count = n;
    if (count < 0) count = 0;
    std::memcpy(buffer, staging.data(), static_cast<std::size_t>(count));
    return count;
}

std::int32_t CSerialPort::write_byte(unsigned char ch) { return write(&ch, 1); }

std::int32_t CSerialPort::write(const unsigned char* data, std::int32_t n) {
    if (n == 0) n = static_cast<std::int32_t>(std::strlen(reinterpret_cast<const char*>(data)));
    const std::int32_t count = WriteLink(data, n);
    if (trace_ && count > 0) trace_->Sent(data, static_cast<std::size_t>(count));
    return count;
}

std::int32_t CSerialPort::WriteLink(const unsigned char* data, std::int32_t n) {
    if (n <= 0) return 0;
    if (!usb_) return tty_.Write(data, n);
    std::int32_t count = 0;
    if (!usbLink_->usb_write(data, n, count)) {
        usb_ = false;
        return 0;
    }
    return count > n ? n : count;
}

bool CSerialPort::purge() {
    if (usb_) {
        usbLink_->usb_clear_input();
        return true;
    }
    return tty_.Purge();
}

std::uint16_t UsbVendorIdFromSettings(SettingsStore* settings) {
    if (!settings) return kDefaultUsbVendorId;
    std::string text = settings->GetString(kCommSettingsSection, kUsbVendorIdKey, "");
    if (text.empty()) return kDefaultUsbVendorId;
    char* end = nullptr;
    long value = std::strtol(text.c_str(), &end, 0);
    if (end == text.c_str() || value <= 0 || value > 0xFFFF) return kDefaultUsbVendorId;
    return static_cast<std::uint16_t>(value);
}

std::unique_ptr<CSerialPort> MakeControllerTransport(SettingsStore& settings, const std::string& settingsPath,
                                                     int portOverride, const std::string& devicePath) {
    SerialPortConfig config;
    config.settings = &settings;
    config.portOverride = portOverride;
    config.devicePath = devicePath;
    config.portsDirectory = PortsDirectoryFor(settingsPath);
    config.deviceRoot = DeviceRoot();
    std::unique_ptr<UsbHid> usb;
    if (devicePath.empty()) usb = std::make_unique<UsbHid>(MakeHidapiBackend(), UsbVendorIdFromSettings(&settings));
    return std::make_unique<CSerialPort>(std::move(config), std::move(usb));
}

}  // namespace korvath
