#pragma once
// A program around a graph for the tests: its context and tables are plain fields, and it
// counts what the graph's commands asked of it.

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "graph/graph_host.h"
#include "graph/graph_marks.h"

namespace graphtest {

class TestHost : public graph::GraphHost {
public:
    std::string TimeLabel(int row) override {
        if (row < 0 || row >= kRows)
            return {};
        char text[16];
        std::snprintf(text, sizeof text, "10:%02d:%02d", row / 60 % 60, row % 60);
        return text;
    }
    graph::GraphContext Context() const override {
        ++renders;
        return context;
    }
    graph::GraphMarks* Marks() override { return &marks; }
    std::vector<int> RowsWithStatus(int column, const std::string& text, int first,
                                    int last) override {
        statusColumn = column;
        std::vector<int> rows;
        for (const auto& [row, cell] : status)
            if (row >= first && row <= last && cell == text)
                rows.push_back(row);
        return rows;
    }
    std::vector<int> ReportIntervalSamples(int first, int last) override {
        std::vector<int> samples;
        for (int sample : intervals)
            if (sample >= first && sample <= last)
                samples.push_back(sample);
        return samples;
    }
    std::string FormatPointReadout(int, int, const std::string& coordinates) override {
        return readout.empty() ? coordinates : readout;
    }
    bool GetViewSwitch(graph::ViewSwitch which) const override {
        const auto found = switches.find(which);
        return found != switches.end() && found->second;
    }
    void SetViewSwitch(graph::ViewSwitch which, bool on) override { switches[which] = on; }
    void ZoomedIn() override { ++zoomDepth; }
    void ZoomReset() override { zoomDepth = 0; }
    void RefreshSegmentGraph() override { ++refreshed; }
    void OnLabelAdded(bool showAudioLabels) override {
        ++labelsAdded;
        audioShown = showAudioLabels;
    }
    void ClearLabels() override { ++labelClears; }
    void OnPanelDoubleClick() override { ++doubleClicks; }

    static constexpr int kRows = 1000;

    graph::GraphContext context;
    graph::GraphMarks marks;
    std::map<int, std::string> status;
    std::vector<int> intervals;
    std::string readout;
    std::map<graph::ViewSwitch, bool> switches;
    mutable int renders = 0;
    mutable int statusColumn = -1;
    int zoomDepth = 0;
    int refreshed = 0;
    int labelsAdded = 0;
    bool audioShown = false;
    int labelClears = 0;
    int doubleClicks = 0;
};

}  // namespace graphtest
