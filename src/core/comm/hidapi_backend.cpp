// The HID backend over hidapi's hidraw implementation.

#include <hidapi/hidapi.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <vector>

#include "comm/hid_descriptor.h"
#include "comm/usb_hid.h"

namespace korvath {
namespace {

std::uint32_t ItemValue(const std::vector<unsigned char>& d, std::size_t at, std::size_t size) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < size; ++i) v |= static_cast<std::uint32_t>(d[at + i]) << (8 * i);
    return v;
}

}  // namespace

HidReportLayout ParseHidReportDescriptor(const std::vector<unsigned char>& d) {
    HidReportLayout layout;
    std::map<std::uint32_t, std::uint64_t> inputBits, outputBits;
    std::uint32_t reportSize = 0, reportCount = 0, reportId = 0;
    std::size_t i = 0;
    while (i < d.size()) {
        unsigned char prefix = d[i];
        if (prefix == 0xFE) {  // long item: skip it
            if (i + 1 >= d.size()) break;
            i += 3 + d[i + 1];
            continue;
        }
        std::size_t size = prefix & 3u;
        if (size == 3) size = 4;
        if (i + 1 + size > d.size()) break;
        std::uint32_t value = ItemValue(d, i + 1, size);
        switch (prefix & 0xFCu) {
            case 0x74: reportSize = std::min<std::uint32_t>(value, 256); break;
            case 0x94: reportCount = std::min<std::uint32_t>(value, 4096); break;
            case 0x84:
                reportId = value;
                layout.numbered = true;
                break;
            case 0x80: inputBits[reportId] += std::uint64_t{reportSize} * reportCount; break;
            case 0x90: outputBits[reportId] += std::uint64_t{reportSize} * reportCount; break;
            default: break;
        }
        i += 1 + size;
    }
    auto longest = [](const std::map<std::uint32_t, std::uint64_t>& bits) {
        std::uint64_t most = 0;
        for (const auto& [id, b] : bits) most = std::max(most, (b + 7) / 8);
        return static_cast<std::size_t>(most);
    };
    if (std::size_t in = longest(inputBits); in > 0) layout.inputLength = in + 1;
    if (std::size_t out = longest(outputBits); out > 0) layout.outputLength = out + 1;
    return layout;
}

namespace {

HidReportLayout LayoutOf(const std::string& devicePath) {
    // hidraw paths are /dev/hidrawN; the descriptor is in sysfs.
    auto slash = devicePath.rfind('/');
    std::string name = slash == std::string::npos ? devicePath : devicePath.substr(slash + 1);
    std::ifstream in("/sys/class/hidraw/" + name + "/device/report_descriptor", std::ios::binary);
    if (!in) return {};
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.empty()) return {};
    return ParseHidReportDescriptor(bytes);
}

class HidapiBackend final : public HidBackend {
public:
    HidapiBackend() { initialised_ = hid_init() == 0; }
    ~HidapiBackend() override {
        Close();
        if (initialised_) hid_exit();
    }

    std::vector<std::string> Enumerate(std::uint16_t vendorId, std::uint16_t productId) override {
        std::vector<std::string> paths;
        if (!initialised_) return paths;
        hid_device_info* list = hid_enumerate(vendorId, productId);
        for (hid_device_info* d = list; d; d = d->next)
            if (d->path && d->vendor_id == vendorId && d->product_id == productId) paths.emplace_back(d->path);
        hid_free_enumeration(list);
        return paths;
    }

    bool Open(const std::string& path) override {
        Close();
        device_ = hid_open_path(path.c_str());
        if (!device_) return false;
        layout_ = LayoutOf(path);
        return true;
    }

    void Close() override {
        if (device_) hid_close(device_);
        device_ = nullptr;
    }

    std::size_t InputReportLength() const override { return layout_.inputLength; }
    std::size_t OutputReportLength() const override { return layout_.outputLength; }

    int ReadReport(unsigned char* report, std::size_t length, int timeoutMs) override {
        if (!device_ || length < 2) return -1;
        if (layout_.numbered) return hid_read_timeout(device_, report, length, timeoutMs);
        // Devices without numbered reports deliver the data alone: it is report 0.
        report[0] = 0;
        int got = hid_read_timeout(device_, report + 1, length - 1, timeoutMs);
        return got > 0 ? got + 1 : got;
    }

    int WriteReport(const unsigned char* report, std::size_t length) override {
        if (!device_) return -1;
        return hid_write(device_, report, length);
    }

private:
    bool initialised_ = false;
    hid_device* device_ = nullptr;
    HidReportLayout layout_;
};

}  // namespace

std::unique_ptr<HidBackend> MakeHidapiBackend() { return std::make_unique<HidapiBackend>(); }

}  // namespace korvath
