#pragma once
// What the graph windows of the main view need of the application: the time texts and status
// cells of the list that shows the graph's recording, the state of that recording, the shared
// marker and label tables, and the view's display switches; the label file and window, and the
// legend, of what the view was handed. It also keeps the zoom depth and whether labels were
// added since the recording's labels were last saved.

#include "graph/graph_host.h"

class CKX9MonitorView;
struct ViewUses;

class FrameGraphHost : public graph::GraphHost {
public:
    // `uses` (not owned; nullptr: none) is the view's.
    FrameGraphHost(CKX9MonitorView& view, const ViewUses* uses) : m_view(view), m_uses(uses) {}

    std::string TimeLabel(int row) override;

    graph::GraphContext Context() const override;
    graph::GraphMarks* Marks() override;
    std::vector<int> RowsWithStatus(int column, const std::string& status, int first,
                                    int last) override;

    bool GetViewSwitch(graph::ViewSwitch which) const override;
    void SetViewSwitch(graph::ViewSwitch which, bool on) override;
    void ZoomedIn() override { ++m_nZoomDepth; }
    void ZoomReset() override { m_nZoomDepth = 0; }
    void RefreshSegmentGraph() override;
    std::vector<int> ReportIntervalSamples(int first, int last) override;
    void OnLabelAdded(bool showAudioLabels) override;
    void ClearLabels() override;
    void OnPanelDoubleClick() override;
    // The record under the pointer with its time and, on a level graph, the channel at the
    // pointer's level; the graph legend shows the record's levels.
    std::string FormatPointReadout(int x, int y, const std::string& coordinates) override;

    int ZoomDepth() const { return m_nZoomDepth; }
    bool LabelsChanged() const { return m_bLabelsChanged; }
    void SetLabelsChanged(bool changed) { m_bLabelsChanged = changed; }

private:
    int* Switch(graph::ViewSwitch which) const;

    CKX9MonitorView& m_view;
    const ViewUses* m_uses;
    int m_nZoomDepth = 0;
    bool m_bLabelsChanged = false;
};
