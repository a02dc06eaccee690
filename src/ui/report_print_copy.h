#pragma once
// The copy of the report list that the verification report is printed from: each cell's
// colours travel as cell codes, and empty rows put the tests (from the row whose first cell is
// "PROVE") at the top of a page once the page's rows are known. The list on screen is never
// touched.

#include "ui/print_list_ctrl.h"
#include "ui/report_ctrl.h"

namespace ui {

constexpr const char* kReportTestsRow = "PROVE";

PrintedList MakeReportPrintCopy(const CReportCtrl& list);

// Inserts empty rows before the first "PROVE" row so that it is the first row of a page of
// `rowsPerPage` rows: the second page, unless the rows above it fill more than one. Returns
// the index it ends up at, or -1 when the copy has no such row (nothing is inserted).
int MoveTestsToPageStart(PrintedList& copy, int rowsPerPage);

}  // namespace ui
