#pragma once
// Where a ruler draws its ticks and labels: the horizontal ruler below the panel labels its
// ticks with the time texts of the list rows they stand for, the vertical ruler at the left
// with the values. Sizes are fractions of an inch of the screen; labels that would overlap the
// unit text or the ruler's start are left out.

#include <functional>
#include <string>
#include <vector>

#include "graph/graph_metrics.h"
#include "ui/geometry.h"

namespace graph {

// Lengths of a ruler in pixels, from the screen's resolution across the ruler.
struct RulerSizes {
    int thickness = 1;   // height of the horizontal ruler, width of the vertical one
    int fontHeight = 1;  // of the label font
    int tickLength = 1;
    int unitGap = 1;  // added to the width kept free for the unit text
};

RulerSizes HorizontalRulerSizes(const GraphMetrics& metrics);
RulerSizes VerticalRulerSizes(const GraphMetrics& metrics);

// How many ticks fit along a ruler over `rect` (at least one "9.99 " apart).
int HorizontalTickCount(const ui::Rect& rect, const GraphMetrics& metrics);
int VerticalTickCount(const ui::Rect& rect, const GraphMetrics& metrics);

struct RulerLine {
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;
    bool operator==(const RulerLine&) const = default;
};

// A text by the top-left corner of its box; on the vertical ruler the text reads upwards from
// (x, y), its glyphs to the right of x.
struct RulerText {
    int x = 0;
    int y = 0;
    std::string text;
    bool operator==(const RulerText&) const = default;
};

struct RulerPlan {
    int fontHeight = 1;
    std::vector<RulerLine> lines;
    // Empty, with no unit text, when the ruler is too small for more than its frame.
    std::vector<RulerText> labels;
    RulerText unit;
};

// The label of a tick: column 0 of a list row.
using TimeLabelSource = std::function<std::string(int row)>;

// Over the ruler's client rectangle, for the range min..max.
RulerPlan PlanHorizontalRuler(const ui::Rect& client, double min, double max,
                              const std::string& unit, const GraphMetrics& metrics,
                              const TimeLabelSource& timeLabel);
RulerPlan PlanVerticalRuler(const ui::Rect& client, double min, double max, const std::string& unit,
                            const GraphMetrics& metrics);

}  // namespace graph
