#include "ui/report_print_copy.h"

#include "ui/print_cell_codes.h"

namespace ui {

PrintedList MakeReportPrintCopy(const CReportCtrl& list) {
    PrintedList copy;
    const int columns = list.GetColumnCount();
    for (int column = 0; column < columns; ++column)
        copy.columns.push_back(list.Column(column));
    bool padded = false;
    for (int row = 0; row < list.GetItemCount(); ++row) {
        if (!padded && list.GetItemText(row, 0) == kReportTestsRow) {
            copy.rows.insert(copy.rows.end(), kReportPaddingRows,
                             std::vector<std::string>(columns));
            padded = true;
        }
        std::vector<std::string> cells;
        for (int column = 0; column < columns; ++column)
            cells.push_back(list.GetItemText(row, column) +
                            CellColorCodes(list.GetItemBkColor(row, column),
                                           list.GetItemTextColor(row, column)));
        copy.rows.push_back(std::move(cells));
    }
    return copy;
}

}  // namespace ui
