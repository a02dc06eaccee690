#pragma once
// What the charts need of the application: the state the band charts paint from, the graph
// behind the legend, and the main view's 3-D chart and report list.

#include <QRect>
#include <array>
#include <string>

#include "platform/win_types.h"
#include "records/record_kind.h"

namespace charts {

class CChart3d;
class IsophoneContour;

// What a band chart reads of the program each time it paints or answers the pointer.
struct BarChartContext {
    std::optional<records::RecordKind> liveKind;  // the frame's channel mode
    int edition = 0;                              // the view's equal-loudness edition, 0 none
    const IsophoneContour* contour = nullptr;     // the frame's contour
    std::string model;                            // the instrument model text
    std::string spectrumKind;                     // of the loaded record: "OCTAVE", "TOCTAVE", ...
    bool selectedRecordInGraphLabel = false;      // within a graph label's records
    bool urLine = false;                          // the view's "UR" line switch and level (dB)
    int urLevel = 0;
};

constexpr int kLegendChannels = 5;

class ChartsHost {
public:
    virtual ~ChartsHost() = default;

    // --- the band charts
    virtual BarChartContext BarChart() const = 0;
    // A click on a third-octave bar chose the band for the equal-loudness contour: it is
    // stored and the graph windows are redrawn for the selected record.
    virtual void OnIsophoneBandChosen(int band) = 0;

    // --- the graph legend
    virtual std::array<COLORREF, kLegendChannels> ChannelColours() const = 0;
    // Loads the selected segment of the current data file again.
    virtual void ReloadSelectedSegment() = 0;
    // Empties the channel's curve in the view's second graph window, when there is one.
    virtual void ClearChannelCurve(int channel) = 0;
    // The main view's report list in global screen coordinates; empty without a view window.
    virtual QRect ReportListScreenRect() const = 0;

    // --- the 3-D view settings
    virtual CChart3d& Chart3D() = 0;
};

}  // namespace charts
