#pragma once
// The main view's report list (1000) as the live recorder fills it: the application's current
// view's, while one exists; nothing otherwise.

#include "acquisition/report_list_view.h"

class ViewLookup;

class ViewReportList : public acquisition::ReportListView {
public:
    explicit ViewReportList(const ViewLookup& views) : m_views(views) {}

    int ReportRowCount() const override;
    void InsertReportRow(int row, const std::string& time) override;
    void SetReportText(int row, int column, const std::string& text) override;
    bool FollowsLastRow() const override;
    void SetFollowsLastRow() override;
    void ShowReportRow(int row) override;
    void InsertEmptyReportRows(int count) override;

private:
    const ViewLookup& m_views;
};
