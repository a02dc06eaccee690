#pragma once
// A stand-in for the application behind the charts: the state they read is set by the test,
// and what they ask of the program is recorded.

#include <string>
#include <vector>

#include "acquisition/recording.h"
#include "charts/charts_host.h"
#include "charts/xy_chart.h"

namespace chartstest {

class FakeChartsHost : public charts::ChartsHost {
public:
    charts::BarChartContext BarChart() const override { return context; }
    void OnIsophoneBandChosen(int band) override { chosenBands.push_back(band); }
    std::array<COLORREF, charts::kLegendChannels> ChannelColours() const override {
        return {0xFF0000, 0x0000FF, 0x00FF00, 0x000000, 0xFFFF00};
    }
    void ReloadSelectedSegment() override { ++reloads; }
    void ClearChannelCurve(int channel) override { clearedChannels.push_back(channel); }
    QRect ReportListScreenRect() const override { return reportList; }
    charts::CChart3d& Chart3D() override { return chart3d; }

    charts::BarChartContext context;
    std::vector<int> chosenBands;
    // The recording whose selected segment the legend follows (-1: none selected).
    acquisition::Recording recording;
    int reloads = 0;
    std::vector<int> clearedChannels;
    QRect reportList;
    charts::CChart3d chart3d;
};

}  // namespace chartstest
