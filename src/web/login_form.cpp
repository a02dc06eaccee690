#include "web/login_form.h"

#include "platform/text.h"
#include "web/registration_form.h"

bool CSetHystogramRange::OnOK() {
    if (m_bAuthorised) {
        m_account.State().id = m_strCode;
        m_account.CheckTechnician(false, m_strCode);
        if (!m_account.State().checked) {
            platform::AfxMessageBox("Nome utente errato", MB_ICONSTOP);
            return false;
        }
        return true;
    }
    if (m_account.Client().HttpFindAcrediaUser(m_strCode, m_strPassword, 0) != "OK") {
        platform::AfxMessageBox("Nome utente o password errati", MB_ICONSTOP);
        return false;
    }
    return true;
}

void CSetHystogramRange::OnRegisterUser() {
    CSelDocToPrint registration;
    if (registration.DoModal() != IDOK)
        return;
    std::string answer = m_account.Client().HttpAddAcrediaUser(
        registration.m_strCode, registration.m_strPassword, registration.m_strMail);
    if (platform::Contains(answer, "OK"))
        answer += platform::Format(
            "\nLe informazioni sulla registrazione sono state inviate "
            "all'indirizzo %s",
            registration.m_strMail.c_str());
    platform::AfxMessageBox(answer);
}

void CSetHystogramRange::OnForgotPassword() {
    if (m_strCode.empty()) {
        platform::AfxMessageBox("Inserire codice utente", MB_ICONINFORMATION);
        return;
    }
    // The server mails the password to the address it holds; the typed one is not needed.
    platform::AfxMessageBox(m_account.Client().HttpFindAcrediaUser(m_strCode, "", 1));
}
