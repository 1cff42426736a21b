#include "engine/line_pacer.h"

#include <algorithm>

namespace korvath::sim {

LinePacer::LinePacer(unsigned baud) : char_ns_(baud == 0 ? 0 : (10ull * 1000000000ull + baud / 2) / baud) {}

void LinePacer::Arrive(const std::uint8_t* data, std::size_t size, std::uint64_t now_ns) {
    for (std::size_t i = 0; i < size; ++i) {
        last_in_ = std::max(last_in_, now_ns) + char_ns_;
        in_.push_back({last_in_, data[i]});
    }
}

void LinePacer::Queue(const std::vector<std::uint8_t>& bytes, std::uint64_t now_ns) {
    for (std::uint8_t b : bytes) {
        last_out_ = std::max(last_out_, now_ns) + char_ns_;
        out_.push_back({last_out_, b});
    }
}

std::vector<std::uint8_t> LinePacer::Due(std::deque<Timed>& queue, std::uint64_t now_ns) {
    std::vector<std::uint8_t> due;
    while (!queue.empty() && queue.front().at <= now_ns) {
        due.push_back(queue.front().byte);
        queue.pop_front();
    }
    return due;
}

std::optional<LinePacer::Timed> LinePacer::NextReceived(std::uint64_t now_ns) {
    if (in_.empty() || in_.front().at > now_ns) return std::nullopt;
    const Timed next = in_.front();
    in_.pop_front();
    return next;
}

std::vector<std::uint8_t> LinePacer::Transmitted(std::uint64_t now_ns) { return Due(out_, now_ns); }

std::optional<std::uint64_t> LinePacer::NextEvent() const {
    std::optional<std::uint64_t> next;
    if (!in_.empty()) next = in_.front().at;
    if (!out_.empty()) next = next ? std::min(*next, out_.front().at) : out_.front().at;
    return next;
}

void LinePacer::Clear() {
    in_.clear();
    out_.clear();
}

}  // namespace korvath::sim
