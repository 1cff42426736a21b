#pragma once
// Where a replay stands: the position in the log's time, play or pause, the speed (x1, x4,
// x16), and the position slider's value. Plain numbers; the replay window only shows them.

#include <array>
#include <cstdint>
#include <string>

namespace korvath::datalog {

class ReplayClock {
public:
    static constexpr std::array<int, 3> kSpeeds{1, 4, 16};
    static constexpr int kSliderSteps = 1000;

    void SetDuration(std::int64_t ms);
    std::int64_t duration() const { return duration_; }

    // Playing from the end starts again from the beginning.
    void Play();
    void Pause() { playing_ = false; }
    bool playing() const { return playing_; }
    // One of kSpeeds; any other factor is ignored.
    void SetSpeed(int factor);
    int speed() const { return speed_; }

    // Moves on by `wallMs` of real time times the speed; at the end of the log it pauses there.
    void Advance(std::int64_t wallMs);
    void Seek(std::int64_t ms);
    std::int64_t position() const { return position_; }

    // The slider's value for the position, and the position of a slider value (0 ... kSliderSteps).
    int SliderValue() const;
    void SeekSlider(int value);

private:
    std::int64_t duration_ = 0;
    std::int64_t position_ = 0;
    int speed_ = 1;
    bool playing_ = false;
};

// "m:ss.s / m:ss.s" of a position and a duration.
std::string ReplayTimeText(std::int64_t positionMs, std::int64_t durationMs);
// "h:mm:ss" of an elapsed time.
std::string ElapsedText(std::int64_t ms);

}  // namespace korvath::datalog
