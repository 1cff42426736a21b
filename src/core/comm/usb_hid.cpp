#include "comm/usb_hid.h"

#include <algorithm>
#include <cstring>

namespace korvath {

UsbHid::UsbHid(std::unique_ptr<HidBackend> backend, std::uint16_t vendorId)
    : backend_(std::move(backend)), vendorId_(vendorId) {}

UsbHid::~UsbHid() { usb_close(); }

bool UsbHid::usb_find_device() {
    found_ = false;
    usb_clear_input();
    if (!backend_) return false;
    usb_close();
    for (const std::string& path : backend_->Enumerate(vendorId_, kUsbProductId)) {
        if (!backend_->Open(path)) continue;
        open_ = true;
        found_ = true;
        devicePath_ = path;
        // Report lengths beyond the buffers are cut, so a strange descriptor cannot overrun them.
        inputLength_ = std::clamp<std::size_t>(backend_->InputReportLength(), 2, input_.size());
        outputLength_ = std::clamp<std::size_t>(backend_->OutputReportLength(), 2, output_.size());
        break;
    }
    return found_;
}

void UsbHid::ReadOneReport() {
    inputEnd_ = 0;
    inputPosition_ = 0;
    if (!open_) return;
    input_[0] = 0;
    int got = backend_->ReadReport(input_.data(), inputLength_, kUsbReportTimeoutMs);
    if (got <= 0 || input_[0] != 0) {
        // No report in time, a read error, or a report id other than 0: the device is closed and
        // nothing of this report is delivered.
        usb_close();
        found_ = false;
        return;
    }
    std::size_t length = std::min<std::size_t>(static_cast<std::size_t>(got), inputLength_);
    const unsigned char* payload = input_.data() + 1;
    const void* zero = std::memchr(payload, 0, length - 1);
    inputEnd_ = static_cast<std::int32_t>(zero ? static_cast<const unsigned char*>(zero) - payload : length - 1);
}

bool UsbHid::usb_read(unsigned char* buffer, std::int32_t n, std::int32_t& count) {
    count = 0;
    if (n <= 0) return true;
    std::int32_t k = std::min(inputEnd_ - inputPosition_, n);
    if (k > 0) {
        std::memcpy(buffer, input_.data() + 1 + inputPosition_, static_cast<std::size_t>(k));
        inputPosition_ += k;
    } else {
        k = 0;
    }
    count = k;
    if (k < n) {
        ReadOneReport();
        inputPosition_ = std::min(n - k, inputEnd_);
        std::memcpy(buffer + k, input_.data() + 1, static_cast<std::size_t>(inputPosition_));
        count = k + inputPosition_;
    }
    if (n > 1) buffer[count] = 0;
    return true;
}

bool UsbHid::usb_write(const unsigned char* data, std::int32_t n, std::int32_t& count) {
    count = 0;
    output_.fill(0);
    output_[0] = 0;
    // Room for the payload and its terminating zero inside the output report.
    const std::size_t room = outputLength_ >= 2 ? outputLength_ - 2 : 0;
    std::size_t length = 0;
    while (length < static_cast<std::size_t>(std::max(n, 0)) && length < room && data[length] != 0) {
        output_[1 + length] = data[length];
        ++length;
    }
    output_[1 + length] = 0;
    int written = open_ ? backend_->WriteReport(output_.data(), outputLength_) : -1;
    if (written < 0) {
        usb_close();
        found_ = false;
        return false;
    }
    count = written;
    // Bytes that did not fit into the report were not sent: say so with a short count.
    if (length == room && static_cast<std::size_t>(n) > room && data[room] != 0)
        count = static_cast<std::int32_t>(length);
    return true;
}

void UsbHid::usb_clear_input() {
    inputEnd_ = 0;
    inputPosition_ = 0;
}

void UsbHid::usb_close() {
    if (open_ && backend_) backend_->Close();
    open_ = false;
}

}  // namespace korvath
