#pragma once
// The graph of a recording's levels against record number, as the main view shows a loaded
// page: its axes, options and series, its fill from the records of the data buffer, the
// widened level range, and the live twins that add the values of arriving records to the
// live graph. A fill walks the records without handing control to anything else, so nothing
// can delete the graph or load another page into the buffer while it runs.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "acquisition/data_buffer.h"
#include "platform/win_types.h"

namespace graph {
class CGraphWnd;
}

namespace charts {

constexpr int kLevelChannels = 5;
// The points of the first records are drawn as they come; the rest wait for the page fit.
constexpr int kRecordsDrawnAtOnce = 10;
// The series of a sound-level recording: the five channels, then the "UR" line.
constexpr std::array<COLORREF, kLevelChannels + 1> kLevelSeriesColours = {
    0xFF0000, 0x0000FF, 0x00FF00, 0x000000, 0xFFFF00, 0xFF00FF};
constexpr const char* kUnderRangeSeries = "UR";
constexpr int kUnderRangeIndex = kLevelChannels;
constexpr std::array<COLORREF, 3> kProfileSeriesColours = {0xFF0000, 0x0000FF, 0x00FF00};

// What decides the points of a level graph besides the records.
struct LevelGraphOptions {
    std::array<bool, kLevelChannels> shown{true, true, true, true, true};  // the legend's boxes
    int channels = kLevelChannels;  // 3 on a meter that measures three channels
    bool urLine = false;            // the view's "UR" line and its level in dB
    int urLevel = 0;
};

// A stored level as the graph shows it: tenths of dB as dB, the missing value as 0 dB.
double GraphLevel(std::uint16_t word);

// The axes ("Time" and "Value" in dB), the panel options (read-out on, point marks and grid as
// the view's switches say) and the series of a recording of `kind` (a profile's, or the
// channels' and "UR"); returns the series' indices.
std::vector<int> SetUpRecordGraph(graph::CGraphWnd& graph, records::RecordKind kind,
                                  bool pointMarks, bool axis);
// The first `count` records' levels (at most the records the view holds), then the page fit.
void FillDataGraph(graph::CGraphWnd& graph, const acquisition::DataBufferView& records,
                   long long count, std::span<const int> series, const LevelGraphOptions& options);
// The first `count` profile samples into the first series, then the page fit.
void FillProfileGraph(graph::CGraphWnd& graph, const acquisition::DataBufferView& records,
                      long long count, std::span<const int> series);
// The level range widened by a tenth of its span each way (of its top when the span is 0).
void WidenLevelBounds(graph::CGraphWnd& graph);

// One live record's five level texts at `record` of the live graph; a point is drawn at once
// only while the view repaints the live graph and its channel is shown.
void AddLiveRecord(graph::CGraphWnd& graph, int record, std::span<const std::string> levels,
                   std::span<const int> series, const LevelGraphOptions& options, bool liveRepaint);
// One live profile sample into the first series.
void AddLiveGraphPoint(graph::CGraphWnd& graph, int sample, const std::string& level,
                       std::span<const int> series, bool liveRepaint);

}  // namespace charts
