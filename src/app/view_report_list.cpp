#include "app/view_report_list.h"

#include "app/kx9monitor_view.h"
#include "app/view_lookup.h"

int ViewReportList::ReportRowCount() const {
    const CKX9MonitorView* view = m_views.Current();
    return view ? view->m_ReportList.GetItemCount() : 0;
}

void ViewReportList::InsertReportRow(int row, const std::string& time) {
    if (CKX9MonitorView* view = m_views.Current())
        view->m_ReportList.InsertItem(row, time);
}

void ViewReportList::SetReportText(int row, int column, const std::string& text) {
    if (CKX9MonitorView* view = m_views.Current())
        view->m_ReportList.SetItemText(row, column, text);
}

bool ViewReportList::FollowsLastRow() const {
    const CKX9MonitorView* view = m_views.Current();
    return view && view->m_bReportListClicked;
}

void ViewReportList::SetFollowsLastRow() {
    if (CKX9MonitorView* view = m_views.Current())
        view->m_bReportListClicked = TRUE;
}

void ViewReportList::ShowReportRow(int row) {
    if (CKX9MonitorView* view = m_views.Current())
        view->m_ReportList.EnsureVisible(row);
}

void ViewReportList::InsertEmptyReportRows(int count) {
    if (CKX9MonitorView* view = m_views.Current())
        for (int row = 0; row < count; ++row)
            view->m_ReportList.InsertItem(0, "");
}
