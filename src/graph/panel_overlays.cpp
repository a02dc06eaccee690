#include "graph/panel_overlays.h"

#include <algorithm>
#include <cmath>

namespace graph {

namespace {

constexpr double kFarPixel = 1e9;
constexpr int kLeaderRise = 15;
constexpr int kLeaderRun = 5;
constexpr int kTextRise = 30;
constexpr double kCharacterWidth = 6.5;
// The events' line lies at nine tenths of the height, a single-precision constant.
constexpr float kEventLineHeight = 0.9f;
constexpr int kUrSlot = 5;

}  // namespace

int PixelOf(const CAxisScale& scale, double value) {
    const double p = scale.ValueToPixel(value);
    return std::isfinite(p) ? static_cast<int>(std::clamp(p, -kFarPixel, kFarPixel)) : 0;
}

int FindPointAtX(const CPointsCollection& points, double x) {
    const std::vector<GraphPoint>& p = points.Points();
    if (points.IsOrdered()) {
        const auto at = std::lower_bound(
            p.begin(), p.end(), x, [](const GraphPoint& point, double v) { return point.x < v; });
        return at != p.end() && at->x == x ? static_cast<int>(at - p.begin()) : -1;
    }
    const auto at = std::ranges::find_if(p, [x](const GraphPoint& point) { return point.x == x; });
    return at != p.end() ? static_cast<int>(at - p.begin()) : -1;
}

bool MarkerBelongsTo(const Marker& marker, bool channelLevels, int position, int slot) {
    return channelLevels ? marker.Channel() == position : slot != kUrSlot;
}

LabelPlan PlanLabel(const GraphLabel& label, const CAxisScale& x, const CAxisScale& y) {
    const int px = PixelOf(x, LeadingNumber(label.xText));
    const int py = PixelOf(y, LeadingNumber(label.yText));
    const int textX = px + kLeaderRun;
    const int lineY = py - kLeaderRise;
    const int length = static_cast<int>(kCharacterWidth * static_cast<double>(label.text.size()));
    return {{px, py},
            {px, py, textX, lineY},
            {textX, lineY, textX + length, lineY},
            {textX, py - kTextRise},
            label.text};
}

std::optional<EventPlan> PlanEvent(const EventSpan& span, int selectedSegment, int s, int e,
                                   const ui::Rect& rect) {
    EventPlan plan;
    plan.textTop = static_cast<int>(kEventLineHeight * static_cast<float>(rect.bottom));
    const int y = plan.textTop;
    const auto vertical = [&](int x) { plan.lines.push_back({x, rect.bottom, x, rect.top}); };
    const auto horizontal = [&](int from, int to) { plan.lines.push_back({from, y, to, y}); };
    const bool startHere = span.startRecord == selectedSegment;
    const bool endHere = span.endRecord == selectedSegment;
    if (startHere && endHere) {
        vertical(s);
        vertical(e);
        horizontal(s, e);
        plan.textCentre = (s + e) / 2;
    } else if (startHere) {
        vertical(s);
        horizontal(s, rect.right);
        plan.textCentre = (s + rect.right) / 2;
    } else if (endHere) {
        vertical(e);
        horizontal(e, rect.left);
        plan.textCentre = e / 2;
    } else if (span.startRecord < selectedSegment && selectedSegment < span.endRecord) {
        horizontal(rect.left, rect.right);
        plan.textCentre = (rect.left + rect.right) / 2;
    } else {
        return std::nullopt;
    }
    return plan;
}

}  // namespace graph
