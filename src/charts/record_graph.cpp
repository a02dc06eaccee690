#include "charts/record_graph.h"

#include <algorithm>
#include <cmath>

#include "graph/graph_change.h"
#include "graph/graph_panel.h"
#include "graph/graph_props.h"
#include "graph/graph_wnd.h"
#include "graph/view_range.h"
#include "platform/text.h"

namespace charts {

namespace {

constexpr unsigned kDrawNow = 1;
constexpr unsigned kDrawLater = 0;

int Series(std::span<const int> series, int index) {
    return index < static_cast<int>(series.size()) ? series[index] : -1;
}

// The point at `index` of the series; one whose index lies past the series' end (records that
// came while the series was empty) is appended instead of lost.
void AddAt(graph::CGraphWnd& graph, int series, int index, double y, unsigned notify) {
    const graph::CGraphProps* props = graph.GetGraph(series);
    if (!props)
        return;
    graph.AddPoint(series, index, y, notify, index <= props->GetCount() ? index : -1);
}

}  // namespace

double GraphLevel(std::uint16_t word) {
    // Tenths as dB carry one decimal exactly as "%.1f" would print them.
    return word == records::kNoValue ? 0.0 : word / 10.0;
}

std::vector<int> SetUpRecordGraph(graph::CGraphWnd& graph, records::RecordKind kind,
                                  bool pointMarks, bool axis) {
    using Panel = graph::CGraphPanel;
    graph.SetAxisTexts("Time", "", 0, graph::kXAxis, kDrawNow);
    graph.SetAxisTexts("Value", "dB", 2, graph::kYAxis, kDrawNow);
    unsigned options = graph.GetPanelValue() | Panel::kReadout;
    options = pointMarks ? options | Panel::kPointMarks : options & ~Panel::kPointMarks;
    options = axis ? options | Panel::kAxis : options & ~Panel::kAxis;
    graph.UpdateVisibleRange(options, kDrawNow);

    std::vector<int> series;
    if (kind->shape == records::RecordShape::Profile) {
        for (COLORREF colour : kProfileSeriesColours)
            series.push_back(graph.AddGraph(colour, "", kDrawNow, true, false));
    } else {
        for (int i = 0; i < static_cast<int>(kLevelSeriesColours.size()); ++i)
            series.push_back(graph.AddGraph(kLevelSeriesColours[i],
                                            i == kUnderRangeIndex ? kUnderRangeSeries : "",
                                            kDrawNow, true, false));
    }
    return series;
}

void FillDataGraph(graph::CGraphWnd& graph, const acquisition::DataBufferView& records,
                   long long count, std::span<const int> series, const LevelGraphOptions& options) {
    const long long last = std::max(0LL, std::min(count, records.SampleCount()));
    const int channels = std::min(options.channels, kLevelChannels);
    const long long atOnce = std::min<long long>(last, kRecordsDrawnAtOnce);
    for (int p = 0; p < channels; ++p)
        if (options.shown[p])
            graph.ReservePoints(Series(series, p), static_cast<int>(last));
    if (options.urLine)
        graph.ReservePoints(Series(series, kUnderRangeIndex), static_cast<int>(last));

    for (long long r = 0; r < atOnce; ++r) {
        const int index = static_cast<int>(r);
        for (int p = 0; p < channels; ++p) {
            if (!options.shown[p])
                continue;
            const auto word = records.Value(r, p);
            if (!word)
                continue;
            AddAt(graph, Series(series, p), index, GraphLevel(*word), kDrawNow);
        }
        if (options.urLine)
            AddAt(graph, Series(series, kUnderRangeIndex), index, options.urLevel, kDrawNow);
    }
    // The other records in one run per series; their x grows, so each run goes at the end of
    // its (ordered) series and is told once.
    std::vector<graph::GraphPoint> run;
    run.reserve(static_cast<size_t>(last - atOnce));
    for (int p = 0; p < channels; ++p) {
        if (!options.shown[p])
            continue;
        run.clear();
        for (long long r = atOnce; r < last; ++r)
            if (const auto word = records.Value(r, p))
                run.push_back({static_cast<double>(r), GraphLevel(*word)});
        graph.AddPoints(Series(series, p), run, kDrawLater);
    }
    if (options.urLine) {
        run.clear();
        for (long long r = atOnce; r < last; ++r)
            run.push_back({static_cast<double>(r), static_cast<double>(options.urLevel)});
        graph.AddPoints(Series(series, kUnderRangeIndex), run, kDrawNow);
    }
    graph.FitPanel(graph::kFitPage);
}

void FillProfileGraph(graph::CGraphWnd& graph, const acquisition::DataBufferView& records,
                      long long count, std::span<const int> series) {
    const long long last = std::max(0LL, std::min(count, records.SampleCount()));
    const long long perRecord = std::max(1, records.Layout().SamplesPerRecord());
    const long long atOnce = std::min(last, kRecordsDrawnAtOnce * perRecord);
    const int target = Series(series, 0);
    graph.ReservePoints(target, static_cast<int>(last));
    for (long long s = 0; s < atOnce; ++s)
        if (const auto word = records.Value(s, 0))
            AddAt(graph, target, static_cast<int>(s), GraphLevel(*word), kDrawNow);
    std::vector<graph::GraphPoint> run;
    run.reserve(static_cast<size_t>(last - atOnce));
    for (long long s = atOnce; s < last; ++s)
        if (const auto word = records.Value(s, 0))
            run.push_back({static_cast<double>(s), GraphLevel(*word)});
    graph.AddPoints(target, run, kDrawLater);
    graph.FitPanel(graph::kFitPage);
}

void WidenLevelBounds(graph::CGraphWnd& graph) {
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    if (!graph.GetBoundRect(xMin, xMax, yMin, yMax))
        return;
    double span = yMax - yMin;
    if (span == 0)
        span = yMax;
    span = std::abs(span);
    graph.ApplyBoundsToGraphs(xMin, xMax, yMin - span / 10, yMax + span / 10);
}

void AddLiveRecord(graph::CGraphWnd& graph, int record, std::span<const std::string> levels,
                   std::span<const int> series, const LevelGraphOptions& options,
                   bool liveRepaint) {
    const int channels =
        std::min({options.channels, kLevelChannels, static_cast<int>(levels.size())});
    for (int p = 0; p < channels; ++p) {
        const unsigned notify = liveRepaint && options.shown[p] ? kDrawNow : kDrawLater;
        AddAt(graph, Series(series, p), record, platform::Atof(levels[p]), notify);
    }
    if (options.urLine)
        AddAt(graph, Series(series, kUnderRangeIndex), record, options.urLevel, kDrawNow);
}

void AddLiveGraphPoint(graph::CGraphWnd& graph, int sample, const std::string& level,
                       std::span<const int> series, bool liveRepaint) {
    AddAt(graph, Series(series, 0), sample, platform::Atof(level),
          liveRepaint ? kDrawNow : kDrawLater);
}

}  // namespace charts
