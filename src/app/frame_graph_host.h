#pragma once
// What the graph windows of the main view need of the application: the time texts of the list
// that shows the graph's recording.

#include "graph/graph_host.h"

class CKX9MonitorView;

class FrameGraphHost : public graph::GraphHost {
public:
    explicit FrameGraphHost(const CKX9MonitorView& view) : m_view(view) {}

    std::string TimeLabel(int row) override;

private:
    const CKX9MonitorView& m_view;
};
