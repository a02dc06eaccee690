#include "graph/point_view_bar.h"

#include <QHeaderView>
#include <QMainWindow>
#include <QMouseEvent>

#include "graph/axis_label.h"
#include "graph/graph_combo_box.h"
#include "graph/graph_commands.h"
#include "graph/graph_dialogs.h"
#include "graph/graph_panel.h"
#include "graph/graph_wnd.h"

namespace graph {

namespace {

constexpr int kSelectorDropHeight = 100;

// While the bar is shown, a change that its caller will show later is not painted row by row.
class QuietChange {
public:
    QuietChange(QWidget& bar, const GraphChange& change)
        : m_bar(bar),
          m_quiet(((change.code >= kPointAdded && change.code <= kPointsCleared) ||
                   change.code == kPointsAppended) &&
                  change.notify == 0 && bar.isVisible()) {
        if (m_quiet)
            m_bar.setUpdatesEnabled(false);
    }
    ~QuietChange() {
        if (m_quiet)
            m_bar.setUpdatesEnabled(true);
    }
    QuietChange(const QuietChange&) = delete;
    QuietChange& operator=(const QuietChange&) = delete;

private:
    QWidget& m_bar;
    bool m_quiet;
};

}  // namespace

// The bar's inside, which places the selector and the list whenever it is resized.
class CPointViewBar::Content : public QWidget {
public:
    explicit Content(CPointViewBar& bar) : m_bar(bar) {}

protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        m_bar.LayOut(width(), height());
    }

private:
    CPointViewBar& m_bar;
};

// --- the list window

C3DListCtrl::C3DListCtrl(ui::VirtualListCtrl& list, QWidget* parent)
    : ui::ListCtrlWidget(list, parent) {
    setFrameShape(QFrame::StyledPanel);
}

void C3DListCtrl::mouseReleaseEvent(QMouseEvent* event) {
    ui::ListCtrlWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::RightButton)
        ShowGraphContextMenu(this, mapToGlobal(event->position().toPoint()));
}

// --- the bar

CPointViewBar::CPointViewBar() {
    m_list.SetTextSource([this](int row, int column) { return RowText(row, column); });
}

CPointViewBar::~CPointViewBar() = default;

bool CPointViewBar::Create(const std::string& title, QMainWindow* parent, int cx, int cy,
                           bool hasGripper, int id, unsigned style) {
    if (!ui::CSizingControlBar::Create(title, parent, cx, cy, hasGripper, id, style))
        return false;
    m_content = new Content(*this);
    m_selector = new CGraphComboBox(m_content);
    m_selector->setObjectName(IdName(kSelectorId));
    m_selector->setGeometry(0, 0, kSelectorDropHeight, kSelectorDropHeight);
    m_selector->hide();
    QObject::connect(m_selector, &QComboBox::activated, m_content, [this] { Refresh(); });

    m_list.SetStyle(ui::LVS_SINGLESEL);
    m_list.SetExtendedStyle(ui::LVS_EX_GRIDLINES | ui::LVS_EX_FULLROWSELECT);
    const int half = kSelectorDropHeight / 2;
    m_list.InsertColumn(0, "X", ui::LVCFMT_LEFT, half);
    m_list.InsertColumn(1, "Y", ui::LVCFMT_LEFT, half);
    m_listWindow = new C3DListCtrl(m_list, m_content);
    m_listWindow->setObjectName(IdName(kListId));
    m_listWindow->horizontalHeader()->setSectionsClickable(false);
    SetContent(m_content);
    return true;
}

void CPointViewBar::LayOut(int cx, int cy) {
    const int h = m_selector->height();
    m_selector->setGeometry(kMargin, kMargin, std::max(0, cx - 2 * kMargin), h);
    // The selector is never shown: its room goes to the list, which fills the bar.
    const int top = m_selector->isHidden() ? kMargin : h + 2 * kMargin;
    m_listWindow->setGeometry(kMargin, top, std::max(0, cx - 2 * kMargin),
                              std::max(0, cy - top - kMargin));
    const int half = m_listWindow->viewport()->width() / 2;
    for (int column = 0; column < 2; ++column)
        m_listWindow->horizontalHeader()->resizeSection(column, half);
}

int CPointViewBar::SelectedSeries() const {
    return m_selector ? m_selector->SeriesIndexAt(m_selector->currentIndex()) : -1;
}

void CPointViewBar::SelectItem(int item) {
    m_selector->setCurrentIndex(item);
    Refresh();
}

std::string CPointViewBar::RowText(int row, int column) const {
    const CGraphWnd* graph = FindGraphParent(this);
    const CGraphProps* series = graph ? graph->GetGraph(SelectedSeries()) : nullptr;
    // A frozen list may hold more rows than the series has points.
    if (!series || !series->IsValidIndex(row))
        return {};
    const GraphPoint& point = series->GetPoint(row);
    return column == 0 ? graph->FormatAxisValue(point.x, kXAxis, CGraphAxisLabel::kValueAndUnit)
                       : graph->FormatAxisValue(point.y, kYAxis, CGraphAxisLabel::kValueAndUnit);
}

void CPointViewBar::Refresh(CGraphWnd* graph) {
    if (!m_tracking || !m_selector)
        return;
    m_rowsBehind = false;
    if (!graph)
        graph = FindGraphParent(this);
    const CGraphProps* series = graph ? graph->GetGraph(SelectedSeries()) : nullptr;
    if (!series) {
        m_list.DeleteAllItems();
        return;
    }
    const int count = series->GetCount();
    if (m_list.GetItemCount() != count)
        m_list.SetItemCount(count);
    else if (count != 0)
        m_list.RedrawItems(0, count - 1);
}

void CPointViewBar::OnSeriesRemoved(int series) {
    const int item = m_selector->FindSeries(series);
    if (item < 0)
        return;
    const bool wasSelected = item == m_selector->currentIndex();
    m_selector->removeItem(item);
    if (m_selector->count() == 0) {
        m_list.DeleteAllItems();
        m_selector->setCurrentIndex(-1);
    } else if (wasSelected) {
        SelectItem(0);
    }
}

int CPointViewBar::OnGraphChange(const GraphChange& change) {
    if (!m_selector)
        return 0;
    const QuietChange quiet(*this, change);
    const bool listed = m_tracking && change.series == SelectedSeries() && change.series >= 0;
    switch (change.code) {
        case kPointAdded:
            if (listed)
                m_list.InsertItem(change.point);
            break;
        case kPointsAppended:
            // Rows of a hidden list would cost their window's bookkeeping for every point
            // (millions in a long recording) before anybody looks at them.
            if (listed && !isVisible())
                m_rowsBehind = true;
            else if (listed)
                m_list.InsertItems(change.point, change.count);
            break;
        case kPointRemoved:
            if (listed)
                m_list.DeleteItem(change.point);
            break;
        case kPointChanged:
            if (listed)
                m_list.RedrawItems(change.point, change.point);
            break;
        case kSeriesAdded: {
            // Adding an item to an empty combo box selects it already.
            const bool none = m_selector->count() == 0 || m_selector->currentIndex() < 0;
            const int item = m_selector->AddSeries(change.series);
            if (none)
                SelectItem(item);
            break;
        }
        case kSeriesRemoved:
            OnSeriesRemoved(change.series);
            break;
        case kPointsCleared:
            if (change.series == -1 || change.series == SelectedSeries())
                m_list.DeleteAllItems();
            break;
        case kRangeSet:
            m_listWindow->viewport()->update();
            break;
        case kAxisChanged:
            if (change.notify)
                Refresh(change.graph);
            break;
        case kRedraw:
            m_listWindow->viewport()->repaint();
            Refresh(change.graph);
            break;
        case kResumePointList:
            m_tracking = true;
            m_listWindow->viewport()->repaint();
            Refresh(change.graph);
            break;
        case kFreezePointList:
            m_tracking = false;
            break;
        default:
            break;
    }
    return 0;
}

void CPointViewBar::AddContextMenuItems(QMenu& menu) {
    AddMenuCommand(menu, "Properties", kPropertiesCommand);
}

void CPointViewBar::OnMenuCommand(int id) {
    if (id != kPropertiesCommand)
        return;
    // The walk from the bar never passes the panel; its "General" page belongs in the sheet.
    const CGraphWnd* graph = FindGraphParent(this);
    RunPropertySheet(this, graph ? graph->Panel() : nullptr);
}

void CPointViewBar::showEvent(QShowEvent* event) {
    ui::CSizingControlBar::showEvent(event);
    if (m_rowsBehind)
        Refresh();
}

void CPointViewBar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        event->accept();
        ShowGraphContextMenu(this, mapToGlobal(event->position().toPoint()));
        return;
    }
    ui::CSizingControlBar::mouseReleaseEvent(event);
}

}  // namespace graph
