#pragma once
// The window of an x/y or 3-D chart: it tells the chart its size and has it paint itself.

#include <QWidget>

namespace charts {

class CChart;

class XYChartWindow : public QWidget {
public:
    // The chart must outlive the window.
    XYChartWindow(CChart& chart, QWidget* parent);
    ~XYChartWindow() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    CChart& m_chart;
};

}  // namespace charts
