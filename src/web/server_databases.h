#pragma once
// The station's local copies of the server's databases (corrections table, technician and
// laboratory database, black list), the internet check that probes the server by fetching the
// corrections table, and the internet flags that the start-up and the menu commands consult.
// The main frame owns one; everything runs on the user-interface thread.

#include <string>

#include "platform/win_types.h"
#include "web/web_client.h"

namespace web {

class ServerDatabases {
public:
    // `programDir` is the application's program folder, read at each use (it is set during
    // start-up), so it must outlive this object.
    ServerDatabases(WebClient& client, const std::string& programDir);
    ServerDatabases(WebClient& client, std::string&& programDir) = delete;

    WebClient& Client() const { return m_client; }
    // A file of the program folder.
    std::string LocalPath(const std::string& name) const;

    // Probes the server by downloading the corrections table; TRUE when it arrived. A failure
    // is reported to the operator.
    BOOL CheckInternetConnection();
    // Downloads the corrections table, the technician database and the black list, and tells
    // the operator how it went. "-1" when the table or the database did not arrive, else the
    // empty string.
    std::string UpdateServerDatabases();
    // The box of a command that found no server to work with, saying why: the last download's
    // error and what is wrong with the settings file.
    void ShowOperationUnavailable() const;
    // Menu command "Aggiornamento database strumenti / utenti".
    void OnUpdateDatabases();
    // Refreshes the black list (the old copy serves when the server cannot be reached) and
    // looks the reference instrument's serial number up in it.
    BOOL IsInstrumentBlackListed(const std::string& refSerial);

    // Set when built and after each successful check; cleared when a check starts. Commands
    // that find it set run the check before they go on.
    BYTE m_bCheckInternet = 1;
    // The outcome of the last check.
    BYTE m_bInternetAvailable = 0;

private:
    // The last download's error for a box, with what is wrong with the settings file.
    std::string DownloadError() const;
    std::string Download(const std::string& remotePath, const char* localName);

    WebClient& m_client;
    const std::string& m_programDir;
};

}  // namespace web
