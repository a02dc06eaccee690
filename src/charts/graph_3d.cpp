#include "charts/graph_3d.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "charts/graph_3d_projection.h"
#include "charts/spectrum_bands.h"

namespace charts {

namespace {

// One axis of a range: the fixed ends when they make a range, else the data's.
void TakeAxis(double fixedMin, double fixedMax, double dataMin, double dataMax, bool fixed,
              double& outMin, double& outMax) {
    if (fixed && fixedMax > fixedMin) {
        outMin = fixedMin;
        outMax = fixedMax;
        return;
    }
    if (!(dataMax >= dataMin)) {  // no data
        dataMin = 0;
        dataMax = 1;
    }
    outMin = dataMin;
    outMax = dataMax > dataMin ? dataMax : dataMin + 1;
}

}  // namespace

void CGraph3D::SetRange(double xMin, double xMax, double yMin, double yMax, double zMin,
                        double zMax) {
    m_range = {xMin, xMax, yMin, yMax, zMin, zMax};
    m_bAuto = false;
    Changed();
}

void CGraph3D::AutoRange() {
    m_bAuto = true;
    Changed();
}

CGraph3D::Range CGraph3D::EffectiveRange() const {
    constexpr double inf = std::numeric_limits<double>::infinity();
    double lo[3] = {inf, inf, inf};
    double hi[3] = {-inf, -inf, -inf};
    for (const Element& element : m_elements)
        for (const Point& p : element.points) {
            const double v[3] = {p.x, p.y, p.z};
            for (int axis = 0; axis < 3; ++axis) {
                lo[axis] = std::min(lo[axis], v[axis]);
                hi[axis] = std::max(hi[axis], v[axis]);
            }
        }
    const bool fixed = !m_bAuto;
    Range r;
    TakeAxis(m_range.xMin, m_range.xMax, lo[0], hi[0], fixed, r.xMin, r.xMax);
    TakeAxis(m_range.yMin, m_range.yMax, lo[1], hi[1], fixed, r.yMin, r.yMax);
    TakeAxis(m_range.zMin, m_range.zMax, lo[2], hi[2], fixed, r.zMin, r.zMax);
    return r;
}

std::string CGraph3D::BandCaption(int position) const {
    const ChartBands* bands = BandsOfScale(m_bandScale == 0 ? 0 : 1);
    const std::span<const char* const> positions =
        bands ? bands->positions : std::span<const char* const>();
    if (position < 1 || position >= static_cast<int>(positions.size()))
        return {};
    return positions[position];
}

void CGraph3D::ClearGraph() {
    m_elements.clear();
    m_elements.shrink_to_fit();
    m_nPoints = 0;
    Changed();
}

CGraph3D::Element* CGraph3D::Find(long element, bool create) {
    if (element < 0 || element >= kMaxElements)
        return nullptr;
    const auto index = static_cast<std::size_t>(element);
    if (index >= m_elements.size()) {
        if (!create)
            return nullptr;
        m_elements.resize(index + 1);
    }
    return &m_elements[index];
}

const CGraph3D::Element* CGraph3D::Find(long element) const {
    if (element < 0 || static_cast<std::size_t>(element) >= m_elements.size())
        return nullptr;
    return &m_elements[static_cast<std::size_t>(element)];
}

void CGraph3D::SetElementLineColor(long element, COLORREF colour) {
    if (Element* e = Find(element, true)) {
        e->line = colour;
        Changed();
    }
}

COLORREF CGraph3D::GetElementLineColor(long element) const {
    const Element* e = Find(element);
    return e ? e->line : 0;
}

void CGraph3D::SetElementPointColor(long element, COLORREF colour) {
    if (Element* e = Find(element, true)) {
        e->mark = colour;
        Changed();
    }
}

void CGraph3D::SetElementLineWidth(long element, float width) {
    if (Element* e = Find(element, true)) {
        e->width = width;
        Changed();
    }
}

float CGraph3D::ElementLineWidth(long element) const {
    const Element* e = Find(element);
    return e ? e->width : 1.0f;
}

void CGraph3D::SetElementType(long element, short type) {
    if (Element* e = Find(element, true))
        e->type = type;
}

void CGraph3D::PlotXYZ(double x, double y, double z, long element) {
    Element* e = Find(element, true);
    if (!e || !std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z))
        return;
    e->points.push_back({static_cast<float>(x), static_cast<float>(y), static_cast<float>(z),
                         e->line, e->mark, e->width});
    ++m_nPoints;
    Changed();
}

const std::vector<CGraph3D::Point>& CGraph3D::ElementPoints(long element) const {
    static const std::vector<Point> none;
    const Element* e = Find(element);
    return e ? e->points : none;
}

bool CGraph3D::IsEmphasised(long element) const {
    const Element* e = Find(element);
    if (!e || e->points.empty())
        return false;
    const Point& last = e->points.back();
    return e->line != last.line || e->width != last.width;
}

// --- the projection

Graph3DProjection::Graph3DProjection(const QRect& area, const CGraph3D::Range& range)
    : m_range(range) {
    const double boxWidth = std::max(1, area.width() - kLeftMargin - kRightMargin);
    const double boxHeight = std::max(1, area.height() - kTopMargin - kBottomMargin);
    m_frontWidth = boxWidth * kFrontShare;
    m_frontHeight = boxHeight * kFrontShare;
    m_origin = QPointF(area.left() + kLeftMargin, area.top() + kTopMargin + boxHeight);
    m_depth = QPointF(boxWidth - m_frontWidth, -(boxHeight - m_frontHeight));
}

double Graph3DProjection::Depth(double z) const {
    return (z - m_range.zMin) / (m_range.zMax - m_range.zMin);
}

int Graph3DProjection::DepthPixel(double z) const {
    const double length = std::max(std::abs(m_depth.x()), std::abs(m_depth.y()));
    return static_cast<int>(std::lround(Depth(z) * length));
}

QPointF Graph3DProjection::Map(double x, double y, double z) const {
    const double across = (x - m_range.xMin) / (m_range.xMax - m_range.xMin);
    const double up = (y - m_range.yMin) / (m_range.yMax - m_range.yMin);
    const double depth = Depth(z);
    return QPointF(m_origin.x() + across * m_frontWidth + depth * m_depth.x(),
                   m_origin.y() - up * m_frontHeight + depth * m_depth.y());
}

}  // namespace charts
