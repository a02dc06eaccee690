#pragma once
// The technician's identity: the check of a technician code against the local technician and
// laboratory database, which also yields the laboratory data of the verification data sheet and
// the reference instruments the technician may use, and the login and registration exchanges
// with the web service.

#include <array>
#include <string>

#include "platform/win_types.h"
#include "web/server_databases.h"

namespace web {

// The application's technician members, which the check reads and writes.
struct TechnicianState {
    std::string& id;      // the logged-in technician's code
    std::string& record;  // "-1", or the references of the technician's database lines
    BYTE& checked;        // set when the last check found the technician
};

// What the check hands back for the verification data sheet.
struct TechnicianLookup {
    std::array<std::string, 6> lab;
    std::string nameAndCode;  // "name (id=code)"
};

class TechnicianAccount {
public:
    TechnicianAccount(ServerDatabases& databases, TechnicianState state);

    ServerDatabases& Databases() const { return m_databases; }
    WebClient& Client() const { return m_databases.Client(); }
    TechnicianState& State() { return m_state; }

    // Looks the technician id up in the local database, offering to download the database
    // when it is missing or does not know the id (at most two passes). Success is read from
    // the state's `checked`. With several laboratories, allowChoice lets the operator choose
    // one; otherwise the first is taken. `code` only goes into the alert to the maker.
    TechnicianLookup CheckTechnician(bool allowChoice, const std::string& code);
    // The same with the outputs appended to the given strings (any may be null).
    void CheckTechnician(BOOL allowChoice, const std::string& code, std::string* lab1,
                         std::string* lab2, std::string* lab3, std::string* lab4, std::string* lab5,
                         std::string* lab6, std::string* nameAndCode);

private:
    enum class Refresh { Refused, Failed, Done };
    // Asks `question`; on yes downloads the database with the messages of that path.
    Refresh OfferDatabaseDownload(const std::string& question, const std::string& waitText,
                                  const std::string& failedText, const std::string& doneText);

    ServerDatabases& m_databases;
    TechnicianState m_state;
};

}  // namespace web
