#pragma once
// The verification report as the main view's report list shows it (and the printout carries
// it): a title, the data sheet's values, the "PROVE" row where the second page begins, one row
// per test the file holds and the verdict, with the colours that go to paper.

#include <string>
#include <vector>

#include "platform/win_types.h"
#include "report/verification_file.h"
#include "ui/list_common.h"
#include "ui/print_cell_codes.h"
#include "ui/report_print_copy.h"

namespace ui {
class CReportCtrl;
}

namespace report {

// The colours of the report, among those that printing carries to paper.
inline constexpr COLORREF kTitleBk = ui::kPrintYellow;
inline constexpr COLORREF kFailedBk = ui::kPrintRed;
inline constexpr COLORREF kPassedBk = ui::kPrintGreen;
inline constexpr COLORREF kNoteText = ui::kPrintRed;
// The first cell of the row where page 2 begins.
inline constexpr const char* kTestsRow = ui::kReportTestsRow;

struct ReportRow {
    std::string label;
    std::string value;
    COLORREF labelBk = ui::CLR_DEFAULT;
    COLORREF valueBk = ui::CLR_DEFAULT;
    COLORREF valueText = ui::CLR_DEFAULT;
};

std::vector<ReportRow> ReportRows(const std::vector<FileSection>& sections);

// Empties the list, columns included, and fills it with the rows.
void FillReportList(ui::CReportCtrl& list, const std::vector<ReportRow>& rows);

}  // namespace report
