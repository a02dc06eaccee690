#pragma once
// Registration of a new user of the web service: code, password twice, e-mail address.

#include <string>

#include "platform/operator.h"

class CSelDocToPrint : public platform::ModalDialog {
public:
    std::string DialogName() const override { return "CSelDocToPrint"; }
    int RunOnScreen() override;

    // The OK button: true when the entries can be registered and the form closes with OK.
    bool OnOK();

    std::string m_strCode;
    std::string m_strPassword;
    std::string m_strConfirm;
    std::string m_strMail;
};

namespace web {

// Whether the login can send the value back as the registration stores it. The registration
// post turns more characters into "-" than the login post does, so a password holding one of
// them would be stored in a form that no login ever matches.
bool LoginCanSendBack(const std::string& value);
// Those characters, separated by blanks, for the operator.
std::string CharactersTheLoginCannotSendBack();

}  // namespace web
