#include "ui/sizing_bar_model.h"

#include <QCoreApplication>
#include <QSettings>
#include <algorithm>

#include "platform/qt_text.h"
namespace ui {

namespace {

BarSize AtLeastMinimum(BarSize size) {
    return {std::max(size.cx, SizingBarModel::kMinCX), std::max(size.cy, SizingBarModel::kMinCY)};
}

bool IsHorizontal(BarDock dock) {
    return dock == BarDock::Top || dock == BarDock::Bottom;
}

QString Section(const std::string& profile, int id) {
    return platform::ToQt(profile) + "-SCBar-" + QString::number(id);
}

}  // namespace

void SizingBarModel::SetAllSizes(int cx, int cy) {
    m_szHorz = m_szVert = m_szFloat = {cx, cy};
}

BarSize SizingBarModel::SizeFor(BarDock dock) const {
    if (dock == BarDock::Floating)
        return AtLeastMinimum(m_szFloat);
    return AtLeastMinimum(IsHorizontal(dock) ? m_szHorz : m_szVert);
}

void SizingBarModel::SetSizeFor(BarDock dock, BarSize size) {
    size = AtLeastMinimum(size);
    if (dock == BarDock::Floating)
        m_szFloat = size;
    else if (IsHorizontal(dock))
        m_szHorz = size;
    else
        m_szVert = size;
}

unsigned SizingBarModel::EdgeStyle(BarDock dock) {
    switch (dock) {
        case BarDock::Top:
            return SCBS_EDGEBOTTOM;
        case BarDock::Bottom:
            return SCBS_EDGETOP;
        case BarDock::Left:
            return SCBS_EDGERIGHT;
        case BarDock::Right:
            return SCBS_EDGELEFT;
        case BarDock::Floating:
            break;
    }
    return 0;
}

int SizingBarModel::HitTest(BarDock dock, int width, int height, int x, int y) {
    if (dock == BarDock::Floating || x < 0 || y < 0 || x >= width || y >= height)
        return HTCLIENT;
    const unsigned edges = EdgeStyle(dock);
    // The side strips stop short of the ends on a bar docked across them.
    const int along = IsHorizontal(dock) ? kEdgeWidth : 0;
    const int across = IsHorizontal(dock) ? 0 : kEdgeWidth;
    const bool inSideRange = y >= along && y < height - along;
    const bool inTopRange = x >= across && x < width - across;
    if ((edges & SCBS_EDGELEFT) && x < kEdgeWidth && inSideRange)
        return HTLEFT;
    if ((edges & SCBS_EDGETOP) && y < kEdgeWidth && inTopRange)
        return HTTOP;
    if ((edges & SCBS_EDGERIGHT) && x >= width - kEdgeWidth && inSideRange)
        return HTRIGHT;
    if ((edges & SCBS_EDGEBOTTOM) && y >= height - kEdgeWidth && inTopRange)
        return HTBOTTOM;
    return HTCLIENT;
}

bool SizingBarModel::BeginResize(BarDock dock, int edge, int room) {
    if (m_bTracking || dock == BarDock::Floating || edge < HTLEFT || edge > 17)
        return false;
    m_trackDock = dock;
    m_nTrackEdge = edge;
    const bool horizontal = IsHorizontal(dock);
    m_nTrackStart = horizontal ? SizeFor(dock).cy : SizeFor(dock).cx;
    m_nTrackMin = horizontal ? kMinCY : kMinCX;
    // A frame with no room left must not give a maximum below the minimum.
    m_nTrackMax = std::max(m_nTrackMin, room + m_nTrackStart - 4);
    m_bTracking = true;
    return true;
}

bool SizingBarModel::ResizeTo(int dx, int dy) {
    if (!m_bTracking)
        return false;
    int delta = 0;
    switch (m_nTrackEdge) {
        case HTLEFT:
            delta = -dx;
            break;
        case HTRIGHT:
            delta = dx;
            break;
        case HTTOP:
            delta = -dy;
            break;
        case HTBOTTOM:
            delta = dy;
            break;
        default:
            return false;
    }
    const int size = std::clamp(m_nTrackStart + delta, m_nTrackMin, m_nTrackMax);
    BarSize& bar = IsHorizontal(m_trackDock) ? m_szHorz : m_szVert;
    int& length = IsHorizontal(m_trackDock) ? bar.cy : bar.cx;
    if (length == size)
        return false;
    length = size;
    return true;
}

void SizingBarModel::LoadState(const std::string& profile, int id) {
    if (!QCoreApplication::instance())
        return;
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, "kx9monitor", "kx9monitor");
    settings.beginGroup(Section(profile, id));
    auto read = [&](const char* key, int current, int minimum) {
        bool ok = false;
        const int value = settings.value(key, current).toInt(&ok);
        return std::max(ok ? value : current, minimum);
    };
    m_szHorz = {read("sizeHorzCX", m_szHorz.cx, kMinCX), read("sizeHorzCY", m_szHorz.cy, kMinCY)};
    m_szVert = {read("sizeVertCX", m_szVert.cx, kMinCX), read("sizeVertCY", m_szVert.cy, kMinCY)};
    m_szFloat = {read("sizeFloatCX", m_szFloat.cx, kMinCX),
                 read("sizeFloatCY", m_szFloat.cy, kMinCY)};
}

void SizingBarModel::SaveState(const std::string& profile, int id) const {
    if (!QCoreApplication::instance())
        return;
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, "kx9monitor", "kx9monitor");
    settings.beginGroup(Section(profile, id));
    settings.setValue("sizeHorzCX", m_szHorz.cx);
    settings.setValue("sizeHorzCY", m_szHorz.cy);
    settings.setValue("sizeVertCX", m_szVert.cx);
    settings.setValue("sizeVertCY", m_szVert.cy);
    settings.setValue("sizeFloatCX", m_szFloat.cx);
    settings.setValue("sizeFloatCY", m_szFloat.cy);
    settings.endGroup();
    settings.sync();
}

}  // namespace ui
