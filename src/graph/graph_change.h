#pragma once
// The graph change notification: what a graph window tells the parts of its frame (the panel,
// then the point list) after each change, synchronously, so that they have reacted when the
// changing call returns. Every change carries the caller's notify word: non-zero asks the
// panel to show the change at once, 0 lets a caller that adds many points repaint once.

#include "graph/view_range.h"

namespace graph {

class CGraphWnd;

enum GraphChangeCode : int {
    kPointAdded = 1,
    kPointRemoved = 2,
    kPointChanged = 3,
    kSeriesAdded = 4,
    kSeriesRemoved = 5,
    kPointsCleared = 6,
    kRangeSet = 8,  // range and option word
    kAxisChanged = 9,
    kRedraw = 10,
    kResumePointList = 11,
    kFreezePointList = 12,
    // Beside the codes of one point: a run of points appended to a series in one call
    // (CGraphWnd::AddPoints), told once; `point` is the first one's index, `count` how many.
    kPointsAppended = 13,
};

// Redraw flags (code 10).
enum RedrawFlags : unsigned {
    kRedrawCurves = 1,
    kRedrawRulers = 4,
};

// Frame bar flags (CGraphWnd::ForwardToFrame).
enum BarFlags : unsigned {
    kShowPointList = 1,
    kHidePointList = 2,
    kFreezeList = 4,
    kResumeList = 8,
};

// Axis numbers: 1 is the x (time) axis, any other value the y (level) axis.
constexpr int kYAxis = 0;
constexpr int kXAxis = 1;

struct GraphChange {
    GraphChangeCode code = kRedraw;
    int series = -1;  // codes 1 to 6 and 13; -1 in code 6: every series
    int point = -1;   // codes 1 to 3 and 13
    int count = 0;    // code 13
    unsigned notify = 0;
    VisibleRange range;    // code 8
    unsigned options = 0;  // code 8: the panel's option word
    int axis = kYAxis;     // code 9
    unsigned flags = 0;    // codes 10 to 12
    CGraphWnd* graph = nullptr;

    static GraphChange Points(GraphChangeCode code, int series, int point, unsigned notify) {
        GraphChange change;
        change.code = code;
        change.series = series;
        change.point = point;
        change.notify = notify;
        return change;
    }
    static GraphChange Appended(int series, int first, int count, unsigned notify) {
        GraphChange change = Points(kPointsAppended, series, first, notify);
        change.count = count;
        return change;
    }
    static GraphChange Range(const VisibleRange& range, unsigned options, unsigned notify) {
        GraphChange change;
        change.code = kRangeSet;
        change.range = range;
        change.options = options;
        change.notify = notify;
        return change;
    }
    static GraphChange Axis(int axis, unsigned notify) {
        GraphChange change;
        change.code = kAxisChanged;
        change.axis = axis;
        change.notify = notify;
        return change;
    }
    static GraphChange Flags(GraphChangeCode code, unsigned flags) {
        GraphChange change;
        change.code = code;
        change.flags = flags;
        return change;
    }
};

// A part of a graph's frame that follows its changes.
class GraphChangeReceiver {
public:
    virtual ~GraphChangeReceiver() = default;
    virtual int OnGraphChange(const GraphChange& change) = 0;
};

// What a graph window asks of its frame once the frame exists.
class GraphFrameLink {
public:
    virtual ~GraphFrameLink() = default;
    // To the panel first, then to the point list; the last receiver's answer.
    virtual int NotifyGraph(const GraphChange& change) = 0;
    virtual void ShowBars(unsigned flags) = 0;
    // The panel's option word and visible range; 0 and nothing without a panel.
    virtual unsigned PanelOptions() const = 0;
    virtual bool PanelRange(VisibleRange& range) const = 0;
    // The panel's fit commands (FitCommand).
    virtual void FitPanel(int command) = 0;
};

}  // namespace graph
