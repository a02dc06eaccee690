#pragma once
// What the graph panel of a recording reads out under the pointer: the record of the point,
// its time from the list that shows the recording and, on a level graph, the channel whose
// level lies within a tolerance of the pointer's, as the marker text "time#level#$channel";
// the graph legend's lines follow the record.

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "charts/record_graph.h"
#include "records/record_kind.h"

namespace charts {

struct PointReadoutSource {
    // The kind of the recording: a level graph reads out its channels, a profile graph its
    // one level; none and a spectrum read out the coordinates.
    std::optional<records::RecordKind> kind;
    // Cell (row, column) of the list that shows the recording: column 0 the time, then the
    // levels of channels 0 to 4 (the profile level in column 1).
    std::function<std::string(int row, int column)> cell;
    // The visible level span of the graph in use, in dB.
    double visibleSpan = 0;
    std::array<bool, kLevelChannels> shown{true, true, true, true, true};
    std::array<std::string, kLevelChannels> channelNames;
};

struct PointReadout {
    std::string text;
    // The legend's new lines, when the read-out gives them.
    std::optional<std::string> timeLine;
    std::array<std::optional<std::string>, kLevelChannels> channelLines;
};

// `coordinates` is the panel's "x=<record> , y=<level> dB".
PointReadout FormatPointReadout(int x, int y, const std::string& coordinates,
                                const PointReadoutSource& source);

}  // namespace charts
