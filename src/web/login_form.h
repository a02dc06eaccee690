#pragma once
// The technician login at start-up: an authorised technician of the maker's network gives the
// six-digit code found in the local database; a registered user of the web service gives code
// and password, which the server checks.

#include <string>

#include "platform/operator.h"
#include "web/technician_account.h"

class CSetHystogramRange : public platform::ModalDialog {
public:
    explicit CSetHystogramRange(web::TechnicianAccount& account) : m_account(account) {}

    std::string DialogName() const override { return "CSetHystogramRange"; }
    int RunOnScreen() override;

    // The OK button: true when the technician is accepted and the form closes with OK.
    bool OnOK();
    // "Registrazione nuovo utente".
    void OnRegisterUser();
    // "Password dimenticata".
    void OnForgotPassword();
    // The password is asked only of registered users.
    bool PasswordEnabled() const { return m_bAuthorised == 0; }

    std::string m_strCode;
    std::string m_strPassword;
    int m_bAuthorised = 0;  // "Sono un tecnico autorizzato Corvanex"

private:
    web::TechnicianAccount& m_account;
};
