#pragma once
// The page index of a recording as the program's list shows it: two rows a page (its name with
// the page's image, then its start time), and the start time of the page on screen beside it.
// A stored recording's reader fills it at once, the live recorder page by page.

#include <string>

namespace acquisition {

class PageListView {
public:
    virtual ~PageListView() = default;

    virtual int RowCount() const = 0;
    virtual void Clear() = 0;
    // `image` -1: none.
    virtual void AppendRow(const std::string& text, int image) = 0;
    virtual void SetRowText(int row, const std::string& text) = 0;
    // The first row selected and focused; the last row scrolled into sight.
    virtual void SelectFirstRow() = 0;
    virtual void ShowLastRow() = 0;
    virtual void SetPageStartText(const std::string& text) = 0;
};

}  // namespace acquisition
