// The list printer's rules without paper: the cell codes, the copy the report is printed from,
// and the page layout and range.
#include <gtest/gtest.h>

#include <QImage>

#include "ui/print_cell_codes.h"
#include "ui/print_dialog.h"
#include "ui/print_list_ctrl.h"
#include "ui/report_print_copy.h"

using namespace ui;

TEST(PrintCellCodesTest, ColoursBecomeCodesAndCodesBecomeColoursAgain) {
    EXPECT_EQ(CellColorCodes(kPrintYellow, kPrintBlue), "{B1}{T1}");
    EXPECT_EQ(CellColorCodes(kPrintRed, kPrintRed), "{B2}{T2}");
    EXPECT_EQ(CellColorCodes(kPrintGreen, kPrintBlack), "{B3}");
    EXPECT_EQ(CellColorCodes(kPrintWhite, 0x123456), "");

    const PrintedCell cell = DecodeCell("SUPERATA{B1}{T1}");
    EXPECT_EQ(cell.text, "SUPERATA");
    EXPECT_EQ(cell.bkColor, kPrintYellow);
    EXPECT_EQ(cell.textColor, kPrintBlue);
    // A later code of a kind wins; codes without a colour only go.
    EXPECT_EQ(DecodeCell("{B1}x{B3}").bkColor, kPrintGreen);
    const PrintedCell plain = DecodeCell("a{B7}b{T10}c{B24}");
    EXPECT_EQ(plain.text, "abc");
    EXPECT_EQ(plain.bkColor, kPrintWhite);
    EXPECT_EQ(plain.textColor, kPrintBlack);
    // Not codes: out of range, leading zero, unclosed.
    EXPECT_EQ(StripCellCodes("{B25}{T11}{B01}{B0}{B1"), "{B25}{T11}{B01}{B0}{B1");
}

namespace {
void AddRow(CReportCtrl& list, const std::string& first, const std::string& second) {
    const int row = list.InsertItem(list.GetItemCount(), first);
    list.SetItemText(row, 1, second);
}
}  // namespace

TEST(ReportPrintCopyTest, ColoursTravelAsCodesAndTheListStaysAsItWas) {
    CReportCtrl list;
    list.InsertColumn(0, "A");
    list.InsertColumn(1, "B", LVCFMT_RIGHT);
    AddRow(list, "RAPPORTO", "1234");
    AddRow(list, "94 dB", "SUPERATA");
    list.SetItemBkColor(1, 1, kPrintYellow);
    list.SetItemTextColor(1, 1, kPrintBlue);

    const PrintedList copy = MakeReportPrintCopy(list);
    ASSERT_EQ(copy.rows.size(), 2u);
    EXPECT_EQ(copy.columns[1].format, LVCFMT_RIGHT);
    EXPECT_EQ(copy.Cell(0, 0), "RAPPORTO");
    EXPECT_EQ(copy.Cell(1, 1), "SUPERATA{B1}{T1}");
    EXPECT_EQ(list.GetItemText(1, 1), "SUPERATA");
    EXPECT_EQ(copy.Cell(99, 0), "");
    EXPECT_EQ(copy.Cell(0, 7), "");
}

namespace {
// A copy of `header` rows, then "PROVE" in the report's title colour, a test and "PROVE" again.
PrintedList ReportCopy(int header) {
    PrintedList copy;
    copy.columns = {ListColumn{"A", LVCFMT_LEFT, 10}, ListColumn{"B", LVCFMT_LEFT, 10}};
    for (int row = 0; row < header; ++row)
        copy.rows.push_back({"riga " + std::to_string(row), "x"});
    copy.rows.push_back({"PROVE{B1}", ""});
    copy.rows.push_back({"94 dB", "SUPERATA{B3}"});
    copy.rows.push_back({"PROVE", "again"});
    return copy;
}
}  // namespace

TEST(ReportPrintCopyTest, TheTestsBeginThePageAfterTheHeaderWhateverItsLength) {
    // (header rows, where "PROVE" lands) with 40 rows to a page.
    for (auto [header, tests] : {std::pair{10, 40}, {39, 40}, {40, 40}, {41, 80}, {95, 120}}) {
        SCOPED_TRACE(header);
        PrintedList copy = ReportCopy(header);
        ASSERT_EQ(MoveTestsToPageStart(copy, 40), tests);
        ASSERT_EQ(copy.rows.size(), static_cast<size_t>(tests + 3));
        EXPECT_EQ(copy.Cell(header - 1, 0), "riga " + std::to_string(header - 1));
        for (int row = header; row < tests; ++row)
            EXPECT_EQ(copy.rows[row], std::vector<std::string>(2)) << row;
        EXPECT_EQ(copy.Cell(tests, 0), "PROVE{B1}");
        EXPECT_EQ(copy.Cell(tests + 2, 1), "again");  // only the first one moves
    }
    // A cell that is not exactly "PROVE" once its codes are gone moves nothing.
    PrintedList noTests = ReportCopy(0);
    noTests.rows.erase(noTests.rows.begin());
    noTests.rows.back()[0] = "PROVE ";
    EXPECT_EQ(MoveTestsToPageStart(noTests, 40), -1);
    EXPECT_EQ(noTests.rows.size(), 2u);
}

TEST(PrintLayoutTest, FontsScaleFromTheScreenAndEveryCountedRowFitsItsPage) {
    EXPECT_EQ(ScaleToPrinter(15, 600, 96), 93);
    EXPECT_EQ(ScaleToPrinter(10, 600, 0), -1);
    EXPECT_EQ(ScaleToPrinter(10, 0, 96), -1);

    CPrintListCtrl printer;
    printer.SetTitleAndRowSize(15);
    printer.SetMargins(200, 100);
    for (bool headings : {false, true})
        for (int height = 400; height <= 8000; height += 97) {
            printer.SetPrintColumnHeadings(headings);
            const PrintPageLayout l = printer.ComputeLayout(4960, height, 600, 96);
            SCOPED_TRACE(height);
            EXPECT_GE(l.rowsPerPage, 1);
            if (l.rowsBottom - l.rowsTop >= l.rowHeight) {
                EXPECT_LE(l.rowsTop + l.rowsPerPage * l.rowHeight, l.rowsBottom);
            }
            EXPECT_LE(l.rowsBottom + 10, l.footerTop);
        }
    // A4 at 600 dpi: the verification report's page.
    printer.SetPrintColumnHeadings(FALSE);
    const PrintPageLayout a4 = printer.ComputeLayout(4960, 7016, 600, 96);
    EXPECT_EQ(a4.rowHeight, 99);
    EXPECT_EQ(a4.headerHeight, 4 * 93 + 20);
    EXPECT_EQ(a4.rowsPerPage, 64);
}

TEST(PrintLayoutTest, ThePageRangeCountsAPageMoreThanTheFullPages) {
    // 96 dpi on a 96 dpi screen: rows 21 high, 40 to a page of this height.
    QImage page(600, 980, QImage::Format_RGB32);
    page.setDotsPerMeterX(3780);
    page.setDotsPerMeterY(3780);
    CPrintListCtrl printer;
    printer.SetTitleAndRowSize(15);
    for (auto [rows, pages] : {std::pair{100, 3}, {80, 3}, {0, 1}, {39, 1}}) {
        PrintedList list;
        list.columns = {ListColumn{"A", LVCFMT_LEFT, 10}};
        list.rows.assign(rows, {"x"});
        printer.SetList(&list);
        CPrintInfo info;
        ASSERT_TRUE(printer.OnPreparePrinting(info, "T"));
        printer.PrepareDC(page, info);
        ASSERT_EQ(printer.RowsPerPage(), 40);
        EXPECT_EQ(info.GetMinPage(), 1);
        EXPECT_EQ(info.GetMaxPage(), pages) << rows;
        printer.OnEndPrinting();
    }
    printer.SetList(nullptr);
    CPrintInfo info;
    EXPECT_FALSE(printer.OnPreparePrinting(info, "T"));
}
