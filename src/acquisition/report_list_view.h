#pragma once
// The report list of a live recording as the program's list shows it: one row a sample, its
// elapsed time in column 0 and the levels after it. While it follows the last row, each new
// row is scrolled into sight.

#include <string>

namespace acquisition {

class ReportListView {
public:
    virtual ~ReportListView() = default;

    virtual int ReportRowCount() const = 0;
    virtual void InsertReportRow(int row, const std::string& time) = 0;
    virtual void SetReportText(int row, int column, const std::string& text) = 0;
    virtual bool FollowsLastRow() const = 0;
    virtual void SetFollowsLastRow() = 0;
    virtual void ShowReportRow(int row) = 0;
    // A page ended: empty rows in front of the old page's rows.
    virtual void InsertEmptyReportRows(int count) = 0;
};

}  // namespace acquisition
