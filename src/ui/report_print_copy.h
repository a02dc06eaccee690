#pragma once
// The copy of the report list that the verification report is printed from: empty rows push
// the tests (from the row whose first cell is "PROVE") onto the second page, and each cell's
// colours travel as cell codes. The list on screen is never touched.

#include "ui/print_list_ctrl.h"
#include "ui/report_ctrl.h"

namespace ui {

constexpr int kReportPaddingRows = 30;
constexpr const char* kReportTestsRow = "PROVE";

PrintedList MakeReportPrintCopy(const CReportCtrl& list);

}  // namespace ui
