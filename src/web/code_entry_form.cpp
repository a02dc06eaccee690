#include "web/code_entry_form.h"

std::string CSetLabelDlg::Prompt() const {
    return m_nMode == kTechnicianCode
               ? "Inserire codice identificativo del tecnico esecutore (6 CIFRE)"
               : "Inserire matricola del calibratore associato";
}

bool CSetLabelDlg::OnOK() {
    if (m_nMode != kTechnicianCode || m_strText.size() == 6)
        return true;
    platform::AfxMessageBox(
        "ATTENZIONE:\nIl codice identificativo dell'utente deve essere di 6 cifre", MB_ICONSTOP);
    return false;
}
