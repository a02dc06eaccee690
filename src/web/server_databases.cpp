#include "web/server_databases.h"

#include "platform/files.h"
#include "platform/operator.h"
#include "web/black_list.h"
#include "web/service_paths.h"

namespace web {

namespace {
constexpr const char* kConnectingText = "Connessione con il server in corso...";
}

ServerDatabases::ServerDatabases(WebClient& client, const std::string& programDir)
    : m_client(client), m_programDir(programDir) {}

std::string ServerDatabases::LocalPath(const std::string& name) const {
    return platform::JoinPath(m_programDir, name);
}

std::string ServerDatabases::DownloadError() const {
    // A broken settings file is the likelier cause of a failure than the network: the box says
    // which file and what is wrong with it.
    return m_client.HttpError() + m_client.SettingsNote();
}

void ServerDatabases::ShowOperationUnavailable() const {
    platform::AfxMessageBox("Connessione Internet assente.\nOperazione non disponibile.\n\nErr=" +
                            DownloadError());
}

std::string ServerDatabases::Download(const std::string& remotePath, const char* localName) {
    return m_client.DownloadHttpFile(remotePath, LocalPath(localName), true);
}

BOOL ServerDatabases::CheckInternetConnection() {
    m_bCheckInternet = 0;
    m_client.Feedback().ShowPleaseWait("Verifica connessione internet in corso...");
    const std::string result =
        Download(m_client.SrvPath() + kCorrectionsTablePath, kCorrectionsTableFile);
    m_client.Feedback().HidePleaseWait();
    if (result == "-1") {
        m_bInternetAvailable = 0;
        platform::AfxMessageBox(
            "ATTENZIONE:\nConnessione Internet assente.\nNon e' possibile effettuare la modifica "
            "della data di scadenza della taratura dello strumento\n\nErr=" +
                DownloadError(),
            MB_ICONSTOP);
        return FALSE;
    }
    m_bCheckInternet = 1;
    m_bInternetAvailable = 1;
    return TRUE;
}

std::string ServerDatabases::UpdateServerDatabases() {
    m_client.Feedback().ShowPleaseWait(kConnectingText);
    // The black list does not decide the outcome: the corrections table and the technician
    // database are what a verification cannot do without.
    std::string error;
    for (const auto& [remote, local] : {std::pair{kCorrectionsTablePath, kCorrectionsTableFile},
                                        std::pair{kLabDatabasePath, kLabDatabaseFile}}) {
        if (Download(m_client.SrvPath() + remote, local) == "-1" && error.empty())
            error = DownloadError();
    }
    Download(m_client.SrvPath() + "black_list.txt", kBlackListFile);
    m_client.Feedback().HidePleaseWait();
    if (!error.empty()) {
        platform::AfxMessageBox(
            "Aggiornamento database strumenti/tarature fallito.\n\nErr=" + error,
            MB_ICONEXCLAMATION);
        return "-1";
    }
    platform::AfxMessageBox("Aggiornamento database strumenti/tarature completato",
                            MB_ICONINFORMATION);
    return "";
}

void ServerDatabases::OnUpdateDatabases() {
    m_client.Feedback().ShowPleaseWait(kConnectingText);
    if (Download(m_client.SrvPath() + kCorrectionsTablePath, kCorrectionsTableFile) == "-1") {
        m_client.Feedback().HidePleaseWait();
        ShowOperationUnavailable();
        return;
    }
    UpdateServerDatabases();
}

BOOL ServerDatabases::IsInstrumentBlackListed(const std::string& refSerial) {
    Download(kBlackListFullPath, kBlackListFile);
    return BlackListHolds(LocalPath(kBlackListFile), refSerial) ? TRUE : FALSE;
}

}  // namespace web
