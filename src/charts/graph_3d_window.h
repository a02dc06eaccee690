#pragma once
// The window of a 3-D graph: it keeps the picture of the graph and paints it again only when
// the graph or the window's size changed since.

#include <QImage>
#include <QWidget>

namespace charts {

class CGraph3D;

class Graph3DWindow : public QWidget {
public:
    // The graph must outlive the window.
    Graph3DWindow(const CGraph3D& graph, QWidget* parent);

    // The graph changed: the window shows it at the next paint.
    void Refresh() { update(); }
    // The picture as it stands now, drawn again when stale.
    const QImage& Picture();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const CGraph3D& m_graph;
    QImage m_picture;
    unsigned long long m_version = 0;
};

}  // namespace charts
