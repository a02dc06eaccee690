#include "app/view_page_list.h"

#include "app/kx9monitor_view.h"
#include "app/view_lookup.h"

int ViewPageList::RowCount() const {
    const CKX9MonitorView* view = m_views.Current();
    return view ? view->m_PageList.GetItemCount() : 0;
}

void ViewPageList::Clear() {
    if (CKX9MonitorView* view = m_views.Current())
        view->m_PageList.DeleteAllItems();
}

void ViewPageList::AppendRow(const std::string& text, int image) {
    if (CKX9MonitorView* view = m_views.Current())
        view->m_PageList.InsertItem(view->m_PageList.GetItemCount(), text, image);
}

void ViewPageList::SetRowText(int row, const std::string& text) {
    if (CKX9MonitorView* view = m_views.Current())
        view->m_PageList.SetItemText(row, 0, text);
}

void ViewPageList::SelectFirstRow() {
    if (CKX9MonitorView* view = m_views.Current())
        view->m_PageList.SetRowStates(0, ui::RVS_SELECTED | ui::RVS_FOCUSED);
}

void ViewPageList::ShowLastRow() {
    if (CKX9MonitorView* view = m_views.Current())
        view->m_PageList.EnsureVisible(view->m_PageList.GetItemCount() - 1);
}

void ViewPageList::SetPageStartText(const std::string& text) {
    if (CKX9MonitorView* view = m_views.Current())
        view->m_strPageStartTime = text;
}
