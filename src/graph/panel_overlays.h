#pragma once
// Where the panel draws what is marked on the data, over its curves: the markers A and B, the
// text labels and the event spans. Geometry only; the panel paints it.

#include <optional>
#include <string>

#include "graph/axis_scale.h"
#include "graph/curve_geometry.h"
#include "graph/graph_marks.h"
#include "graph/points_collection.h"
#include "ui/geometry.h"

namespace graph {

// The whole pixel of a value, kept near the panel however far outside it the value lies.
int PixelOf(const CAxisScale& scale, double value);

// The index of the point whose x is exactly `x`, or -1.
int FindPointAtX(const CPointsCollection& points, double x);

// A marker stands on the point whose x is its sample number plus one. On channels' levels it
// belongs to the series whose position among the present series equals the marker's channel;
// otherwise to every series but the "UR" series in slot 5.
bool MarkerBelongsTo(const Marker& marker, bool channelLevels, int position, int slot);

struct LabelPlan {
    PixelPoint anchor;  // the labelled point, with a point mark
    PixelLine leader;   // up and to the right from the point
    PixelLine underline;
    PixelPoint textAt;  // top left of the text
    std::string text;
};

// A label placed by its x and y texts.
LabelPlan PlanLabel(const GraphLabel& label, const CAxisScale& x, const CAxisScale& y);

struct EventPlan {
    std::vector<PixelLine> lines;
    int textCentre = 0;  // x of the centre of "Ev.%d"
    int textTop = 0;
};

// The part of an event that lies on the selected segment, with `s` and `e` the pixels of its
// start and end samples; nothing when the event does not touch that segment.
std::optional<EventPlan> PlanEvent(const EventSpan& span, int selectedSegment, int s, int e,
                                   const ui::Rect& rect);

}  // namespace graph
