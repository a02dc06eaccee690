#include "ui/report_print_copy.h"

#include "ui/print_cell_codes.h"

namespace ui {

PrintedList MakeReportPrintCopy(const CReportCtrl& list) {
    PrintedList copy;
    const int columns = list.GetColumnCount();
    for (int column = 0; column < columns; ++column)
        copy.columns.push_back(list.Column(column));
    for (int row = 0; row < list.GetItemCount(); ++row) {
        std::vector<std::string> cells;
        for (int column = 0; column < columns; ++column)
            cells.push_back(list.GetItemText(row, column) +
                            CellColorCodes(list.GetItemBkColor(row, column),
                                           list.GetItemTextColor(row, column)));
        copy.rows.push_back(std::move(cells));
    }
    return copy;
}

int MoveTestsToPageStart(PrintedList& copy, int rowsPerPage) {
    const int rows = static_cast<int>(copy.rows.size());
    int tests = 0;
    // The copy's cells carry their colour codes; the row is known by its text.
    while (tests < rows && DecodeCell(copy.Cell(tests, 0)).text != kReportTestsRow)
        ++tests;
    if (tests == rows)
        return -1;
    if (rowsPerPage < 1)
        return tests;
    const int padding = (rowsPerPage - tests % rowsPerPage) % rowsPerPage;
    copy.rows.insert(copy.rows.begin() + tests, padding,
                     std::vector<std::string>(copy.columns.size()));
    return tests + padding;
}

}  // namespace ui
