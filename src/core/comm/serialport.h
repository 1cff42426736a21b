#pragma once
// CSerialPort: the monitor's byte transport over a COM port or, when a USB controller is
// present, over the USB HID link. USB is tried first every time the link is opened.

#include <functional>
#include <memory>
#include <string>

#include "comm/byte_transport.h"
#include "comm/link_trace.h"
#include "comm/tty_device.h"
#include "comm/usb_hid.h"

namespace korvath {

class SettingsStore;

inline constexpr char kCommSettingsSection[] = "Communication Settings";
inline constexpr char kComPortNumberKey[] = "COMPortNumber";
// The USB vendor id of the controller ("0x..." or decimal); kDefaultUsbVendorId when absent.
inline constexpr char kUsbVendorIdKey[] = "USBVendorID";

struct SerialPortConfig {
    SettingsStore* settings = nullptr;  // holds "COMPortNumber"; none: no port chosen
    std::string portsDirectory;         // COM<n> links, see PortsDirectoryFor
    int portOverride = 0;               // above 0: this COM number instead of the stored one
    std::string devicePath;             // set: this device, bypassing the COM number and USB
    std::string deviceRoot = "/";       // where the system's serial devices are looked up (DeviceRoot)
};

class CSerialPort final : public ByteTransport {
public:
    // usb may be null (no USB link on this system). The link is opened by its owner.
    CSerialPort(SerialPortConfig config, std::unique_ptr<UsbHid> usb);
    ~CSerialPort() override;

    bool open(std::string& errorText, int baud) override;
    void close() override;
    std::int32_t read_byte(unsigned char* buffer) override;
    std::int32_t read(unsigned char* buffer, std::int32_t n) override;
    std::int32_t write_byte(unsigned char ch) override;
    std::int32_t write(const unsigned char* data, std::int32_t n) override;
    bool purge() override;
    bool is_usb() const override { return usb_; }

    // The COM number the link uses (the override, else the stored choice).
    int PortNumber() const;
    // The device the COM port opens.
    std::string DevicePath() const;
    // Why the last open failed (empty after a successful one).
    const std::string& last_open_error() const { return lastOpenError_; }

    // Every open, close, burst and time-out goes to trace from now on; null: none (the
    // default). The trace is not owned and must outlive the link or be taken off first.
    void SetTrace(LinkTrace* trace) { trace_ = trace; }
    // Told what the user should know of an open that went well in a way they did not choose
    // (the adapter remembered found under another COM number).
    void SetNoticeHandler(std::function<void(const std::string&)> notice) { notice_ = std::move(notice); }

private:
    bool OpenLink(std::string& errorText, int baud);
    std::int32_t ReadLink(unsigned char* buffer, std::int32_t n);
    std::int32_t WriteLink(const unsigned char* data, std::int32_t n);
    // The remembered adapter found under another COM number becomes the stored port.
    void FollowMovedAdapter();
    // The advice that follows a refused open of device.
    static std::string RefusalAdvice(const std::string& device, int error);

    SerialPortConfig config_;
    std::unique_ptr<UsbHid> usbLink_;
    bool usb_ = false;
    TtyDevice tty_;
    std::string lastOpenError_;
    LinkTrace* trace_ = nullptr;
    std::function<void(const std::string&)> notice_;
};

// The link as the programs open it: the COM port chosen in the settings (or portOverride),
// with the USB controller tried first; a devicePath opens that device alone. settingsPath
// names the settings file, beside which the ports/COM<n> links live.
std::unique_ptr<CSerialPort> MakeControllerTransport(SettingsStore& settings, const std::string& settingsPath,
                                                     int portOverride = 0, const std::string& devicePath = {});

// The vendor id stored in the settings (kUsbVendorIdKey), or the default.
std::uint16_t UsbVendorIdFromSettings(SettingsStore* settings);

}  // namespace korvath
