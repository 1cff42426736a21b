#include "datalog/crosshair_trail.h"

#include "graph/graphengine.h"

namespace korvath::datalog {

void CrosshairTrail::Add(std::int64_t nowMs, float x, float y) {
    if (x <= -1.0f || y == -1.0f) return;
    if (!positions_.empty() && positions_.back().x == x && positions_.back().y == y) return;
    positions_.push_back({nowMs, x, y});
    while (positions_.size() > kMaxPositions) positions_.pop_front();
    Prune(nowMs);
}

void CrosshairTrail::Prune(std::int64_t nowMs) {
    while (!positions_.empty() && nowMs - positions_.front().timeMs >= kSpanMs) positions_.pop_front();
}

std::vector<TrailDot> CrosshairTrail::Dots(std::int64_t nowMs, const CGraphEngine& graph) const {
    std::vector<TrailDot> dots;
    dots.reserve(positions_.size());
    for (const Position& p : positions_) {
        const std::int64_t age = nowMs - p.timeMs;
        if (age >= kSpanMs) continue;
        TrailDot dot;
        graph.CrosshairCentre(p.x, p.y, dot.x, dot.y);
        dot.alpha = kNewestAlpha * (1.0f - static_cast<float>(age < 0 ? 0 : age) / static_cast<float>(kSpanMs));
        dots.push_back(dot);
    }
    return dots;
}

}  // namespace korvath::datalog
