#include "graph/graph_window.h"

#include <QLayout>
#include <QPointer>
#include <QResizeEvent>

#include "graph/graph_frame.h"
#include "graph/graph_property_pages.h"
#include "graph/graph_wnd.h"
#include "platform/qt_text.h"

namespace graph {

GraphWindow::GraphWindow(CGraphWnd& graph, unsigned frameOption, QWidget* parent)
    : QWidget(parent), m_graph(graph) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_frame = new CGraphFrame(graph, frameOption, this);
    m_frame->setGeometry(rect());
}

GraphWindow::~GraphWindow() = default;

void GraphWindow::AddPropertyPages(GraphPropertySheet& sheet) {
    m_axisPage = std::make_unique<CAxisPropertyPage>();
    CAxisPropertyPage& axis = *m_axisPage;
    const CGraphAxisLabel& x = m_graph.GetAxis(kXAxis);
    const CGraphAxisLabel& y = m_graph.GetAxis(kYAxis);
    axis.m_nXPrecision = x.GetDecimals();
    axis.m_strXTitle = x.GetName();
    axis.m_strXUnit = x.GetUnit();
    axis.m_nYPrecision = y.GetDecimals();
    axis.m_strYTitle = y.GetName();
    axis.m_strYUnit = y.GetUnit();
    m_graphsPage = std::make_unique<CGraphicsPropertyPage>(m_graph);
    sheet.AddPage(m_axisPage.get(), "Axis");
    sheet.AddPage(m_graphsPage.get(), "Graphs");
}

void GraphWindow::ApplyProperties(int result) {
    if (result == IDOK && m_axisPage && m_graphsPage) {
        const CAxisPropertyPage& axis = *m_axisPage;
        m_graph.SetAxisTexts(axis.m_strXTitle, axis.m_strXUnit, axis.m_nXPrecision, kXAxis, 0);
        m_graph.SetAxisTexts(axis.m_strYTitle, axis.m_strYUnit, axis.m_nYPrecision, kYAxis, 0);
        m_graph.ApplySeriesCopies(m_graphsPage->Copies());
    }
    m_axisPage.reset();
    m_graphsPage.reset();
}

void GraphWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_frame->setGeometry(0, 0, event->size().width(), event->size().height());
    // The frame's parts follow at once, also while hidden, not at the next turn of the event
    // loop.
    if (QLayout* layout = m_frame->layout())
        layout->activate();
    m_frame->Container().LayOut();
}

// --- the window side of CGraphWnd

bool CGraphWnd::Create(const std::string& name, const ui::Rect& rect, QWidget* parent, int id,
                       unsigned style, unsigned frameOption) {
    if (m_window)
        return false;
    m_frameOption = frameOption;
    m_id = id;
    m_shown = (style & kVisibleStyle) != 0;
    auto* window = new GraphWindow(*this, frameOption, nullptr);
    window->setObjectName(platform::ToQt(name));
    window->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
    m_window = window;
    SetParentWindow(parent);
    return true;
}

void CGraphWnd::SetParentWindow(QWidget* parent) {
    if (!m_window)
        return;
    const QRect place = m_window->geometry();
    m_window->setParent(parent);
    m_window->setGeometry(place);
    m_window->setVisible(parent && m_shown);
}

void CGraphWnd::ShowWindow(bool show) {
    m_shown = show;
    if (m_window && m_window->parentWidget())
        m_window->setVisible(show);
}

void CGraphWnd::DestroyWindow() {
    delete m_window.data();
    m_frame = nullptr;
}

CGraphPanel* CGraphWnd::Panel() const {
    auto* window = static_cast<GraphWindow*>(m_window.data());
    return window ? &window->Frame().Container().Panel() : nullptr;
}

// --- the walk over a graph's parts

CGraphWnd* FindGraphParent(const QWidget* start) {
    for (const QWidget* w = start; w; w = w->parentWidget())
        if (const auto* window = dynamic_cast<const GraphWindow*>(w))
            return &window->Graph();
    return nullptr;
}

int FindInParents(QWidget* start, const std::function<int(CGraphBaseClass&)>& visit) {
    for (QWidget* w = start; w; w = w->parentWidget())
        if (auto* part = dynamic_cast<CGraphBaseClass*>(w))
            if (const int answer = visit(*part))
                return answer;
    return 0;
}

namespace {

// The parts from `start` up, each dropped once its window is gone: a part's call may run a
// dialog, during which the graph's windows can be deleted.
void ForEachPartUpwards(QWidget* start, const std::function<void(CGraphBaseClass&)>& call) {
    std::vector<std::pair<QPointer<QWidget>, CGraphBaseClass*>> parts;
    for (QWidget* w = start; w; w = w->parentWidget())
        if (auto* part = dynamic_cast<CGraphBaseClass*>(w))
            parts.emplace_back(w, part);
    for (const auto& [window, part] : parts)
        if (window)
            call(*part);
}

}  // namespace

void AddContextMenuItemsUpwards(QWidget* start, QMenu& menu) {
    ForEachPartUpwards(start, [&menu](CGraphBaseClass& part) { part.AddContextMenuItems(menu); });
}

void OnMenuCommandUpwards(QWidget* start, int id) {
    ForEachPartUpwards(start, [id](CGraphBaseClass& part) { part.OnMenuCommand(id); });
}

void AddPropertyPagesUpwards(QWidget* start, GraphPropertySheet& sheet) {
    ForEachPartUpwards(start, [&sheet](CGraphBaseClass& part) { part.AddPropertyPages(sheet); });
}

void ApplyPropertiesUpwards(QWidget* start, int result) {
    ForEachPartUpwards(start, [result](CGraphBaseClass& part) { part.ApplyProperties(result); });
}

}  // namespace graph
