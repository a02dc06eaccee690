#include "ui/print_dialog.h"

#include <QPrintDialog>
#include <QPrinter>

#include "platform/qt_text.h"
namespace ui {

int CPrintDialog::RunOnScreen() {
    QPrinter printer(QPrinter::HighResolution);
    if (!m_strPrinterName.empty())
        printer.setPrinterName(platform::SystemNameToQt(m_strPrinterName));
    printer.setCopyCount(m_nCopies);
    if (!m_strOutputFile.empty())
        printer.setOutputFileName(platform::SystemNameToQt(m_strOutputFile));
    QPrintDialog dialog(&printer);
    dialog.setMinMax(m_nMinPage, m_nMaxPage);
    dialog.setFromTo(m_nFromPage, m_nToPage);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    if (dialog.exec() != QDialog::Accepted)
        return IDCANCEL;
    m_bPageRange = dialog.printRange() == QAbstractPrintDialog::PageRange;
    m_nFromPage = printer.fromPage();
    m_nToPage = printer.toPage();
    m_nCopies = printer.copyCount();
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        m_strPrinterName.clear();
        m_strOutputFile = platform::SystemNameFromQt(printer.outputFileName());
    } else {
        m_strPrinterName = platform::SystemNameFromQt(printer.printerName());
        m_strOutputFile.clear();
    }
    return IDOK;
}

}  // namespace ui
