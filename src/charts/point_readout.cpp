#include "charts/point_readout.h"

#include <cmath>

#include "platform/text.h"

namespace charts {

namespace {

// Within a span of 20 dB the pointer must lie within a tenth of a dB of a level.
constexpr double kNarrowSpan = 20.0;
constexpr double kNarrowTolerance = 0.1;
constexpr double kWideTolerance = 1.0;

}  // namespace

PointReadout FormatPointReadout(int x, int y, const std::string& coordinates,
                                const PointReadoutSource& source) {
    PointReadout readout;
    if (x < 0 || y < 0)
        return readout;
    readout.text = "-";
    const size_t equals = coordinates.find('=');
    const size_t comma = coordinates.find(',');
    if (equals == 0 || equals == std::string::npos || comma == 0 || comma == std::string::npos)
        return readout;
    // The record, without the blank that the time axis' empty unit leaves before the comma.
    const long long rowLength = static_cast<long long>(comma) - static_cast<long long>(equals) - 2;
    const int row = platform::Atoi(
        rowLength > 0 ? coordinates.substr(equals + 1, static_cast<size_t>(rowLength)) : "");
    const double level = platform::Atof(platform::Mid(coordinates, static_cast<int>(comma) + 4));
    const auto cell = [&](int column) {
        return source.cell ? source.cell(row, column) : std::string();
    };
    const std::string time = cell(0);

    const auto shape = source.kind ? std::optional((*source.kind)->shape) : std::nullopt;
    if (shape == records::RecordShape::Levels) {
        readout.timeLine = "Time: " + time;
        if (row < 0) {
            readout.text.clear();
            return readout;
        }
        const double tolerance =
            source.visibleSpan <= kNarrowSpan ? kNarrowTolerance : kWideTolerance;
        std::optional<std::string> match;
        for (int p = 0; p < kLevelChannels; ++p) {
            if (!source.shown[p]) {
                readout.channelLines[p] = source.channelNames[p] + ": ---";
                continue;
            }
            const std::string text = cell(p + 1);
            readout.channelLines[p] = source.channelNames[p] + ": " + text + " dB";
            const double channelLevel = platform::Atof(text);
            if (std::abs(channelLevel - level) < tolerance)
                match = platform::Format("%s#%.1f#$%d", time.c_str(), channelLevel, p);
        }
        readout.text = match.value_or(coordinates);
        return readout;
    }
    if (shape == records::RecordShape::Profile) {
        readout.text = time + "#" + cell(1);
        return readout;
    }
    readout.text = coordinates;
    return readout;
}

}  // namespace charts
