#pragma once
// The simulated controller behind the tool's byte transport, in-process: what the tool writes
// goes straight to the controller, and the controller's answers are read back at once. Only for
// test programs that link the simulator's engine.

#include <deque>
#include <string>

#include "comm/byte_transport.h"
#include "engine/controller.h"

namespace korvath::testing {

class SimTransport final : public ByteTransport {
public:
    explicit SimTransport(sim::Controller& controller) : controller_(controller) {}

    bool open(std::string& errorText, int) override {
        ++opens;
        if (!plugged) errorText = "the simulated controller is unplugged";
        return plugged;
    }
    void close() override { controller_.ResetLink(); }
    std::int32_t read_byte(unsigned char* buffer) override { return read(buffer, 1); }
    std::int32_t read(unsigned char* buffer, std::int32_t n) override {
        Pump();
        std::int32_t k = 0;
        while (k < n && !pending_.empty()) {
            buffer[k++] = pending_.front();
            pending_.pop_front();
        }
        return k;
    }
    std::int32_t write_byte(unsigned char ch) override { return write(&ch, 1); }
    std::int32_t write(const unsigned char* data, std::int32_t n) override {
        if (!plugged) return 0;
        controller_.Receive(data, static_cast<std::size_t>(n));
        return n;
    }
    bool purge() override {
        Pump();
        pending_.clear();
        return true;
    }
    bool is_usb() const override { return false; }

    bool plugged = true;  // false: the controller answers nothing
    int opens = 0;

private:
    void Pump() {
        controller_.SetTime(controller_.Time() + 1);
        if (!plugged) {
            controller_.TakeOutput();
            return;
        }
        for (auto b : controller_.TakeOutput()) pending_.push_back(b);
    }

    sim::Controller& controller_;
    std::deque<unsigned char> pending_;
};

}  // namespace korvath::testing
