#pragma once
// The two rulers beside a graph's panel: FVRuler at its left with the values, FHRuler below it
// with the time texts of the rows. Each keeps the range the panel shows, the unit it writes at
// its far end and a tip naming its axis; the layout is ruler_layout's.

#include <QWidget>
#include <string>

#include "graph/ruler_layout.h"

namespace graph {

class FRuler : public QWidget {
public:
    FRuler(const GraphMetrics& metrics, QWidget* parent);

    void SetText(const std::string& unit, const std::string& tip);
    const std::string& Unit() const { return m_unit; }
    const std::string& Tip() const { return m_tip; }
    // With redraw the ruler is repainted at once.
    void SetRange(double minimum, double maximum, bool redraw);
    double Minimum() const { return m_minimum; }
    double Maximum() const { return m_maximum; }

    virtual int GetThickness() const { return 1; }
    // The number of ticks that fit over the rectangle.
    virtual int CalcLayout(const ui::Rect& /*rect*/) const { return 0; }
    virtual void Draw(QPainter& /*painter*/, const ui::Rect& /*rect*/) const {}

protected:
    void paintEvent(QPaintEvent* event) override;
    // Draws a plan's lines and texts; vertical texts read upwards.
    void DrawPlan(QPainter& painter, const RulerPlan& plan, bool vertical) const;

    const GraphMetrics& m_metrics;

private:
    double m_minimum = 1.0;
    double m_maximum = 100.0;
    std::string m_unit;
    std::string m_tip;
};

class FHRuler : public FRuler {
public:
    FHRuler(const GraphMetrics& metrics, TimeLabelSource timeLabel, QWidget* parent);

    int GetThickness() const override;
    int CalcLayout(const ui::Rect& rect) const override;
    void Draw(QPainter& painter, const ui::Rect& rect) const override;

private:
    TimeLabelSource m_timeLabel;
};

class FVRuler : public FRuler {
public:
    FVRuler(const GraphMetrics& metrics, QWidget* parent);

    int GetThickness() const override;
    int CalcLayout(const ui::Rect& rect) const override;
    void Draw(QPainter& painter, const ui::Rect& rect) const override;
};

}  // namespace graph
