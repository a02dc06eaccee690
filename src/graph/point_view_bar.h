#pragma once
// The "Points" bar of a graph's frame: a dockable two-column list ("X", "Y") of the points of
// one series, each value with its axis' unit. The list holds no texts; it asks for the rows
// it shows. It follows the graph's changes row by row (a run of points at once, and only once
// the bar is on the screen), can be frozen (change code 12) and resumed (code 11), and offers
// the graph's "Properties" sheet from its context menu.

#include <string>

#include "graph/graph_base.h"
#include "graph/graph_change.h"
#include "ui/list_ctrl_widget.h"
#include "ui/sizing_control_bar.h"
#include "ui/virtual_list_ctrl.h"

namespace graph {

class CGraphComboBox;
class CGraphWnd;

// The bar's list window: a part of the graph that opens its context menu.
class C3DListCtrl : public ui::ListCtrlWidget, public CGraphBaseClass {
public:
    C3DListCtrl(ui::VirtualListCtrl& list, QWidget* parent);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

class CPointViewBar : public ui::CSizingControlBar,
                      public CGraphBaseClass,
                      public GraphChangeReceiver {
public:
    static constexpr int kSelectorId = 11005;
    static constexpr int kListId = 11006;
    static constexpr int kMargin = 5;

    CPointViewBar();
    ~CPointViewBar() override;

    // The bar with its (hidden) series selector and its list.
    bool Create(const std::string& title, QMainWindow* parent, int cx, int cy, bool hasGripper,
                int id, unsigned style) override;

    int OnGraphChange(const GraphChange& change) override;
    // "Properties".
    void AddContextMenuItems(QMenu& menu) override;
    void OnMenuCommand(int id) override;

    // The rows follow the selected series' points (only while tracking).
    void Refresh(CGraphWnd* graph = nullptr);
    bool IsTracking() const { return m_tracking; }
    // The series listed, or -1.
    int SelectedSeries() const;
    const ui::VirtualListCtrl& List() const { return m_list; }
    C3DListCtrl& ListWindow() const { return *m_listWindow; }
    CGraphComboBox& Selector() const { return *m_selector; }
    // Selects the selector's item (CBN_SELCHANGE).
    void SelectItem(int item);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    class Content;

    std::string RowText(int row, int column) const;
    void LayOut(int cx, int cy);
    void OnSeriesRemoved(int series);

    ui::VirtualListCtrl m_list;
    Content* m_content = nullptr;
    CGraphComboBox* m_selector = nullptr;
    C3DListCtrl* m_listWindow = nullptr;
    bool m_tracking = true;
    // Rows a run of points added while the bar was off the screen, set at its next showing.
    bool m_rowsBehind = false;
};

}  // namespace graph
