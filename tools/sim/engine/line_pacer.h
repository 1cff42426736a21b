#pragma once
// A serial line at a given baud rate in both directions (1 start, 8 data, 1 stop bit): a byte
// counts as received one character time after the previous byte was, and goes out one character
// time after the previous byte went out. At baud 0 everything passes at once.
// Times are nanoseconds on any monotonic clock.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace korvath::sim {

class LinePacer {
public:
    explicit LinePacer(unsigned baud);

    // Bytes that reached us at now_ns.
    void Arrive(const std::uint8_t* data, std::size_t size, std::uint64_t now_ns);
    struct Timed {
        std::uint64_t at;
        std::uint8_t byte;
    };
    // The next byte whose reception has completed by now_ns, with the time it completed: what
    // the controller answers to it starts then, however late the caller looks.
    std::optional<Timed> NextReceived(std::uint64_t now_ns);
    // Bytes ready to go out at now_ns.
    void Queue(const std::vector<std::uint8_t>& bytes, std::uint64_t now_ns);
    // Bytes whose transmission has completed by now_ns, in order.
    std::vector<std::uint8_t> Transmitted(std::uint64_t now_ns);
    // The earliest time at which Received or Transmitted will have something new.
    std::optional<std::uint64_t> NextEvent() const;
    // Forgets everything in flight (the line dropped).
    void Clear();

    std::uint64_t CharacterTimeNs() const { return char_ns_; }

private:
    static std::vector<std::uint8_t> Due(std::deque<Timed>& queue, std::uint64_t now_ns);

    std::uint64_t char_ns_;
    std::deque<Timed> in_;
    std::deque<Timed> out_;
    std::uint64_t last_in_ = 0;
    std::uint64_t last_out_ = 0;
};

}  // namespace korvath::sim
