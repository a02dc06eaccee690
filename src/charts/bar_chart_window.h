#pragma once
// The window of a band chart: it paints the chart off screen (ui::CMemDC), tells it its size,
// hands it the pointer and shows the tip it builds.

#include <QPainter>
#include <QWidget>

#include "charts/bar_chart.h"

namespace charts {

// The whole picture of the chart over its client area, as the program's state has it now.
void PaintBarChart(QPainter& painter, const CChartWnd& chart);

class BarChartWindow : public QWidget {
public:
    // The chart must outlive the window or be told to forget it (Detach).
    BarChartWindow(CChartWnd& chart, QWidget* parent);
    ~BarChartWindow() override;
    void Detach();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void ShowTip(const QPoint& at);

    CChartWnd* m_chart;
};

}  // namespace charts
