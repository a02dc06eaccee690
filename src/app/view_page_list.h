#pragma once
// The main view's page list (1602) and its page start time, as the reader of a stored
// recording and the live recorder fill them: the application's current view's, while one
// exists; nothing otherwise.

#include "acquisition/page_list_view.h"

class ViewLookup;

class ViewPageList : public acquisition::PageListView {
public:
    explicit ViewPageList(const ViewLookup& views) : m_views(views) {}

    int RowCount() const override;
    void Clear() override;
    void AppendRow(const std::string& text, int image) override;
    void SetRowText(int row, const std::string& text) override;
    void SelectFirstRow() override;
    void ShowLastRow() override;
    void SetPageStartText(const std::string& text) override;

private:
    const ViewLookup& m_views;
};
