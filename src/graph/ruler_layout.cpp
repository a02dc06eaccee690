#include "graph/ruler_layout.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "graph/axis_label.h"
#include "graph/axis_scale.h"
#include "platform/text.h"

namespace graph {

namespace {

constexpr double kThicknessInches = 1.0 / 6;
constexpr double kFontHeightInches = 0.14749262536873156;
constexpr double kTickInches = 1.0 / 24;
constexpr double kUnitGapInches = 1.0 / 60;
constexpr const char* kProbeText = "9.99 ";
constexpr const char* kUnitReserve = "-10";
constexpr double kLabelLineHeight = 1.1;
// Date-and-time labels are cut to this length and only about this many of them are shown.
constexpr int kDateLabelLength = 20;
constexpr int kDateLabelsShown = 5;
constexpr int kLabelEvery = 2;

int InchesToPixels(double inches, int pixelsPerInch) {
    return std::max(1, static_cast<int>(inches * pixelsPerInch));
}

RulerSizes SizesAt(int pixelsPerInch) {
    return {InchesToPixels(kThicknessInches, pixelsPerInch),
            InchesToPixels(kFontHeightInches, pixelsPerInch),
            InchesToPixels(kTickInches, pixelsPerInch),
            InchesToPixels(kUnitGapInches, pixelsPerInch)};
}

int TickCount(int length, int probeWidth) {
    const int width = std::max(1, probeWidth);
    return length <= 0 ? 0 : (length + width - 1) / width;
}

// The list row a time-axis value stands for; none beyond what a row number can hold.
bool RowOf(double value, int& row) {
    if (!std::isfinite(value) || value <= INT_MIN || value >= INT_MAX)
        return false;
    row = static_cast<int>(value);
    return true;
}

}  // namespace

RulerSizes HorizontalRulerSizes(const GraphMetrics& metrics) {
    return SizesAt(metrics.PixelsPerInchY());
}

RulerSizes VerticalRulerSizes(const GraphMetrics& metrics) {
    return SizesAt(metrics.PixelsPerInchX());
}

int HorizontalTickCount(const ui::Rect& rect, const GraphMetrics& metrics) {
    const RulerSizes sizes = HorizontalRulerSizes(metrics);
    return TickCount(rect.Width() - sizes.thickness,
                     metrics.TextWidth(kProbeText, sizes.fontHeight));
}

int VerticalTickCount(const ui::Rect& rect, const GraphMetrics& metrics) {
    const RulerSizes sizes = VerticalRulerSizes(metrics);
    return TickCount(rect.Height() - sizes.thickness,
                     metrics.TextWidth(kProbeText, sizes.fontHeight));
}

RulerPlan PlanHorizontalRuler(const ui::Rect& client, double min, double max,
                              const std::string& unit, const GraphMetrics& metrics,
                              const TimeLabelSource& timeLabel) {
    const RulerSizes sizes = HorizontalRulerSizes(metrics);
    const int t = sizes.thickness;
    RulerPlan plan;
    plan.fontHeight = sizes.fontHeight;
    const ui::Rect r{client.left, client.top, client.right - 1, client.bottom - 1};
    if (r.bottom < r.top + t - 1 || r.right - r.left <= t + 5)
        return plan;

    const int textHeight = metrics.TextHeight(sizes.fontHeight);
    const int unitWidth = metrics.TextWidth(unit + kUnitReserve, sizes.fontHeight) + sizes.unitGap;
    const int labelTop = r.bottom - static_cast<int>(kLabelLineHeight * textHeight);

    CAxisScale scale;
    scale.Init(r.left + t, r.right, min, max);
    const AxisTicks ticks = ComputeTicks(scale, HorizontalTickCount(r, metrics));
    const int n = ticks.Count();
    for (int i = 0; i < n; ++i) {
        const int x = static_cast<int>(ticks.positions[i]);
        int row = 0;
        std::string label = timeLabel && RowOf(ticks.values[i], row) ? timeLabel(row) : "";
        int every = kLabelEvery;
        if (platform::Contains(label, "/")) {
            label = platform::Left(label, kDateLabelLength);
            every = std::max(1, n / kDateLabelsShown);
        }
        const int halfWidth = metrics.TextWidth(label, sizes.fontHeight) / 2;
        if (x - halfWidth > r.left + t && x + halfWidth < r.right - unitWidth && i % every == 0) {
            plan.lines.push_back({x, r.top, x, r.top + sizes.tickLength});
            plan.labels.push_back({x - halfWidth, labelTop, label});
        }
    }
    plan.unit = {r.right - unitWidth - 1, labelTop, unit};
    return plan;
}

RulerPlan PlanVerticalRuler(const ui::Rect& client, double min, double max, const std::string& unit,
                            const GraphMetrics& metrics) {
    const RulerSizes sizes = VerticalRulerSizes(metrics);
    const int t = sizes.thickness;
    RulerPlan plan;
    plan.fontHeight = sizes.fontHeight;
    const ui::Rect r{client.left, client.top, client.right - 1, client.bottom - 1};
    plan.lines.push_back({r.left, r.bottom, r.right, r.bottom});
    plan.lines.push_back({r.right, r.bottom, r.right, r.top});
    if (r.bottom - r.top <= t + 5 || r.right < r.left + t - 1)
        return plan;

    const int textHeight = metrics.TextHeight(sizes.fontHeight);
    const int unitWidth = metrics.TextWidth(unit + kUnitReserve, sizes.fontHeight) + sizes.unitGap;

    // The same span as the panel beside it, so that each label stands at its value.
    CAxisScale scale;
    scale.Init(r.bottom, r.top, min, max);
    const AxisTicks ticks = ComputeTicks(scale, VerticalTickCount(r, metrics));
    for (int i = 0; i < ticks.Count(); ++i) {
        const int y = static_cast<int>(ticks.positions[i]);
        plan.lines.push_back({r.right, y, r.right - sizes.tickLength, y});
        const std::string label = FormatFixed(ticks.values[i], 1);
        const int halfWidth = metrics.TextWidth(label, sizes.fontHeight) / 2;
        if (y + halfWidth < r.bottom && y - halfWidth > r.top + t + unitWidth && i % 2 == 0)
            plan.labels.push_back({r.right - textHeight, y + halfWidth, label});
    }
    plan.unit = {r.right - textHeight, r.top + t + unitWidth + 1, unit};
    return plan;
}

}  // namespace graph
