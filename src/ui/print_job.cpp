#include "ui/print_job.h"

#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <algorithm>

#include "platform/operator.h"
#include "platform/qt_text.h"
#include "ui/print_dialog.h"

namespace ui {

namespace {

// A PDF page at the resolution of a usual laser printer, so that the list prints as it would
// on paper.
constexpr int kPdfResolution = 600;

std::string (*g_defaultPrinterSource)() = nullptr;

// `where` is a file or printer name.
void ReportFailure(const std::string& where) {
    platform::AfxMessageBox("Stampa non riuscita:\n" + platform::SystemNameToText(where),
                            MB_OK | MB_ICONEXCLAMATION);
}

// The PDF goes to a temporary file that replaces the target only once every page is in it.
void PrintToPdf(PrintHooks& hooks, CPrintInfo& info) {
    const QString path = platform::SystemNameToQt(info.m_PD.m_strOutputFile);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        ReportFailure(info.m_PD.m_strOutputFile);
        return;
    }
    QPdfWriter writer(&file);
    writer.setResolution(kPdfResolution);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setCreator("KX9Monitor");
    if (!PrintPages(hooks, info, writer) || !file.commit()) {
        file.cancelWriting();
        ReportFailure(info.m_PD.m_strOutputFile);
    }
}

void PrintToPrinter(PrintHooks& hooks, CPrintInfo& info) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(platform::SystemNameToQt(info.m_PD.m_strPrinterName));
    printer.setCopyCount(std::max(1, info.m_PD.m_nCopies));
    if (!PrintPages(hooks, info, printer))
        ReportFailure(info.m_PD.m_strPrinterName);
}

void RunJob(PrintHooks& hooks, CPrintInfo& info) {
    if (!hooks.OnPreparePrinting(info))
        return;
    if (info.m_PD.m_strPrinterName.empty())
        PrintToPdf(hooks, info);
    else
        PrintToPrinter(hooks, info);
}

}  // namespace

std::string DefaultPrinterName() {
    if (g_defaultPrinterSource)
        return g_defaultPrinterSource();
    return platform::SystemNameFromQt(QPrinterInfo::defaultPrinterName());
}

void SetDefaultPrinterSource(std::string (*source)()) {
    g_defaultPrinterSource = source;
}

bool DoPreparePrinting(CPrintInfo& info) {
    CPrintDialog& dialog = info.m_PD;
    if (info.m_bPreview)
        return true;
    if (info.m_bDirect)
        dialog.m_strPrinterName = DefaultPrinterName();
    else if (dialog.DoModal() != IDOK)
        return false;
    if (!dialog.m_strPrinterName.empty() || !dialog.m_strOutputFile.empty())
        return true;
    platform::FileChoice choice;
    choice.save = true;
    choice.title = "Stampa su file PDF";
    choice.fileName = "Rapporto.pdf";
    choice.filter = "PDF (*.pdf)";
    const std::optional<std::string> file = platform::ChooseFile(choice);
    if (!file || file->empty())
        return false;
    dialog.m_strOutputFile = *file;
    return true;
}

bool PrintPages(PrintHooks& hooks, CPrintInfo& info, QPagedPaintDevice& device) {
    hooks.OnBeginPrinting(device, info);
    QPainter painter;
    if (!painter.begin(&device)) {
        hooks.OnEndPrinting(info);
        return false;
    }
    const CPrintDialog& dialog = info.m_PD;
    const int first = std::max(dialog.m_bPageRange ? dialog.m_nFromPage : 1, info.GetMinPage());
    const int last =
        std::min(dialog.m_bPageRange ? dialog.m_nToPage : info.GetMaxPage(), info.GetMaxPage());
    info.m_bContinuePrinting = TRUE;
    for (int page = first; page <= last && info.m_bContinuePrinting; ++page) {
        if (page != first)
            device.newPage();
        info.m_nCurPage = page;
        hooks.OnPrint(painter, info);
    }
    painter.end();
    hooks.OnEndPrinting(info);
    return true;
}

void OnFilePrint(PrintHooks& hooks) {
    CPrintInfo info;
    RunJob(hooks, info);
}

void OnFilePrintDirect(PrintHooks& hooks) {
    CPrintInfo info;
    info.m_bDirect = TRUE;
    RunJob(hooks, info);
}

void OnFilePrintPreview(PrintHooks& hooks) {
    CPrintInfo info;
    info.m_bPreview = TRUE;
    if (!hooks.OnPreparePrinting(info))
        return;
    CPrintPreviewDlg preview(hooks, info);
    preview.DoModal();
}

int CPrintPreviewDlg::RunOnScreen() {
    QPrintPreviewDialog dialog;
    dialog.setWindowTitle("Anteprima di stampa");
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [this](QPrinter* printer) { Render(*printer); });
    dialog.exec();
    return IDOK;
}

}  // namespace ui
