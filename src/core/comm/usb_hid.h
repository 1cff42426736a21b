#pragma once
// "USB Direct": the monitor protocol's bytes carried in HID reports. Each output report is
// report id 0, the bytes, and a zero byte; each input report is report id 0 and a payload
// text ended by its first zero byte. A report that does not arrive within 300 ms closes the
// device.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace korvath {

inline constexpr std::uint16_t kUsbProductId = 0x0001;
inline constexpr std::uint16_t kDefaultUsbVendorId = 0x1209;
inline constexpr int kUsbReportTimeoutMs = 300;

// The system's HID devices. The tool uses hidapi; tests put a fake device here.
class HidBackend {
public:
    virtual ~HidBackend() = default;
    // Paths of the present devices with these ids, in the system's order.
    virtual std::vector<std::string> Enumerate(std::uint16_t vendorId, std::uint16_t productId) = 0;
    virtual bool Open(const std::string& path) = 0;
    virtual void Close() = 0;
    // Report lengths of the open device, counting the report id byte.
    virtual std::size_t InputReportLength() const = 0;
    virtual std::size_t OutputReportLength() const = 0;
    // Waits at most timeoutMs for one input report and puts it into report (byte 0: report id).
    // Returns its length, 0 on a time-out, -1 on an error.
    virtual int ReadReport(unsigned char* report, std::size_t length, int timeoutMs) = 0;
    // Sends one output report (byte 0: report id); returns the bytes written or -1.
    virtual int WriteReport(const unsigned char* report, std::size_t length) = 0;
};

// The hidapi (hidraw) backend.
std::unique_ptr<HidBackend> MakeHidapiBackend();

class UsbHid {
public:
    UsbHid(std::unique_ptr<HidBackend> backend, std::uint16_t vendorId);
    ~UsbHid();
    UsbHid(const UsbHid&) = delete;
    UsbHid& operator=(const UsbHid&) = delete;

    // Looks for the controller and opens the first one found.
    bool usb_find_device();
    // Delivers the rest of the current report and at most one new report; always true. When n is
    // above 1 the bytes are followed by a zero byte, so buffer needs room for n + 1 bytes.
    bool usb_read(unsigned char* buffer, std::int32_t n, std::int32_t& count);
    // Sends data (cut at its first zero byte) as one report; false closes the device.
    bool usb_write(const unsigned char* data, std::int32_t n, std::int32_t& count);
    void usb_clear_input();
    void usb_close();

    bool found() const { return found_; }
    std::uint16_t vendor_id() const { return vendorId_; }

private:
    void ReadOneReport();

    std::unique_ptr<HidBackend> backend_;
    std::uint16_t vendorId_;
    bool found_ = false;
    bool open_ = false;
    std::string devicePath_;
    std::size_t inputLength_ = 0;
    std::size_t outputLength_ = 0;
    std::array<unsigned char, 256> input_{};
    std::int32_t inputEnd_ = 0;
    std::int32_t inputPosition_ = 0;
    std::array<unsigned char, 264> output_{};
};

}  // namespace korvath
