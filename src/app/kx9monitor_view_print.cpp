// The view's print hooks: "Stampa Rapporto" prints the report list as the two-page
// verification report, from a copy that carries each cell's colours as cell codes.

#include <QPagedPaintDevice>

#include "app/frame_command_ids.h"
#include "app/kx9monitor_view.h"
#include "ui/print_dialog.h"
#include "ui/report_print_copy.h"

namespace {
constexpr const char* kReportTitle = "QS4060KRTN RAPPORTO DI VERIFICA PERIODICA";
}  // namespace

void CKX9MonitorView::SetupListPrinter() {
    m_PrintList.SetPrintTitleHeader(TRUE);
    m_PrintList.SetClipAtPageWidth(TRUE);
    m_PrintList.SetVerticalLines(TRUE);
    m_PrintList.SetLineAfterEachRow(FALSE);
    m_PrintList.SetFooterFont("Times New Roman");
    m_PrintList.SetTitleFont("Arial");
    m_PrintList.SetTitleAndRowSize(12);
    m_PrintList.SetFooterSize(12);
}

bool CKX9MonitorView::OnCommand(unsigned id) {
    switch (id) {
        case cmd::ID_FILE_PRINT:
            ui::OnFilePrint(*this);
            return true;
        case cmd::ID_FILE_PRINT_DIRECT:
            ui::OnFilePrintDirect(*this);
            return true;
        case cmd::ID_FILE_PRINT_PREVIEW:
            ui::OnFilePrintPreview(*this);
            return true;
        default:
            return false;
    }
}

bool CKX9MonitorView::OnPreparePrinting(ui::CPrintInfo& info) {
    m_reportCopy = ui::MakeReportPrintCopy(m_ReportList);
    m_printCopy = m_reportCopy;
    m_PrintList.SetList(&m_printCopy);
    m_PrintList.SetPrintColumnHeadings(FALSE);
    m_PrintList.SetMargins(m_PrintList.LeftMargin(), 10);
    m_PrintList.SetClipAtPageWidth(TRUE);
    info.m_PD.m_nFromPage = 1;
    info.m_PD.m_nToPage = 2;
    info.SetMinPage(1);
    info.SetMaxPage(2);
    info.m_PD.m_nCopies = 1;
    if (!m_PrintList.OnPreparePrinting(info, kReportTitle))
        return false;
    return ui::DoPreparePrinting(info);
}

void CKX9MonitorView::OnBeginPrinting(QPagedPaintDevice& device, ui::CPrintInfo& info) {
    m_PrintList.SetMargins(200, 100);
    m_PrintList.SetRowFont("Arial");
    m_PrintList.SetTitleAndRowSize(15);
    m_PrintList.SetFooterFont("Arial");
    m_PrintList.SetFooterSize(10);
    device.setPageOrientation(QPageLayout::Portrait);
    m_PrintList.PrepareDC(device, info);
    // A preview begins again for every painting: the rows are padded from the plain copy.
    m_printCopy = m_reportCopy;
    const int tests = ui::MoveTestsToPageStart(m_printCopy, m_PrintList.RowsPerPage());
    // Only the tests' rows have vertical lines; a list without tests has none.
    m_PrintList.SetFirstRowWithLines(tests >= 0 ? tests - 1
                                                : static_cast<int>(m_printCopy.rows.size()));
    m_PrintList.RecountRows(info);
}

void CKX9MonitorView::OnPrint(QPainter& painter, ui::CPrintInfo& info) {
    m_PrintList.OnPrint(painter, info);
}

void CKX9MonitorView::OnEndPrinting(ui::CPrintInfo&) {
    // The copy stays until the next job: a preview paints its pages more than once.
    m_PrintList.OnEndPrinting();
}
