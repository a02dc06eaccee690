#include "web/technician_account.h"

#include "platform/operator.h"
#include "web/laboratory_choice_form.h"
#include "web/service_paths.h"
#include "web/technician_database.h"

namespace web {

namespace {
constexpr const char* kEmptyDatabaseQuestion =
    "ATTENZIONE:\nIl database degli operatori abilitati e' vuoto.\nAggiornare il database adesso ?";
constexpr const char* kUnknownCodeQuestion =
    "ATTENZIONE:\nCodice identificativo del tecnico esecutore non valido.\nNon sara' possibile "
    "effettuare\n\n-verifiche certificate Corvanex\n-aggiornamento date di scadenza\n"
    "-aggiornamenti sulla strumentazione.\n\nAggiornare il database dei tecnici abilitati "
    "adesso ?";
constexpr const char* kUnknownCodeSubject =
    "CORVANEX_USER:Codice identificativo del tecnico esecutore non valido - user code=";
}  // namespace

TechnicianAccount::TechnicianAccount(ServerDatabases& databases, TechnicianState state)
    : m_databases(databases), m_state(state) {}

TechnicianAccount::Refresh TechnicianAccount::OfferDatabaseDownload(const std::string& question,
                                                                    const std::string& waitText,
                                                                    const std::string& failedText,
                                                                    const std::string& doneText) {
    if (platform::AfxMessageBox(question, MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return Refresh::Refused;
    WebClient& client = Client();
    client.Feedback().ShowPleaseWait(waitText);
    const std::string result = client.DownloadHttpFile(
        client.SrvPath() + kLabDatabasePath, m_databases.LocalPath(kLabDatabaseFile), true);
    client.Feedback().HidePleaseWait();
    if (result == "-1") {
        platform::AfxMessageBox(failedText + client.HttpError(), MB_ICONEXCLAMATION);
        return Refresh::Failed;
    }
    platform::AfxMessageBox(doneText, MB_ICONINFORMATION);
    return Refresh::Done;
}

TechnicianLookup TechnicianAccount::CheckTechnician(bool allowChoice, const std::string& code) {
    m_state.checked = 0;
    // Rebuilt by every check: the rights of whoever was checked before must not carry over.
    m_state.record = "-1";
    const std::string path = m_databases.LocalPath(kLabDatabaseFile);

    std::vector<TechnicianEntry> matches;
    for (int pass = 0; pass < 2 && matches.empty(); ++pass) {
        const bool lastPass = pass == 1;
        auto entries = FindTechnicianEntries(path, m_state.id);
        if (entries && !entries->empty()) {
            matches = std::move(*entries);
        } else if (lastPass) {
            break;
        } else if (!entries) {
            if (OfferDatabaseDownload(kEmptyDatabaseQuestion,
                                      "Connessione il con server in corso...",
                                      "Aggiornamento database fallito.\n\nErr=",
                                      "Aggiornamento database  completato") != Refresh::Done)
                return {};
        } else {
            Client().HttpSendMail("", kUnknownCodeSubject + code, "");
            if (OfferDatabaseDownload(kUnknownCodeQuestion, "Connessione con il server in corso...",
                                      "Aggiornamento database fallito\n\nErr=",
                                      "Aggiornamento database completato") != Refresh::Done)
                return {};
        }
    }
    if (matches.empty())
        return {};

    size_t chosen = 0;
    if (matches.size() > 1 && allowChoice) {
        CSetLimitDlg choice;
        for (const TechnicianEntry& entry : matches)
            choice.m_strList += entry.lab[0] + ";";
        choice.DoModal();
        // Closed without a choice: the first laboratory, as when no choice is offered.
        if (choice.m_nChoice >= 0 && static_cast<size_t>(choice.m_nChoice) < matches.size())
            chosen = static_cast<size_t>(choice.m_nChoice);
    }
    const TechnicianEntry& entry = matches[chosen];
    m_state.record = matches.size() == 1 ? entry.references + "&" : entry.references;
    m_state.checked = 1;
    return {entry.lab, entry.name + " (id=" + entry.code + ")"};
}

void TechnicianAccount::CheckTechnician(BOOL allowChoice, const std::string& code,
                                        std::string* lab1, std::string* lab2, std::string* lab3,
                                        std::string* lab4, std::string* lab5, std::string* lab6,
                                        std::string* nameAndCode) {
    const TechnicianLookup lookup = CheckTechnician(allowChoice != FALSE, code);
    if (!m_state.checked)
        return;
    std::string* outputs[] = {lab1, lab2, lab3, lab4, lab5, lab6};
    for (size_t k = 0; k < 6; ++k)
        if (outputs[k])
            *outputs[k] += lookup.lab[k];
    if (nameAndCode)
        *nameAndCode += lookup.nameAndCode;
}

}  // namespace web
