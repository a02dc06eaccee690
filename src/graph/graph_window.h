#pragma once
// The widget of a CGraphWnd: the frame over its whole area, resized with it.

#include <QWidget>

#include "graph/graph_base.h"

namespace graph {

class CGraphFrame;
class CGraphWnd;

class GraphWindow : public QWidget, public CGraphBaseClass {
public:
    GraphWindow(CGraphWnd& graph, unsigned frameOption, QWidget* parent);

    CGraphWnd& Graph() const { return m_graph; }
    CGraphFrame& Frame() const { return *m_frame; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    CGraphWnd& m_graph;
    CGraphFrame* m_frame;
};

}  // namespace graph
