#pragma once
// The fading trail of the operating point: the crosshair positions of the last few seconds,
// each drawn fainter the older it is, under the crosshair itself.

#include <cstdint>
#include <deque>
#include <vector>

namespace korvath {
class CGraphEngine;
}

namespace korvath::datalog {

struct TrailDot {
    int x = 0, y = 0;    // pixels, as the crosshair's centre
    float alpha = 0.0f;  // 0 (gone) ... kNewestAlpha (just now)
};

class CrosshairTrail {
public:
    static constexpr std::int64_t kSpanMs = 5000;
    static constexpr std::size_t kMaxPositions = 500;
    static constexpr float kNewestAlpha = 0.8f;

    // A position of the crosshair at `nowMs`. Hidden positions (x <= -1), a y still at the hidden
    // state's -1 (only x has come since the link answered) and a repeat of the last position add
    // nothing.
    void Add(std::int64_t nowMs, float x, float y);
    void Clear() { positions_.clear(); }
    // Forgets positions older than the span.
    void Prune(std::int64_t nowMs);
    bool empty() const { return positions_.empty(); }
    std::size_t size() const { return positions_.size(); }

    // The dots to draw at `nowMs`, oldest first, placed as the engine places its crosshair.
    std::vector<TrailDot> Dots(std::int64_t nowMs, const CGraphEngine& graph) const;

private:
    struct Position {
        std::int64_t timeMs;
        float x, y;
    };
    std::deque<Position> positions_;
};

}  // namespace korvath::datalog
