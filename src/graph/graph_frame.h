#pragma once
// The frame inside a graph window and the container that fills it: the container lays out
// the vertical ruler at the left, the horizontal ruler below and the panel beside and above
// them. The frame hands each change of the graph to the panel first, then to the parts that
// follow the graph beside it (the point list), and docks such bars at its sides.

#include <QMainWindow>
#include <vector>

#include "graph/graph_base.h"
#include "graph/graph_change.h"

namespace graph {

class CGraphPanel;
class CGraphWnd;
class CPointViewBar;
class FHRuler;
class FVRuler;

class CGraphContainer : public QWidget {
public:
    static constexpr int kId = 11001;
    static constexpr double kInitialMinimum = 0.0;
    static constexpr double kInitialMaximum = 10.0;

    CGraphContainer(CGraphWnd& graph, QWidget* parent);

    CGraphPanel& Panel() const { return *m_panel; }
    FVRuler& VerticalRuler() const { return *m_vertical; }
    FHRuler& HorizontalRuler() const { return *m_horizontal; }
    // Places the rulers and the panel over the container's present size.
    void LayOut();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    FVRuler* m_vertical;
    FHRuler* m_horizontal;
    CGraphPanel* m_panel;
};

class CGraphFrame : public QMainWindow, public CGraphBaseClass, public GraphFrameLink {
public:
    static constexpr int kPointListId = 11003;
    static constexpr int kPointListWidth = 150;
    static constexpr int kPointListHeight = 200;

    // The option word is kept as the graph window gives it.
    CGraphFrame(CGraphWnd& graph, unsigned option, QWidget* parent);
    ~CGraphFrame() override;

    CGraphContainer& Container() const { return *m_container; }
    // The "Points" bar, docked at the right and hidden until asked for.
    CPointViewBar& PointList() const { return *m_pointList; }
    unsigned Option() const { return m_option; }

    // A part that follows the graph's changes after the panel; not owned.
    void AddChangeReceiver(GraphChangeReceiver* receiver);
    void RemoveChangeReceiver(GraphChangeReceiver* receiver);

    // "Points" (4107) toggles the point list.
    void AddContextMenuItems(QMenu& menu) override;
    void OnMenuCommand(int id) override;

    // GraphFrameLink
    int NotifyGraph(const GraphChange& change) override;
    // Flags 1 and 2 show and hide the point list; flag 4 freezes and flag 8 resumes the parts
    // after the panel (codes 12 and 11).
    void ShowBars(unsigned flags) override;
    unsigned PanelOptions() const override;
    bool PanelRange(VisibleRange& range) const override;
    void FitPanel(int command) override;

private:
    CGraphWnd& m_graph;
    unsigned m_option;
    CGraphContainer* m_container;
    CPointViewBar* m_pointList;
    std::vector<GraphChangeReceiver*> m_receivers;
};

}  // namespace graph
