#pragma once
// Prints a report-style list page by page: a framed title header, optional column headings,
// one text line per row with the colours its cell codes ask for (print_cell_codes.h), and a
// framed footer with the page number and the print time.
//
// It prints a copy of the list (PrintedList), never the list on screen, so that what a print
// job adds to the texts can never reach the operator's list.

#include <QFont>
#include <memory>
#include <string>
#include <vector>

#include "platform/date_time.h"
#include "platform/win_types.h"
#include "ui/draw_text_format.h"
#include "ui/list_common.h"

class QPaintDevice;
class QPainter;

namespace ui {

struct CPrintInfo;

// What is printed: the list's columns and its cell texts, row by row.
struct PrintedList {
    std::vector<ListColumn> columns;
    std::vector<std::vector<std::string>> rows;

    // The cell, or "" for a cell the row does not have.
    const std::string& Cell(int row, int column) const;
};

// The sizes of a page and where its parts go, in device units.
struct PrintPageLayout {
    int pageWidth = 0;
    int pageHeight = 0;
    int titleFontHeight = 0;
    int rowFontHeight = 0;
    int footerFontHeight = 0;
    int headerHeight = 0;  // the framed title block, 0 without it
    int rowHeight = 0;
    int rowsTop = 0;     // the first row's top edge
    int rowsBottom = 0;  // no row reaches below
    int footerTop = 0;   // the footer band's top edge
    int rowsPerPage = 1;
};

// Points scaled from the screen's to the printer's resolution (integer division); -1 when
// either resolution is unknown.
int ScaleToPrinter(int points, int printerDpiY, int screenDpiY);

class CPrintListCtrl {
public:
    CPrintListCtrl();
    virtual ~CPrintListCtrl();
    CPrintListCtrl(const CPrintListCtrl&) = delete;
    CPrintListCtrl& operator=(const CPrintListCtrl&) = delete;

    // --- settings
    void SetList(const PrintedList* list) { m_pList = list; }
    void SetPrintColumnHeadings(BOOL on) { m_bPrintHead = on; }
    void SetPrintTitleHeader(BOOL on) { m_bPrintTitleHeader = on; }
    void SetPrintFooter(BOOL on) { m_bPrintFooter = on; }
    void SetClipAtPageWidth(BOOL on) { m_bClipAtPageWidth = on; }
    void SetVerticalLines(BOOL on) { m_bVerticalLines = on; }
    // Vertical lines only in rows whose index is above `row`.
    void SetFirstRowWithLines(int row) { m_nFirstRowWithLines = row; }
    void SetLineAfterEachRow(BOOL on) { m_bLineAfterEachRow = on; }
    void SetHeaderFill(BOOL on, COLORREF colour = 0xFFFFFF);
    void SetFooterFill(BOOL on, COLORREF colour = 0xFFFFFF);
    // Lines one and three of the title header while the footer carries page and time.
    void SetCustomFirstLine(BOOL on, const std::string& text = {}, unsigned format = DT_RIGHT);
    void SetCustomThirdLine(BOOL on, const std::string& text = {}, unsigned format = DT_RIGHT);
    void SetTitleFont(const std::string& face) { m_strTitleFont = face; }
    void SetFooterFont(const std::string& face) { m_strFooterFont = face; }
    void SetRowFont(const std::string& face) { m_strRowFont = face; }
    void SetTitleAndRowSize(int points) { m_nTitleRowSize = points; }
    void SetFooterSize(int points) { m_nFooterSize = points; }
    void SetMargins(int left, int top);
    int LeftMargin() const { return m_nLeftMargin; }
    int TopMargin() const { return m_nTopMargin; }

    // --- a print job
    // Keeps the title, counts columns and rows, takes the print time. FALSE without a list.
    BOOL OnPreparePrinting(CPrintInfo& info, const std::string& title);
    // Fonts and column widths for the device; sets the job's page range.
    void PrepareDC(QPaintDevice& device, CPrintInfo& info);
    // Counts the list's rows again after they changed, and sets the job's page range anew.
    void RecountRows(CPrintInfo& info);
    // Prints page info.m_nCurPage; stops the job when PrepareDC has not run.
    void OnPrint(QPainter& painter, CPrintInfo& info);
    void OnEndPrinting();

    // The layout PrepareDC worked out.
    const PrintPageLayout& Layout() const { return m_layout; }
    int RowsPerPage() const { return m_layout.rowsPerPage; }
    // Works out a page's layout from the device's size and resolution.
    PrintPageLayout ComputeLayout(int pageWidth, int pageHeight, int printerDpiY,
                                  int screenDpiY) const;

private:
    struct Column {
        int width = 0;
        int align = 0;  // 0 left, 1 centre, 2 right
        std::string heading;
    };
    struct Fonts {
        QFont title;
        QFont row;
        QFont footer;
    };

    int PrintTitleHeader(QPainter& painter, int page) const;
    int PrintColumnHeadings(QPainter& painter, int y) const;
    void PrintFooter(QPainter& painter, int page) const;
    void PrintReportRow(QPainter& painter, int row, int y) const;
    void DrawVerticalLines(QPainter& painter, int y, int height) const;
    std::string PrintTimeText() const;

    const PrintedList* m_pList = nullptr;
    BOOL m_bPrintHead = FALSE;
    BOOL m_bPrintTitleHeader = TRUE;
    BOOL m_bPrintFooter = TRUE;
    BOOL m_bClipAtPageWidth = TRUE;
    BOOL m_bVerticalLines = TRUE;
    int m_nFirstRowWithLines = 0;
    BOOL m_bLineAfterEachRow = FALSE;
    BOOL m_bFillHeader = FALSE;
    BOOL m_bFillFooter = FALSE;
    BOOL m_bCustomFirstLine = FALSE;
    BOOL m_bCustomThirdLine = FALSE;
    std::string m_strFirstLine;
    std::string m_strThirdLine;
    std::string m_strTitleFont = "Arial";
    std::string m_strFooterFont = "Arial";
    std::string m_strRowFont = "Arial";
    int m_nTitleRowSize = 10;
    int m_nFooterSize = 10;
    unsigned m_nFirstLineFormat = DT_RIGHT;
    unsigned m_nThirdLineFormat = DT_RIGHT;
    COLORREF m_headerFill = 0xFFFFFF;
    COLORREF m_footerFill = 0xFFFFFF;
    platform::DateTime m_printTime;
    std::vector<Column> m_columns;
    std::unique_ptr<Fonts> m_fonts;
    int m_nRowCount = 0;
    int m_nColCount = 0;
    PrintPageLayout m_layout;
    int m_nLeftMargin = 0;
    int m_nTopMargin = 0;
    std::string m_strTitle;
};

}  // namespace ui
