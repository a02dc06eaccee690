#include "charts/xy_chart_window.h"

#include <QPainter>
#include <QResizeEvent>

#include "charts/xy_chart.h"

namespace charts {

XYChartWindow::XYChartWindow(CChart& chart, QWidget* parent) : QWidget(parent), m_chart(chart) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_chart.SetClientRect({0, 0, width(), height()});
    m_chart.SetRedrawHandler([this] { update(); });
}

XYChartWindow::~XYChartWindow() {
    m_chart.SetRedrawHandler(nullptr);
}

void XYChartWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    m_chart.Paint(painter);
}

void XYChartWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_chart.SetClientRect({0, 0, event->size().width(), event->size().height()});
}

}  // namespace charts
