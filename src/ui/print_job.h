#pragma once
// The framework's printing: a view's four print hooks driven over the pages of a job, on a
// printer, into a PDF file when no printer is chosen, or into the print preview.

#include <string>
#include <string_view>

#include "platform/operator.h"

class QPagedPaintDevice;
class QPainter;

namespace ui {

struct CPrintInfo;

// What a printable view provides.
class PrintHooks {
public:
    virtual ~PrintHooks() = default;
    // Presets the dialog and calls DoPreparePrinting; false stops the job before it starts.
    virtual bool OnPreparePrinting(CPrintInfo& info) = 0;
    // Before the first page; the device may still be set up (orientation).
    virtual void OnBeginPrinting(QPagedPaintDevice& device, CPrintInfo& info) = 0;
    virtual void OnPrint(QPainter& painter, CPrintInfo& info) = 0;
    // After the last page, also when the job ended early.
    virtual void OnEndPrinting(CPrintInfo& info) = 0;
};

// The dialog (unless the job is direct or a preview); a direct job takes the default printer.
// Without a printer the operator chooses a PDF file. False when the operator cancelled.
bool DoPreparePrinting(CPrintInfo& info);

// The printer a direct job goes to; empty when the system has none. Tests install their own
// answer (nullptr: the system's default printer again).
std::string DefaultPrinterName();
void SetDefaultPrinterSource(std::string (*source)());

// Print (57607), print direct (57608) and print preview (57609).
void OnFilePrint(PrintHooks& hooks);
void OnFilePrintDirect(PrintHooks& hooks);
void OnFilePrintPreview(PrintHooks& hooks);

// Prints the prepared job's pages on `device`, from OnBeginPrinting to OnEndPrinting. False
// when the device could not be painted on (nothing printed; OnEndPrinting has run).
bool PrintPages(PrintHooks& hooks, CPrintInfo& info, QPagedPaintDevice& device);

// The print preview of a prepared job, run through the operator.
class CPrintPreviewDlg : public platform::ModalDialog {
public:
    CPrintPreviewDlg(PrintHooks& hooks, CPrintInfo& info) : m_hooks(hooks), m_info(info) {}
    std::string DialogName() const override { return "CPrintPreviewDlg"; }
    int RunOnScreen() override;
    // Paints the job's pages on `device`, as the preview does for each of its renderings.
    bool Render(QPagedPaintDevice& device) { return PrintPages(m_hooks, m_info, device); }

private:
    PrintHooks& m_hooks;
    CPrintInfo& m_info;
};

}  // namespace ui
