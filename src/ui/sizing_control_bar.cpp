#include "ui/sizing_control_bar.h"

#include <QMainWindow>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "platform/qt_text.h"

namespace ui {

namespace {

BarDock FromArea(Qt::DockWidgetArea area) {
    switch (area) {
        case Qt::TopDockWidgetArea:
            return BarDock::Top;
        case Qt::BottomDockWidgetArea:
            return BarDock::Bottom;
        case Qt::LeftDockWidgetArea:
            return BarDock::Left;
        case Qt::RightDockWidgetArea:
            return BarDock::Right;
        default:
            return BarDock::Floating;
    }
}

Qt::DockWidgetArea ToArea(BarDock dock) {
    switch (dock) {
        case BarDock::Top:
            return Qt::TopDockWidgetArea;
        case BarDock::Bottom:
            return Qt::BottomDockWidgetArea;
        case BarDock::Left:
            return Qt::LeftDockWidgetArea;
        case BarDock::Right:
            return Qt::RightDockWidgetArea;
        case BarDock::Floating:
            break;
    }
    return Qt::NoDockWidgetArea;
}

bool IsHorizontal(BarDock dock) {
    return dock == BarDock::Top || dock == BarDock::Bottom;
}

Qt::CursorShape EdgeCursor(int edge) {
    if (edge == SizingBarModel::HTLEFT || edge == SizingBarModel::HTRIGHT)
        return Qt::SizeHorCursor;
    if (edge == SizingBarModel::HTTOP || edge == SizingBarModel::HTBOTTOM)
        return Qt::SizeVerCursor;
    return Qt::ArrowCursor;
}

}  // namespace

CSizingControlBar::CSizingControlBar() {
    // The edges: a frame whose margins are the strips the operator drags.
    m_edges = new QWidget(this);
    m_edges->setObjectName("edges");
    m_edges->setMouseTracking(true);
    m_edges->installEventFilter(this);
    auto* layout = new QVBoxLayout(m_edges);
    layout->setContentsMargins(SizingBarModel::kEdgeWidth, SizingBarModel::kEdgeWidth,
                               SizingBarModel::kEdgeWidth, SizingBarModel::kEdgeWidth);
    setWidget(m_edges);
    connect(this, &QDockWidget::dockLocationChanged, this, [this] { OnDockChanged(); });
    connect(this, &QDockWidget::topLevelChanged, this, [this] { OnDockChanged(); });
}

CSizingControlBar::~CSizingControlBar() = default;

bool CSizingControlBar::Create(const std::string& title, QMainWindow* parent, int cx, int cy,
                               bool hasGripper, int id, unsigned style) {
    if (!parent)
        return false;
    m_frame = parent;
    setParent(parent);
    m_nId = id;
    m_model.SetAllSizes(cx, cy);
    m_bHasGripper = hasGripper;
    setWindowTitle(platform::ToQt(title));
    setObjectName(QString("SCBar-%1").arg(id));
    Qt::DockWidgetAreas areas;
    if (style & CBRS_ALIGN_LEFT)
        areas |= Qt::LeftDockWidgetArea;
    if (style & CBRS_ALIGN_TOP)
        areas |= Qt::TopDockWidgetArea;
    if (style & CBRS_ALIGN_RIGHT)
        areas |= Qt::RightDockWidgetArea;
    if (style & CBRS_ALIGN_BOTTOM)
        areas |= Qt::BottomDockWidgetArea;
    setAllowedAreas(areas);
    if (hasGripper) {
        setFeatures(DockWidgetClosable | DockWidgetMovable | DockWidgetFloatable);
    } else {
        setFeatures(DockWidgetMovable | DockWidgetFloatable);
        setTitleBarWidget(new QWidget(this));
    }
    setMinimumSize(SizingBarModel::kMinCX, SizingBarModel::kMinCY);
    return true;
}

void CSizingControlBar::SetContent(QWidget* content) {
    auto* layout = static_cast<QVBoxLayout*>(m_edges->layout());
    while (QLayoutItem* item = layout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    if (content)
        layout->addWidget(content);
}

void CSizingControlBar::DockOn(BarDock dock) {
    if (!m_frame)
        return;
    if (dock == BarDock::Floating) {
        setFloating(true);
    } else {
        m_frame->addDockWidget(ToArea(dock), this);
        setFloating(false);
    }
    OnDockChanged();
}

void CSizingControlBar::LoadState(const std::string& profile) {
    m_model.LoadState(profile, m_nId);
    ApplySize();
}

void CSizingControlBar::SaveState(const std::string& profile) const {
    m_model.SaveState(profile, m_nId);
}

BarDock CSizingControlBar::CurrentDock() const {
    return isFloating() || !m_frame
               ? BarDock::Floating
               : FromArea(m_frame->dockWidgetArea(const_cast<CSizingControlBar*>(this)));
}

void CSizingControlBar::OnDockChanged() {
    m_dock = CurrentDock();
    ApplySize();
}

void CSizingControlBar::ApplySize() {
    if (!m_frame)
        return;
    const BarSize size = m_model.SizeFor(m_dock);
    m_bApplying = true;
    if (m_dock == BarDock::Floating)
        resize(size.cx, size.cy);
    else if (IsHorizontal(m_dock))
        m_frame->resizeDocks({this}, {size.cy}, Qt::Vertical);
    else
        m_frame->resizeDocks({this}, {size.cx}, Qt::Horizontal);
    m_bApplying = false;
}

int CSizingControlBar::FreeRoom() const {
    const QWidget* central = m_frame ? m_frame->centralWidget() : nullptr;
    if (!central)
        return 0;
    return IsHorizontal(m_dock) ? central->height() : central->width();
}

void CSizingControlBar::resizeEvent(QResizeEvent* event) {
    QDockWidget::resizeEvent(event);
    // What the main window's layout gave the bar is its size for this side from now on.
    if (!m_bApplying && !m_model.IsTracking() && isVisible() && CurrentDock() == m_dock)
        m_model.SetSizeFor(m_dock, {width(), height()});
}

void CSizingControlBar::EndResize() {
    if (!m_model.IsTracking())
        return;
    m_model.EndResize();
    m_edges->releaseMouse();
}

bool CSizingControlBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_edges)
        return QDockWidget::eventFilter(watched, event);
    auto edgeAt = [this](const QPoint& at) {
        const QPoint p = m_edges->mapTo(this, at);
        return SizingBarModel::HitTest(m_dock, width(), height(), p.x(), p.y());
    };
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (m_model.IsTracking()) {
                // A right click ends the drag with the size reached.
                EndResize();
                return true;
            }
            if (mouse->button() != Qt::LeftButton)
                return false;
            const int edge = edgeAt(mouse->position().toPoint());
            if (!m_model.BeginResize(m_dock, edge, FreeRoom()))
                return false;
            m_trackStart = mouse->globalPosition().toPoint();
            m_edges->grabMouse();
            return true;
        }
        case QEvent::MouseMove: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (!m_model.IsTracking()) {
                m_edges->setCursor(EdgeCursor(edgeAt(mouse->position().toPoint())));
                return false;
            }
            const QPoint moved = mouse->globalPosition().toPoint() - m_trackStart;
            if (m_model.ResizeTo(moved.x(), moved.y()))
                ApplySize();
            return true;
        }
        case QEvent::MouseButtonRelease:
            if (m_model.IsTracking() &&
                static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                EndResize();
                return true;
            }
            return false;
        case QEvent::UngrabMouse:
            if (m_model.IsTracking())
                m_model.EndResize();
            return false;
        default:
            return false;
    }
}

}  // namespace ui
