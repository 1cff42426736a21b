#pragma once
// A HID device for tests: input reports come from a queue or from a peer function, output
// reports are recorded (and handed to the peer).

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "comm/usb_hid.h"

namespace korvath::test {

struct FakeHidState {
    std::vector<std::string> paths{"/dev/hidraw-fake0"};
    std::vector<std::string> opened;
    int closes = 0;
    std::size_t reportLength = 65;
    std::deque<std::vector<unsigned char>> input;       // whole reports, byte 0 = report id
    std::vector<std::vector<unsigned char>> output;     // whole reports as written
    bool writeFails = false;
    int timeouts = 0;
    // Called with the payload of every output report (up to its first zero byte); returns the
    // payloads of the input reports it causes.
    std::function<std::vector<std::string>(const std::string&)> peer;
};

class FakeHidBackend final : public HidBackend {
public:
    explicit FakeHidBackend(FakeHidState& state) : s_(state) {}
    std::vector<std::string> Enumerate(std::uint16_t vendorId, std::uint16_t productId) override {
        if (vendorId != kDefaultUsbVendorId || productId != kUsbProductId) return {};
        return s_.paths;
    }
    bool Open(const std::string& path) override {
        s_.opened.push_back(path);
        open_ = true;
        return true;
    }
    void Close() override {
        if (open_) ++s_.closes;
        open_ = false;
    }
    std::size_t InputReportLength() const override { return s_.reportLength; }
    std::size_t OutputReportLength() const override { return s_.reportLength; }
    int ReadReport(unsigned char* report, std::size_t length, int) override {
        if (!open_) return -1;
        if (s_.input.empty()) {
            ++s_.timeouts;
            return 0;
        }
        auto r = s_.input.front();
        s_.input.pop_front();
        r.resize(length, 0);
        std::copy(r.begin(), r.end(), report);
        return static_cast<int>(length);
    }
    int WriteReport(const unsigned char* report, std::size_t length) override {
        if (!open_ || s_.writeFails) return -1;
        s_.output.emplace_back(report, report + length);
        if (s_.peer) {
            std::string payload(reinterpret_cast<const char*>(report) + 1);
            for (const std::string& in : s_.peer(payload)) Queue(in);
        }
        return static_cast<int>(length);
    }
    void Queue(const std::string& payload, unsigned char id = 0) {
        std::vector<unsigned char> r{id};
        r.insert(r.end(), payload.begin(), payload.end());
        s_.input.push_back(r);
    }

private:
    FakeHidState& s_;
    bool open_ = false;
};

inline void QueueReport(FakeHidState& s, const std::string& payload, unsigned char id = 0) {
    std::vector<unsigned char> r{id};
    r.insert(r.end(), payload.begin(), payload.end());
    s.input.push_back(r);
}

}  // namespace korvath::test
