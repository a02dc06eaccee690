#include "web/registration_form.h"

#include "platform/text.h"
#include "web/form_body.h"

namespace web {

// The login posts its fields with the "&" clean-up, the registration with the wider one.
bool LoginCanSendBack(const std::string& value) {
    return CleanValue(value, CleanUp::Nine) == CleanValue(value, CleanUp::Ampersand);
}

std::string CharactersTheLoginCannotSendBack() {
    std::string list;
    for (char c = ' '; c <= '~'; ++c) {
        if (LoginCanSendBack(std::string(1, c)))
            continue;
        if (!list.empty())
            list += ' ';
        list += c;
    }
    return list;
}

}  // namespace web

bool CSelDocToPrint::OnOK() {
    if (m_strCode.size() < 6 || platform::Atoi(m_strCode) == 0 ||
        !web::LoginCanSendBack(m_strCode)) {
        platform::AfxMessageBox(
            "Il codice utente deve essere di 6 numeri (e' il codice di registrazione del "
            "ministero dei trasporti).",
            MB_ICONSTOP);
        return false;
    }
    if (m_strPassword != m_strConfirm) {
        platform::AfxMessageBox("I campi password e conferma password non coincidono.",
                                MB_ICONSTOP);
        return false;
    }
    if (!web::LoginCanSendBack(m_strPassword)) {
        platform::AfxMessageBox(
            "La password non puo' contenere i caratteri " + web::CharactersTheLoginCannotSendBack(),
            MB_ICONSTOP);
        return false;
    }
    return true;
}
