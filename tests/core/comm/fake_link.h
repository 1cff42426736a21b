#pragma once
// Test doubles for the controller link: an in-process controller behind the ByteTransport
// interface (with the faults a real link shows), a timer that records its periods, and a
// document stand-in that records what the monitor tells it.

#include <cctype>
#include <cstdio>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "comm/byte_transport.h"
#include "comm/monitor_client.h"
#include "platform/host.h"

namespace korvath::test {

class FakeController final : public ByteTransport {
public:
    // Address digits per letter: 'e'/'i' 2, 'l' 3, 'f'/'n' ramDigits, 'w'/'v' 2.
    int ramDigits = 2;
    std::map<char, std::map<unsigned, unsigned char>> memory;  // letter group -> address -> byte
    char firmware[3] = "33";
    char product[3] = "21";
    bool answerW = true;
    int silentAfter = -1;            // stop answering after this many received bytes
    int valueDigitsSent = 2;         // how many value digits follow the address echo
    bool openResult = true;
    bool writeFails = false;         // the link takes no bytes
    char laterAddressEcho = 0;       // echoes this for every address character after the first

    std::string written;  // everything the tool sent
    int opens = 0, closes = 0, purges = 0;

    bool open(std::string& errorText, int) override {
        ++opens;
        if (!openResult) errorText = "cannot open";
        return openResult;
    }
    void close() override { ++closes; }
    std::int32_t read_byte(unsigned char* b) override { return read(b, 1); }
    std::int32_t read(unsigned char* b, std::int32_t n) override {
        std::int32_t k = 0;
        while (k < n && !out_.empty()) {
            b[k++] = out_.front();
            out_.pop_front();
        }
        return k;
    }
    std::int32_t write_byte(unsigned char ch) override { return write(&ch, 1); }
    std::int32_t write(const unsigned char* data, std::int32_t n) override {
        if (writeFails) return 0;
        for (std::int32_t i = 0; i < n; ++i) Receive(static_cast<char>(data[i]));
        return n;
    }
    bool purge() override {
        ++purges;
        out_.clear();
        return true;
    }
    bool is_usb() const override { return false; }

    unsigned char& Byte(char letter, unsigned address) { return memory[Group(letter)][address]; }

private:
    static char Group(char letter) { return letter == 'i' ? 'e' : letter; }
    int DigitsFor(char letter) const {
        if (letter == 'l') return 3;
        if (letter == 'f' || letter == 'n') return ramDigits;
        return 2;
    }
    void Send(char c) { out_.push_back(static_cast<unsigned char>(c)); }
    void Receive(char c) {
        written.push_back(c);
        if (silentAfter >= 0 && static_cast<int>(written.size()) > silentAfter) return;
        switch (state_) {
            case State::Idle:
                if (std::string("eilfnwv").find(c) == std::string::npos) return;
                letter_ = c;
                address_.clear();
                Send(c);
                state_ = State::Address;
                return;
            case State::Address:
                address_.push_back(c);
                Send(laterAddressEcho && address_.size() > 1 ? laterAddressEcho : c);
                if (static_cast<int>(address_.size()) == DigitsFor(letter_)) AnswerAddress();
                return;
            case State::Value:
                if (value_.empty() && std::string("eilfnwv").find(c) != std::string::npos) {
                    state_ = State::Idle;
                    Receive2(c);
                    return;
                }
                value_.push_back(c);
                Send(c);
                if (value_.size() == 2) {
                    if (letter_ != 'w' && letter_ != 'v')
                        memory[Group(letter_)][Address()] =
                            static_cast<unsigned char>(std::stoul(value_, nullptr, 16));
                    if (letter_ == 'e' || letter_ == 'i' || letter_ == 'l') Send('c');
                    state_ = State::Idle;
                }
                return;
        }
    }
    void Receive2(char c) {  // a new command letter right after an answer
        written.pop_back();
        Receive(c);
    }
    unsigned Address() const { return static_cast<unsigned>(std::stoul(address_, nullptr, 16)); }
    void AnswerAddress() {
        value_.clear();
        state_ = State::Value;
        std::string digits;
        if (letter_ == 'w') {
            if (!answerW) {
                out_.clear();
                state_ = State::Idle;
                return;
            }
            digits = firmware;
        } else if (letter_ == 'v') {
            digits = product;
        } else {
            char d[3];
            std::snprintf(d, sizeof d, "%.2X", memory[Group(letter_)][Address()]);
            digits = d;
        }
        for (int i = 0; i < valueDigitsSent && i < 2; ++i) Send(digits[static_cast<std::size_t>(i)]);
    }

    enum class State { Idle, Address, Value } state_ = State::Idle;
    char letter_ = 0;
    std::string address_, value_;
    std::deque<unsigned char> out_;
};

class RecordingTimer final : public TimerHost {
public:
    std::vector<unsigned> periods;  // every start, in order
    bool running = false;
    std::function<void()> tick;
    void StartTimer(unsigned periodMs, std::function<void()> t) override {
        periods.push_back(periodMs);
        running = true;
        tick = std::move(t);
    }
    void StopTimer() override { running = false; }
    void Fire() {
        auto copy = tick;
        if (running && copy) copy();
    }
};

class RecordingClient final : public MonitorClient {
public:
    struct Message {
        std::string text, caption;
        unsigned style;
    };
    std::vector<Message> messages;
    std::vector<int> statuses;
    int identifyCalls = 0;
    std::function<bool()> identify = [] { return false; };

    int ShowMessage(std::string_view text, std::string_view caption, unsigned style) override {
        messages.push_back({std::string(text), std::string(caption), style});
        return 1;
    }
    void ShowConnectionStatus(int connected) override { statuses.push_back(connected); }
    bool IdentifyController(int, int) override {
        ++identifyCalls;
        return identify();
    }
};

}  // namespace korvath::test
