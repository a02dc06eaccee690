#pragma once
// The widget of a CGraphWnd: the frame over its whole area, resized with it.

#include <QWidget>
#include <memory>

#include "graph/graph_base.h"

namespace graph {

class CAxisPropertyPage;
class CGraphFrame;
class CGraphicsPropertyPage;
class CGraphWnd;

class GraphWindow : public QWidget, public CGraphBaseClass {
public:
    GraphWindow(CGraphWnd& graph, unsigned frameOption, QWidget* parent);
    ~GraphWindow() override;

    CGraphWnd& Graph() const { return m_graph; }
    CGraphFrame& Frame() const { return *m_frame; }

    // The "Axis" and "Graphs" pages of the "Properties" sheet; on OK the axes take the texts
    // and the series the presentation of their copies.
    void AddPropertyPages(GraphPropertySheet& sheet) override;
    void ApplyProperties(int result) override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    CGraphWnd& m_graph;
    CGraphFrame* m_frame;
    std::unique_ptr<CAxisPropertyPage> m_axisPage;
    std::unique_ptr<CGraphicsPropertyPage> m_graphsPage;
};

}  // namespace graph
