#include "charts/graph_3d_window.h"

#include <QPainter>

#include "charts/graph_3d.h"

namespace charts {

Graph3DWindow::Graph3DWindow(const CGraph3D& graph, QWidget* parent)
    : QWidget(parent), m_graph(graph) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(240, 180);
}

const QImage& Graph3DWindow::Picture() {
    if (m_picture.size() != size() || m_version != m_graph.Version()) {
        m_picture = QImage(size(), QImage::Format_RGB32);
        QPainter painter(&m_picture);
        painter.setRenderHint(QPainter::Antialiasing);
        m_graph.Paint(painter, m_picture.rect());
        m_version = m_graph.Version();
    }
    return m_picture;
}

void Graph3DWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, Picture());
}

}  // namespace charts
