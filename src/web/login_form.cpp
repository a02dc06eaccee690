#include "web/login_form.h"

#include "platform/text.h"
#include "web/registration_form.h"
#include "web/service_paths.h"

namespace {
// What keeps a registered user out: the server's word, or why no word came.
std::string LoginRefusal(const web::WebClient& client) {
    if (client.LastPost().kind == web::PostOutcome::Kind::Busy)
        return "ATTENZIONE:\nServer occupato: nome utente e password non verificati.\nRiprovare "
               "piu' tardi.";
    if (const auto failure = web::PostFailure(client.LastPost(), web::kResultKey))
        return "ATTENZIONE:\nServer non raggiungibile: nome utente e password non verificati:\n" +
               *failure + "." + client.SettingsNote();
    return "Nome utente o password errati";
}
}  // namespace

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
        platform::AfxMessageBox(LoginRefusal(m_account.Client()), MB_ICONSTOP);
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
