#pragma once
// What the charts need of the application, as the running program has it: the meter mode and
// the contour, the view's switches, charts and graph windows, the current setup values.

#include <functional>
#include <string>

#include "charts/charts_host.h"
#include "charts/xy_chart.h"

class CInstrStatus;
class MeterMode;
class ViewLookup;
namespace acquisition {
class Recording;
}

class FrameChartsHost : public charts::ChartsHost {
public:
    // What the host reads, none of it owned.
    struct Uses {
        // The live acquisition's kind.
        const MeterMode& mode;
        // The chosen band and the contour the band charts draw.
        charts::IsophoneContour& isophone;
        // The meter's current setup: its model.
        const CInstrStatus& setup;
        // The record kind of the loaded data.
        const std::string& spectrumKind;
        const ViewLookup& views;
        // The recording whose selected segment a ticked legend box loads again.
        const acquisition::Recording& recording;
        // Loads segment `segment` of the current data file again.
        std::function<void(int segment)> openSegment;
    };

    explicit FrameChartsHost(const Uses& uses) : m_uses(uses) {}

    charts::BarChartContext BarChart() const override;
    void OnIsophoneBandChosen(int band) override;

    std::array<COLORREF, charts::kLegendChannels> ChannelColours() const override;
    void ReloadSelectedSegment() override;
    void ClearChannelCurve(int channel) override;
    QRect ReportListScreenRect() const override;

    charts::CChart3d& Chart3D() override;

private:
    Uses m_uses;
    // Stands in for the view's 3-D chart while there is no view.
    charts::CChart3d m_noViewChart;
};
