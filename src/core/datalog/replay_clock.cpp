#include "datalog/replay_clock.h"

#include <algorithm>
#include <cstdio>

namespace korvath::datalog {

void ReplayClock::SetDuration(std::int64_t ms) {
    duration_ = std::max<std::int64_t>(ms, 0);
    position_ = std::clamp(position_, std::int64_t{0}, duration_);
}

void ReplayClock::Play() {
    if (position_ >= duration_) position_ = 0;
    playing_ = duration_ > 0;
}

void ReplayClock::SetSpeed(int factor) {
    if (std::find(kSpeeds.begin(), kSpeeds.end(), factor) != kSpeeds.end()) speed_ = factor;
}

void ReplayClock::Advance(std::int64_t wallMs) {
    if (!playing_ || wallMs <= 0) return;
    position_ = std::min(duration_, position_ + wallMs * speed_);
    if (position_ >= duration_) playing_ = false;
}

void ReplayClock::Seek(std::int64_t ms) { position_ = std::clamp(ms, std::int64_t{0}, duration_); }

int ReplayClock::SliderValue() const {
    if (duration_ <= 0) return 0;
    return static_cast<int>((position_ * kSliderSteps + duration_ / 2) / duration_);
}

void ReplayClock::SeekSlider(int value) {
    value = std::clamp(value, 0, kSliderSteps);
    Seek((duration_ * value + kSliderSteps / 2) / kSliderSteps);
}

namespace {
std::string MinutesText(std::int64_t ms) {
    const std::int64_t tenths = std::max<std::int64_t>(ms, 0) / 100;
    char text[48];
    std::snprintf(text, sizeof text, "%lld:%02lld.%lld", static_cast<long long>(tenths / 600),
                  static_cast<long long>(tenths / 10 % 60), static_cast<long long>(tenths % 10));
    return text;
}
}  // namespace

std::string ReplayTimeText(std::int64_t positionMs, std::int64_t durationMs) {
    return MinutesText(positionMs) + " / " + MinutesText(durationMs);
}

std::string ElapsedText(std::int64_t ms) {
    const std::int64_t s = std::max<std::int64_t>(ms, 0) / 1000;
    char text[48];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(s / 3600),
                  static_cast<long long>(s / 60 % 60), static_cast<long long>(s % 60));
    return text;
}

}  // namespace korvath::datalog
