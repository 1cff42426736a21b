// The monitor over a scripted transport: every byte the controller "sends" comes from the input,
// whatever the tool wrote, through every exchange of the link.

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "comm/byte_transport.h"
#include "comm/vuz_monitor.h"
#include "fuzz_target.h"

namespace {

class ScriptedTransport final : public korvath::ByteTransport {
public:
    ScriptedTransport(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool open(std::string&, int) override { return true; }
    void close() override {}
    std::int32_t read_byte(unsigned char* buffer) override { return read(buffer, 1); }
    std::int32_t read(unsigned char* buffer, std::int32_t n) override {
        if (n <= 0) return 0;
        const auto k = static_cast<std::int32_t>(std::min<std::size_t>(static_cast<std::size_t>(n), size_ - at_));
        std::copy(data_ + at_, data_ + at_ + k, buffer);
        at_ += static_cast<std::size_t>(k);
        return k;
    }
    std::int32_t write_byte(unsigned char) override { return 1; }
    std::int32_t write(const unsigned char*, std::int32_t n) override { return n; }
    bool purge() override { return true; }
    bool is_usb() const override { return false; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

}  // namespace

KORVATH_FUZZ_TARGET(monitor)(const std::uint8_t* data, std::size_t size) {
    using namespace korvath;
    CTCS_Monitor monitor(std::make_unique<ScriptedTransport>(data, size), nullptr);
    monitor.set_connected(1);
    std::uint16_t product = 2, hardware = 1, major = 3, minor = 3;
    monitor.query_versions(&product, &hardware, &major, &minor);
    monitor.set_connected(1);
    std::string error;
    std::uint16_t value = 0;
    monitor.read_NVM('e', 0x3A, value, error);
    KORVATH_FUZZ_CHECK(value <= 0xFF);
    monitor.set_connected(1);
    monitor.write_NVM('l', 0x123, 0x5A, error);
    std::int32_t ram = 0x40;
    monitor.access_RAM('f', 0x45, ram, error);
    monitor.read_RAM_variable("TPS");
    monitor.set_NVM_type(2);
    std::vector<std::uint8_t> image(600, 0x77);
    std::string status;
    monitor.download_block(image.data(), 0, 0x100, 300, status);
    monitor.upload_block(image.data(), 0, 0x100, 300, 2, status);
    monitor.burn_flash(3, 2, error);
    monitor.load_flash(3, 2, error);
    return 0;
}
