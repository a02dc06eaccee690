#include "graph/graph_frame.h"

#include <QResizeEvent>
#include <algorithm>

#include "graph/graph_commands.h"
#include "graph/graph_host.h"
#include "graph/graph_panel.h"
#include "graph/graph_wnd.h"
#include "graph/point_view_bar.h"
#include "graph/rulers.h"

namespace graph {

// --- container

CGraphContainer::CGraphContainer(CGraphWnd& graph, QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_vertical = new FVRuler(graph.Metrics(), this);
    m_horizontal = new FHRuler(
        graph.Metrics(),
        [&graph](int row) { return graph.Host() ? graph.Host()->TimeLabel(row) : std::string(); },
        this);
    for (FRuler* ruler : {static_cast<FRuler*>(m_vertical), static_cast<FRuler*>(m_horizontal)})
        ruler->SetRange(kInitialMinimum, kInitialMaximum, true);
    m_panel = new CGraphPanel(graph, *m_vertical, *m_horizontal, this);
}

void CGraphContainer::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayOut();
}

void CGraphContainer::LayOut() {
    const int cx = width();
    const int cy = height();
    const int vW = m_vertical->isHidden() ? 0 : m_vertical->GetThickness();
    const int hH = m_horizontal->isHidden() ? 0 : m_horizontal->GetThickness();
    m_vertical->setGeometry(0, 0, vW, std::max(0, cy - hH));
    m_horizontal->setGeometry(0, cy - hH, cx, hH);
    m_panel->setGeometry(vW, 0, std::max(0, cx - vW), std::max(0, cy - hH));
}

// --- frame

CGraphFrame::CGraphFrame(CGraphWnd& graph, unsigned option, QWidget* parent)
    : QMainWindow(parent), m_graph(graph), m_option(option) {
    // A main window is a window of its own unless told otherwise; this one is a child.
    setWindowFlags(Qt::Widget);
    // The graph's window paints all of itself: what the curves and the rulers leave (the
    // point list's title and edges, the splitter beside it) takes the window's colour here.
    setAutoFillBackground(true);
    show();
    m_container = new CGraphContainer(graph, this);
    m_container->setObjectName(QString::number(CGraphContainer::kId));
    setCentralWidget(m_container);
    m_pointList = new CPointViewBar;
    m_pointList->Create("Points", this, kPointListWidth, kPointListHeight, true, kPointListId,
                        ui::CBRS_ALIGN_ANY);
    m_pointList->hide();
    m_pointList->DockOn(ui::BarDock::Right);
    m_pointList->hide();
    AddChangeReceiver(m_pointList);
    m_graph.AttachFrame(this);
}

CGraphFrame::~CGraphFrame() {
    m_graph.AttachFrame(nullptr);
}

void CGraphFrame::AddChangeReceiver(GraphChangeReceiver* receiver) {
    if (receiver && std::ranges::find(m_receivers, receiver) == m_receivers.end())
        m_receivers.push_back(receiver);
}

void CGraphFrame::RemoveChangeReceiver(GraphChangeReceiver* receiver) {
    std::erase(m_receivers, receiver);
}

int CGraphFrame::NotifyGraph(const GraphChange& change) {
    int result = m_container->Panel().OnGraphChange(change);
    for (GraphChangeReceiver* receiver : std::vector(m_receivers))
        result = receiver->OnGraphChange(change);
    return result;
}

void CGraphFrame::AddContextMenuItems(QMenu& menu) {
    AddMenuCommand(menu, "Points", kPointListCommand, m_pointList->isVisible());
}

void CGraphFrame::OnMenuCommand(int id) {
    if (id == kPointListCommand)
        m_pointList->setVisible(m_pointList->isHidden());
}

void CGraphFrame::ShowBars(unsigned flags) {
    if (flags & kShowPointList)
        m_pointList->show();
    if (flags & kHidePointList)
        m_pointList->hide();
    for (const auto& [flag, code] :
         {std::pair{kFreezeList, kFreezePointList}, std::pair{kResumeList, kResumePointList}}) {
        if (!(flags & flag))
            continue;
        GraphChange change = GraphChange::Flags(code, 0);
        change.graph = &m_graph;
        for (GraphChangeReceiver* receiver : std::vector(m_receivers))
            receiver->OnGraphChange(change);
    }
}

unsigned CGraphFrame::PanelOptions() const {
    return m_container->Panel().Options();
}

bool CGraphFrame::PanelRange(VisibleRange& range) const {
    range = m_container->Panel().Range();
    return true;
}

void CGraphFrame::FitPanel(int command) {
    m_container->Panel().OnFit(command);
}

}  // namespace graph
