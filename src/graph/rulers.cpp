#include "graph/rulers.h"

#include <QFontMetrics>
#include <QPainter>

#include "platform/qt_text.h"

namespace graph {

namespace {

// The frame of a ruler: its right and bottom edges fall just outside it, as its layout
// expects.
void DrawFrame(QPainter& painter, const ui::Rect& rect) {
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawRect(QRect(rect.left, rect.top, rect.Width(), rect.Height()));
}

}  // namespace

FRuler::FRuler(const GraphMetrics& metrics, QWidget* parent) : QWidget(parent), m_metrics(metrics) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void FRuler::SetText(const std::string& unit, const std::string& tip) {
    m_unit = unit;
    m_tip = tip;
    setToolTip(platform::ToQt(tip));
}

void FRuler::SetRange(double minimum, double maximum, bool redraw) {
    m_minimum = minimum;
    m_maximum = maximum;
    if (redraw)
        repaint();
}

void FRuler::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Draw(painter, {0, 0, width(), height()});
}

void FRuler::DrawPlan(QPainter& painter, const RulerPlan& plan, bool vertical) const {
    painter.setPen(Qt::black);
    for (const RulerLine& line : plan.lines)
        painter.drawLine(line.x0, line.y0, line.x1, line.y1);

    const QFont font = RulerFont(plan.fontHeight);
    painter.setFont(font);
    const int ascent = QFontMetrics(font).ascent();
    auto text = [&](const RulerText& item) {
        if (item.text.empty())
            return;
        if (!vertical) {
            painter.drawText(item.x, item.y + ascent, platform::ToQt(item.text));
            return;
        }
        painter.save();
        painter.translate(item.x, item.y);
        painter.rotate(-90);
        painter.drawText(0, ascent, platform::ToQt(item.text));
        painter.restore();
    };
    for (const RulerText& label : plan.labels)
        text(label);
    text(plan.unit);
}

// --- horizontal

FHRuler::FHRuler(const GraphMetrics& metrics, TimeLabelSource timeLabel, QWidget* parent)
    : FRuler(metrics, parent), m_timeLabel(std::move(timeLabel)) {}

int FHRuler::GetThickness() const {
    return HorizontalRulerSizes(m_metrics).thickness;
}

int FHRuler::CalcLayout(const ui::Rect& rect) const {
    return HorizontalTickCount(rect, m_metrics);
}

void FHRuler::Draw(QPainter& painter, const ui::Rect& rect) const {
    DrawFrame(painter, rect);
    DrawPlan(painter,
             PlanHorizontalRuler(rect, Minimum(), Maximum(), Unit(), m_metrics, m_timeLabel),
             false);
}

// --- vertical

FVRuler::FVRuler(const GraphMetrics& metrics, QWidget* parent) : FRuler(metrics, parent) {}

int FVRuler::GetThickness() const {
    return VerticalRulerSizes(m_metrics).thickness;
}

int FVRuler::CalcLayout(const ui::Rect& rect) const {
    return VerticalTickCount(rect, m_metrics);
}

void FVRuler::Draw(QPainter& painter, const ui::Rect& rect) const {
    DrawFrame(painter, rect);
    DrawPlan(painter, PlanVerticalRuler(rect, Minimum(), Maximum(), Unit(), m_metrics), true);
}

}  // namespace graph
