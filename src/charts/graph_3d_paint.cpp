// Painting the 3-D graph: the box's floor and back wall with their grid, the rows from the
// back to the front, each hiding what lies behind it (an emphasised row in its own place, in
// its own colour and width), then the axes with their captions. Rows that fall on one depth
// pixel are drawn once, so a picture of many thousand spectra costs what the window's depth
// can show.
#include <QFontMetrics>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "charts/graph_3d.h"
#include "charts/graph_3d_projection.h"
#include "platform/colors.h"
#include "platform/qt_text.h"

namespace charts {

namespace {

constexpr double kPenPerWidth = 0.5;  // a line width of 3.5 draws 1.75 pixels
constexpr int kMinCaptionPitch = 30;  // pixels between two band captions
constexpr COLORREF kGridColour = 0x808080;

QString Number(double value) {
    return QString::number(std::lround(value));
}

double Clamp(double v, double lo, double hi) {
    return std::min(std::max(v, lo), hi);
}

class Painter {
public:
    Painter(const CGraph3D& graph, QPainter& p, const QRect& area)
        : m_graph(graph),
          m_p(p),
          m_area(area),
          m_proj(area, graph.EffectiveRange()),
          m_r(m_proj.Range()) {
        const QColor back = platform::ToQColor(graph.BackColor());
        m_ink = back.lightness() < 128 ? QColor(Qt::white) : QColor(Qt::black);
    }

    void Run() {
        m_p.save();
        m_p.setClipRect(m_area);
        m_p.fillRect(m_area, platform::ToQColor(m_graph.BackColor()));
        QFont font = m_p.font();
        font.setPointSize(8);
        m_p.setFont(font);
        if (m_graph.ShowsGrid())
            DrawGrid();
        DrawRows();
        DrawAxes();
        m_p.restore();
    }

private:
    QPointF At(double x, double y, double z) const { return m_proj.Map(x, y, z); }

    void Line(const QPointF& a, const QPointF& b) { m_p.drawLine(a, b); }

    void DrawGrid() {
        m_p.setPen(QPen(platform::ToQColor(kGridColour), 0, Qt::DotLine));
        const int yTicks = std::max<int>(1, m_graph.YTicks());
        for (int k = 0; k <= yTicks; ++k) {
            const double y = m_r.yMin + (m_r.yMax - m_r.yMin) * k / yTicks;
            Line(At(m_r.xMin, y, m_r.zMax), At(m_r.xMax, y, m_r.zMax));
            Line(At(m_r.xMin, y, m_r.zMin), At(m_r.xMin, y, m_r.zMax));
        }
        const int zTicks = std::max<int>(1, m_graph.ZTicks());
        for (int k = 0; k <= zTicks; ++k) {
            const double z = m_r.zMin + (m_r.zMax - m_r.zMin) * k / zTicks;
            Line(At(m_r.xMin, m_r.yMin, z), At(m_r.xMax, m_r.yMin, z));
        }
        for (int x : XPositions())
            Line(At(x, m_r.yMin, m_r.zMin), At(x, m_r.yMin, m_r.zMax));
        m_p.setPen(QPen(platform::ToQColor(kGridColour), 0));
        Line(At(m_r.xMin, m_r.yMax, m_r.zMax), At(m_r.xMax, m_r.yMax, m_r.zMax));
        Line(At(m_r.xMax, m_r.yMin, m_r.zMax), At(m_r.xMax, m_r.yMax, m_r.zMax));
        Line(At(m_r.xMin, m_r.yMax, m_r.zMin), At(m_r.xMin, m_r.yMax, m_r.zMax));
        Line(At(m_r.xMax, m_r.yMin, m_r.zMin), At(m_r.xMax, m_r.yMin, m_r.zMax));
    }

    // The whole band positions within the X range, thinned so that their captions fit.
    std::vector<int> XPositions() const {
        const int first = static_cast<int>(std::ceil(m_r.xMin));
        const int last = static_cast<int>(std::floor(m_r.xMax));
        std::vector<int> positions;
        if (last < first)
            return positions;
        const int count = last - first + 1;
        int step = static_cast<int>(std::ceil(count * kMinCaptionPitch / m_proj.FrontWidth()));
        if (m_graph.XTicks() > 0)
            step = std::max(step, (count + m_graph.XTicks() - 1) / m_graph.XTicks());
        step = std::max(step, 1);
        for (int x = first; x <= last; x += step)
            positions.push_back(x);
        return positions;
    }

    // Back to front, so that each row hides what lies behind it. Of the rows that fall on one
    // depth pixel only one is drawn: the emphasised one when there is one, so that the selected
    // record stays in sight however many spectra share its pixel, else the front one.
    void DrawRows() {
        struct Row {
            double z;
            int element;
            bool emphasised;
        };
        std::vector<Row> rows;
        for (int e = 0; e < m_graph.ElementCount(); ++e) {
            const auto& points = m_graph.ElementPoints(e);
            if (!points.empty() && m_proj.InRangeZ(points.front().z))
                rows.push_back({points.front().z, e, m_graph.IsEmphasised(e)});
        }
        std::stable_sort(rows.begin(), rows.end(),
                         [](const Row& a, const Row& b) { return a.z > b.z; });
        for (std::size_t first = 0; first < rows.size();) {
            const int pixel = m_proj.DepthPixel(rows[first].z);
            std::size_t end = first + 1;
            while (end < rows.size() && m_proj.DepthPixel(rows[end].z) == pixel)
                ++end;
            const auto shown = std::find_if(rows.begin() + first, rows.begin() + end,
                                            [](const Row& row) { return row.emphasised; });
            const Row& row = shown != rows.begin() + end ? *shown : rows[end - 1];
            DrawRow(row.element, row.emphasised);
            first = end;
        }
    }

    void DrawRow(int element, bool emphasised) {
        std::vector<const CGraph3D::Point*> points;
        for (const CGraph3D::Point& p : m_graph.ElementPoints(element))
            if (m_proj.InRangeX(p.x))
                points.push_back(&p);
        if (points.empty())
            return;
        std::vector<QPointF> at;
        at.reserve(points.size());
        for (const CGraph3D::Point* p : points)
            at.push_back(At(p->x, Clamp(p->y, m_r.yMin, m_r.yMax), p->z));

        if (points.size() == 1) {
            m_p.setPen(Qt::NoPen);
            m_p.setBrush(platform::ToQColor(points.front()->mark));
            m_p.drawEllipse(at.front(), 1.5, 1.5);
            return;
        }
        if (m_graph.ViewStyle() == CGraph3D::kHiddenLines) {
            QPolygonF shape(QList<QPointF>(at.begin(), at.end()));
            shape << At(points.back()->x, m_r.yMin, points.back()->z)
                  << At(points.front()->x, m_r.yMin, points.front()->z);
            m_p.setPen(Qt::NoPen);
            m_p.setBrush(platform::ToQColor(m_graph.BackColor()));
            m_p.drawPolygon(shape);
        }
        m_p.setBrush(Qt::NoBrush);
        const COLORREF rowColour = m_graph.GetElementLineColor(element);
        const float rowWidth = m_graph.ElementLineWidth(element);
        for (std::size_t i = 1; i < points.size(); ++i) {
            const COLORREF colour = emphasised ? rowColour : points[i]->line;
            const float width = emphasised ? rowWidth : points[i]->width;
            m_p.setPen(QPen(platform::ToQColor(colour), std::max(1.0, width * kPenPerWidth),
                            Qt::SolidLine, Qt::RoundCap));
            Line(at[i - 1], at[i]);
        }
    }

    void DrawAxes() {
        m_p.setPen(QPen(m_ink, 1));
        const QPointF origin = At(m_r.xMin, m_r.yMin, m_r.zMin);
        Line(origin, At(m_r.xMax, m_r.yMin, m_r.zMin));
        Line(origin, At(m_r.xMin, m_r.yMax, m_r.zMin));
        Line(origin, At(m_r.xMin, m_r.yMin, m_r.zMax));
        const QFontMetrics metrics(m_p.font());
        const int h = metrics.height();

        const int yTicks = std::max<int>(1, m_graph.YTicks());
        for (int k = 0; k <= yTicks; ++k) {
            const double y = m_r.yMin + (m_r.yMax - m_r.yMin) * k / yTicks;
            const QPointF at = At(m_r.xMin, y, m_r.zMin);
            Line(at, at - QPointF(4, 0));
            m_p.drawText(QRectF(at.x() - 46, at.y() - h / 2.0, 40, h),
                         Qt::AlignRight | Qt::AlignVCenter, Number(y));
        }
        for (int x : XPositions()) {
            const QPointF at = At(x, m_r.yMin, m_r.zMin);
            Line(at, at + QPointF(0, 4));
            std::string caption = m_graph.BandCaption(x);
            const QString text = caption.empty() ? QString::number(x) : platform::ToQt(caption);
            m_p.drawText(QRectF(at.x() - 30, at.y() + 4, 60, h), Qt::AlignHCenter | Qt::AlignTop,
                         text);
        }
        const int zTicks = std::max<int>(1, m_graph.ZTicks());
        for (int k = 0; k <= zTicks; ++k) {
            const double z = m_r.zMin + (m_r.zMax - m_r.zMin) * k / zTicks;
            const QPointF at = At(m_r.xMax, m_r.yMin, z);
            m_p.drawText(QRectF(at.x() + 4, at.y() - h / 2.0, 60, h),
                         Qt::AlignLeft | Qt::AlignVCenter, Number(z));
        }

        const QPointF xEnd = At((m_r.xMin + m_r.xMax) / 2, m_r.yMin, m_r.zMin);
        m_p.drawText(QRectF(xEnd.x() - 60, xEnd.y() + 4 + h, 120, h), Qt::AlignHCenter,
                     platform::ToQt(m_graph.AxisCaption(0)));
        const QPointF yEnd = At(m_r.xMin, m_r.yMax, m_r.zMin);
        m_p.drawText(QRectF(yEnd.x() - 44, yEnd.y() - 4 - 2 * h, 88, h), Qt::AlignHCenter,
                     platform::ToQt(m_graph.AxisCaption(1)));
        // The depth's caption under its first tick label, clear of the rows.
        const QPointF zStart = At(m_r.xMax, m_r.yMin, m_r.zMin);
        m_p.drawText(QRectF(zStart.x() + 4, zStart.y() + 4 + h, 80, h), Qt::AlignLeft,
                     platform::ToQt(m_graph.AxisCaption(2)));
        if (!m_graph.Caption().empty())
            m_p.drawText(QRectF(m_area.left(), m_area.top() + 2, m_area.width(), h),
                         Qt::AlignHCenter, platform::ToQt(m_graph.Caption()));
    }

    const CGraph3D& m_graph;
    QPainter& m_p;
    QRect m_area;
    Graph3DProjection m_proj;
    CGraph3D::Range m_r;
    QColor m_ink;
};

}  // namespace

void CGraph3D::Paint(QPainter& painter, const QRect& area) const {
    Painter(*this, painter, area).Run();
}

}  // namespace charts
