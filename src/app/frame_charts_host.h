#pragma once
// What the charts need of the application, as the running program has it: the frame's mode
// and contour, the view's switches, charts and graph windows, the current setup values.

#include "charts/charts_host.h"
#include "charts/xy_chart.h"

class CMainFrame;

class FrameChartsHost : public charts::ChartsHost {
public:
    explicit FrameChartsHost(CMainFrame& frame) : m_frame(frame) {}

    charts::BarChartContext BarChart() const override;
    void OnIsophoneBandChosen(int band) override;

    std::array<std::string, charts::kLegendChannels> ChannelParameters() const override;
    std::array<COLORREF, charts::kLegendChannels> ChannelColours() const override;
    std::string ModelText() const override;
    void ReloadSelectedSegment() override;
    void ClearChannelCurve(int channel) override;
    QRect ReportListScreenRect() const override;

    charts::CChart3d& Chart3D() override;
    std::string SpectrumKind() const override;

private:
    CMainFrame& m_frame;
    // Stands in for the view's 3-D chart while there is no view.
    charts::CChart3d m_noViewChart;
};
