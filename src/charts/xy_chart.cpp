#include "charts/xy_chart.h"

#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/colors.h"
#include "platform/qt_text.h"
#include "platform/text.h"

using platform::Format;
using platform::ToQColor;

namespace charts {

namespace {

// Room around the plot for the title, the tick labels and the axis titles.
constexpr int kMarginLeft = 56;
constexpr int kMarginRight = 16;
constexpr int kMarginTop = 28;
constexpr int kMarginBottom = 44;
constexpr COLORREF kWindow = 0xFFFFFF;

QRect ToQRect(const ui::Rect& r) {
    return QRect(r.left, r.top, r.Width(), r.Height());
}

double Radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

QFont TimesFont(int points, bool bold) {
    QFont font("Times New Roman");
    font.setPointSize(points);
    font.setBold(bold);
    return font;
}

}  // namespace

// --- CChart

CChart::CChart() {
    m_series.resize(kMaxSeries);
}

CChart::~CChart() = default;

void CChart::SetStyle(int style) {
    if (style < 0 || style > kAxesThroughCentre)
        return;
    m_nStyle = style;
    MarkDirty();
}

void CChart::SetTitle(const std::string& title) {
    m_strTitle = title;
    MarkDirty();
}

void CChart::SetGridDivisions(int x, int y) {
    // The grid and the tick labels divide the ranges by these.
    m_nDivX = std::max(1, x);
    m_nDivY = std::max(1, y);
    MarkDirty();
}

void CChart::SetAxisTitles(const std::string& x, const std::string& y) {
    m_strTitleX = x;
    m_strTitleY = y;
    MarkDirty();
}

void CChart::SetLogarithmicGrid(bool on) {
    m_bLogGrid = on;
    MarkDirty();
}

int CChart::SetRanges(double xMin, double xMax, double yMin, double yMax) {
    if (!(xMax > xMin) || !(yMax > yMin))
        return 0;
    m_xMin = xMin;
    m_xMax = xMax;
    m_yMin = yMin;
    m_yMax = yMax;
    MarkDirty();
    RecalcScales();
    return 1;
}

void CChart::SetSeriesCount(int count) {
    m_nSeries = std::clamp(count, 0, kMaxSeries);
}

void CChart::SetPointCount(int count) {
    m_nPoints = std::max(0, count);
    for (auto& series : m_series)
        if (series) {
            series->x.resize(m_nPoints);
            series->y.resize(m_nPoints);
        }
}

bool CChart::SetSeries(int index, std::span<const float> x, std::span<const float> y,
                       COLORREF colour) {
    if (index < 0 || index >= kMaxSeries)
        return false;
    auto series = std::make_unique<Series>();
    series->x.assign(m_nPoints, 0.0f);
    series->y.assign(m_nPoints, 0.0f);
    std::copy_n(x.begin(), std::min<size_t>(x.size(), m_nPoints), series->x.begin());
    std::copy_n(y.begin(), std::min<size_t>(y.size(), m_nPoints), series->y.begin());
    series->colour = colour;
    m_series[index] = std::move(series);
    return true;
}

void CChart::ReleaseSeries(int index) {
    if (index >= 0 && index < kMaxSeries)
        m_series[index].reset();
}

bool CChart::IsSeriesAllocated(int index) const {
    return SeriesAt(index) != nullptr;
}

const CChart::Series* CChart::SeriesAt(int index) const {
    return index >= 0 && index < kMaxSeries ? m_series[index].get() : nullptr;
}

void CChart::SetClientRect(const ui::Rect& client) {
    if (client == m_client)
        return;
    m_client = client;
    m_plot = {client.left + kMarginLeft, client.top + kMarginTop,
              std::max(client.left + kMarginLeft + 1, client.right - kMarginRight),
              std::max(client.top + kMarginTop + 1, client.bottom - kMarginBottom)};
    RecalcScales();
    MarkDirty();
}

void CChart::RecalcScales() {
    m_xScale = (m_xMax - m_xMin) / std::max(1, m_plot.Width());
    m_yScale = (m_yMax - m_yMin) / std::max(1, m_plot.Height());
}

QPoint CChart::ValueToPixel(double x, double y) const {
    return QPoint(m_plot.left + static_cast<int>((x - m_xMin) / m_xScale),
                  m_plot.bottom - static_cast<int>((y - m_yMin) / m_yScale));
}

void CChart::Redraw(bool dirty) {
    if (dirty)
        MarkDirty();
    if (m_onRedraw)
        m_onRedraw();
}

void CChart::Paint(QPainter& painter) {
    if (!m_bFontsMade) {
        CreateFonts();
        m_bFontsMade = true;
    }
    const QSize size(std::max(1, m_client.Width()), std::max(1, m_client.Height()));
    if (m_bDirty || m_cache.size() != size) {
        m_cache = QImage(size, QImage::Format_ARGB32_Premultiplied);
        m_cache.fill(ToQColor(kWindow));
        QPainter layer(&m_cache);
        layer.translate(-m_client.left, -m_client.top);
        DrawBackground(layer);
        DrawAxes(layer);
        DrawGrid(layer);
        if (m_bLogGrid)
            DrawLogarithmicGrid(layer);
        DrawTickLabels(layer);
        DrawTitles(layer);
        m_bDirty = false;
    }
    QImage frame = m_cache.copy();
    {
        QPainter curves(&frame);
        curves.translate(-m_client.left, -m_client.top);
        curves.setClipRect(ToQRect(m_plot));
        DrawSeries(curves);
    }
    painter.drawImage(m_client.left, m_client.top, frame);
}

void CChart::DrawSeries(QPainter& painter) const {
    for (int s = 0; s < m_nSeries; ++s) {
        const Series* series = SeriesAt(s);
        if (!series || m_nPoints < 1)
            continue;
        QPolygon line;
        for (int i = 0; i < m_nPoints; ++i)
            line << ValueToPixel(series->x[i], series->y[i]);
        painter.setPen(QPen(ToQColor(series->colour), 1));
        painter.drawPolyline(line);
    }
}

void CChart::DrawBackground(QPainter& painter) const {
    painter.setPen(QPen(ToQColor(m_crAxis), 1));
    painter.setBrush(ToQColor(kBackground));
    painter.drawRect(ToQRect(m_plot).adjusted(0, 0, -1, -1));
    painter.setBrush(Qt::NoBrush);
}

void CChart::DrawTitles(QPainter& painter) const {
    painter.setPen(ToQColor(m_crAxis));
    painter.setFont(m_titleFont);
    painter.drawText(QRect(m_client.left, m_client.top, m_client.Width(), kMarginTop),
                     Qt::AlignCenter, platform::ToQt(m_strTitle));
    painter.setFont(m_labelFont);
    painter.drawText(QRect(m_plot.left, m_plot.bottom + 20, m_plot.Width(), 20), Qt::AlignCenter,
                     platform::ToQt(m_strTitleX));
    painter.save();
    painter.translate(m_client.left + 10, m_plot.top + m_plot.Height() / 2);
    painter.rotate(-90);
    painter.drawText(QRect(-m_plot.Height() / 2, -8, m_plot.Height(), 16), Qt::AlignCenter,
                     platform::ToQt(m_strTitleY));
    painter.restore();
}

void CChart::DrawGrid(QPainter& painter) const {
    painter.setPen(QPen(ToQColor(kGridColour), 1, Qt::DotLine));
    for (int i = 0; i <= m_nDivX; ++i) {
        const double x = m_xMin + (m_xMax - m_xMin) * i / m_nDivX;
        painter.drawLine(ValueToPixel(x, m_yMin), ValueToPixel(x, m_yMax));
    }
    for (int i = 0; i <= m_nDivY; ++i) {
        const double y = m_yMin + (m_yMax - m_yMin) * i / m_nDivY;
        painter.drawLine(ValueToPixel(m_xMin, y), ValueToPixel(m_xMax, y));
    }
}

void CChart::DrawAxes(QPainter& painter) const {
    double xAxisAt = m_yMin;
    double yAxisAt = m_xMin;
    if (m_nStyle == kAxisAtMidHeight) {
        xAxisAt = (m_yMin + m_yMax) / 2;
    } else if (m_nStyle == kAxesThroughCentre) {
        xAxisAt = (m_yMin + m_yMax) / 2;
        yAxisAt = (m_xMin + m_xMax) / 2;
    }
    painter.setPen(QPen(ToQColor(m_crAxis), 2));
    painter.drawLine(ValueToPixel(m_xMin, xAxisAt), ValueToPixel(m_xMax, xAxisAt));
    painter.drawLine(ValueToPixel(yAxisAt, m_yMin), ValueToPixel(yAxisAt, m_yMax));
}

void CChart::DrawTickLabels(QPainter& painter) const {
    painter.setPen(ToQColor(m_crAxis));
    painter.setFont(m_labelFont);
    for (int i = 0; i <= m_nDivX; ++i) {
        const double x = m_xMin + (m_xMax - m_xMin) * i / m_nDivX;
        const QPoint at = ValueToPixel(x, m_yMin);
        painter.drawText(QRect(at.x() - 30, at.y() + 2, 60, 16), Qt::AlignCenter,
                         platform::ToQt(Format("%5.1f", x)));
    }
    for (int i = 0; i <= m_nDivY; ++i) {
        const double y = m_yMin + (m_yMax - m_yMin) * i / m_nDivY;
        const QPoint at = ValueToPixel(m_xMin, y);
        painter.drawText(QRect(at.x() - 54, at.y() - 8, 50, 16), Qt::AlignRight | Qt::AlignVCenter,
                         platform::ToQt(Format("%5.1f", y)));
    }
}

void CChart::CreateFonts() {
    m_titleFont = TimesFont(12, true);
    m_labelFont = TimesFont(8, false);
}

// Decade lines over a scale of one unit per decade: five between each power of ten and the
// next.
void CChart::DrawLogarithmicGrid(QPainter& painter) {
    painter.setPen(QPen(ToQColor(kGridColour), 0));
    const double unitsPerPixel = static_cast<double>(m_nDivY) / std::max(1, m_plot.Height());
    for (int k = 0; k < m_nDivY; ++k) {
        const double low = std::pow(10.0, k);
        const double high = std::pow(10.0, k + 1);
        for (int j = 1; j <= 5; ++j) {
            const double y = std::log10(low + j * (high - low) / 5);
            const int py = m_plot.bottom - static_cast<int>(y / unitsPerPixel);
            painter.drawLine(ValueToPixel(m_xMin, 0).x(), py, ValueToPixel(m_xMax, 0).x(), py);
        }
    }
}

// --- CChart3d

CChart3d::CChart3d() {
    SetViewGeometry(m_extents[0], m_extents[1], m_extents[2], m_extents[3], m_extents[4],
                    m_extents[5]);
}

int CChart3d::SetViewGeometry(double x1, double x2, double y1, double y2, double z1, double z2) {
    const double a = Radians(m_angles[0]);
    const double b = Radians(m_angles[1]);
    const double xMax = std::fabs(2 * (x2 - x1) * std::cos(a));
    if (!(x2 > x1) || !(y2 > y1) || !(z2 > z1) || !(xMax > x1))
        return 0;
    m_originY = y1;
    m_originX = x1;
    m_depthFactor = std::fabs((x2 - x1) * std::cos(a) / (std::cos(b) * (z2 - z1)));
    const int result = SetRanges(x1, xMax, y1 - (y2 - y1), y2 + (y2 - y1));
    m_extents = {x1, x2, y1, y2, z1, z2};
    return result;
}

void CChart3d::SetViewAngles(double first, double second) {
    m_angles = {std::clamp(first, -1.0 * kMaxAngle, 1.0 * kMaxAngle),
                std::clamp(second, -1.0 * kMaxAngle, 1.0 * kMaxAngle)};
    MarkDirty();
}

void CChart3d::SetOriginOffsets(double vertical, double horizontal) {
    m_originY = vertical;
    m_originX = horizontal;
    MarkDirty();
}

void CChart3d::SetLevelOffset(double offset) {
    m_levelOffset = offset;
    MarkDirty();
}

void CChart3d::SetSpectrumOffset(double offset) {
    m_spectrumOffset = offset;
    MarkDirty();
}

QPoint CChart3d::Project(double x, double y, double z) const {
    const double a = Radians(m_angles[0]);
    const double b = Radians(m_angles[1]);
    const double depth = m_depthFactor * z;
    const double px = std::cos(a) * x + std::cos(b) * depth;
    const double py = (std::sin(a) * x + std::sin(b) * depth) * (YScale() / XScale()) + y;
    return ValueToPixel(px + m_originX, py + m_originY);
}

// Series s lies at depth s. The far series go first so that the near ones cover them.
void CChart3d::DrawSeries(QPainter& painter) const {
    const int points = PointCount();
    const int count = SeriesCount();
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (int s = count - 1; s >= 0; --s) {
        const Series* front = SeriesAt(s);
        const Series* back = SeriesAt(s + 1);
        if (!front)
            continue;
        const QColor colour = ToQColor(front->colour);
        if (!back || s + 1 >= count) {
            QPolygon line;
            for (int i = 0; i < points; ++i)
                line << Project(front->x[i], front->y[i], s);
            painter.setPen(QPen(colour.darker(140), 1));
            painter.drawPolyline(line);
            continue;
        }
        painter.setPen(QPen(colour.darker(140), 1));
        painter.setBrush(colour);
        for (int i = 0; i + 1 < points; ++i) {
            const QPolygon cell({Project(front->x[i], front->y[i], s),
                                 Project(front->x[i + 1], front->y[i + 1], s),
                                 Project(back->x[i + 1], back->y[i + 1], s + 1),
                                 Project(back->x[i], back->y[i], s + 1)});
            painter.drawPolygon(cell);
        }
    }
    painter.setBrush(Qt::NoBrush);
}

void CChart3d::DrawGrid(QPainter&) const {}

void CChart3d::DrawAxes(QPainter& painter) const {
    const auto& [x1, x2, y1, y2, z1, z2] = m_extents;
    const QPoint origin = Project(x1, y1, z1);
    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(origin, Project(x2, y1, z1));
    painter.drawLine(origin, Project(x1, y2, z1));
    painter.drawLine(origin, Project(x1, y1, z2));
    painter.setFont(m_boldFont);
    painter.drawText(Project(x2, y1, z1) + QPoint(4, 12), platform::ToQt(AxisTitleX()));
    painter.drawText(Project(x1, y2, z1) + QPoint(-4, -6), platform::ToQt(AxisTitleY()));
}

void CChart3d::DrawTickLabels(QPainter& painter) const {
    const auto& [x1, x2, y1, y2, z1, z2] = m_extents;
    painter.setPen(Qt::black);
    painter.setFont(m_smallFont);
    for (int k = 0; k <= GridDivisionsY(); ++k) {
        const double y = y1 + (y2 - y1) * k / GridDivisionsY();
        const QPoint at = Project(x1, y, z1);
        painter.drawLine(at, at - QPoint(4, 0));
        painter.drawText(QRect(at.x() - 44, at.y() - 7, 38, 14), Qt::AlignRight | Qt::AlignVCenter,
                         platform::ToQt(Format("%5.0f", y + m_levelOffset)));
    }
    for (int k = 0; k <= GridDivisionsX(); ++k) {
        const double x = x1 + (x2 - x1) * k / GridDivisionsX();
        const QPoint at = Project(x, y1, z1);
        painter.drawLine(at, at + QPoint(0, 4));
        painter.drawText(at + QPoint(-8, 14), platform::ToQt(Format(" A%.0f", x)));
    }
    constexpr int kDepthTicks = 5;
    for (int k = 0; k <= kDepthTicks; ++k) {
        const double z = z1 + (z2 - z1) * k / kDepthTicks;
        const QPoint at = Project(x2, y1, z);
        painter.drawLine(at, at + QPoint(4, 0));
        painter.drawText(at + QPoint(6, 4), platform::ToQt(Format("%5.0f", z + m_spectrumOffset)));
    }
}

void CChart3d::CreateFonts() {
    CChart::CreateFonts();
    m_smallFont = TimesFont(7, false);
    m_boldFont = TimesFont(12, true);
}

}  // namespace charts
