#include "app/frame_graph_host.h"

#include "app/kx9monitor_view.h"

std::string FrameGraphHost::TimeLabel(int row) {
    // The live segment is in the report list, a stored page in the data list.
    if (m_view.Services().SelectedSegment() == -1)
        return m_view.m_ReportList.IsValidRow(row) ? m_view.m_ReportList.GetItemText(row, 0)
                                                   : std::string();
    const ui::VirtualListCtrl& data = m_view.m_DataList;
    return row >= 0 && row < data.GetItemCount() ? data.GetItemText(row, 0) : std::string();
}
