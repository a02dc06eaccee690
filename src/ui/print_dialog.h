#pragma once
// The print dialog, run modally through the operator: the printer, the pages and the copies.
// When no printer is chosen the job goes to a PDF file (m_strOutputFile).

#include <string>

#include "platform/operator.h"
#include "platform/win_types.h"

namespace ui {

class CPrintDialog : public platform::ModalDialog {
public:
    std::string DialogName() const override { return "CPrintDialog"; }
    int RunOnScreen() override;

    // The pages to print: every page unless m_bPageRange.
    bool m_bPageRange = false;
    int m_nFromPage = 1;
    int m_nToPage = 1;
    int m_nMinPage = 1;
    int m_nMaxPage = 0xFFFF;
    int m_nCopies = 1;
    // Empty: no printer; the job is written as PDF into m_strOutputFile.
    std::string m_strPrinterName;
    std::string m_strOutputFile;
};

// What a print job carries from its preparation to its last page (the framework's print info).
struct CPrintInfo {
    CPrintDialog m_PD;
    BOOL m_bPreview = FALSE;  // the pages go to the print preview
    BOOL m_bDirect = FALSE;   // printed without the dialog
    BOOL m_bContinuePrinting = TRUE;
    int m_nCurPage = 1;
    std::string m_strPageDesc;

    void SetMinPage(int page) { m_PD.m_nMinPage = page; }
    void SetMaxPage(int page) { m_PD.m_nMaxPage = page; }
    int GetMinPage() const { return m_PD.m_nMinPage; }
    int GetMaxPage() const { return m_PD.m_nMaxPage; }
    int GetFromPage() const { return m_PD.m_nFromPage; }
    int GetToPage() const { return m_PD.m_nToPage; }
};

}  // namespace ui
