#pragma once
// The web service as the frame's commands use it: the client, the local databases it keeps up
// to date, the technician account and its login, the instrument booking, the start-up check's
// services and the daily log of the instrument under test, which goes to the service.

#include <functional>
#include <string>

#include "app/server_startup_host.h"
#include "report/instr_log.h"
#include "web/instrument_booking.h"
#include "web/server_databases.h"
#include "web/technician_account.h"
#include "web/wait_feedback.h"
#include "web/web_client.h"

class FrameWeb {
public:
    // The pause the workflow commands make before a request to the service.
    static constexpr unsigned kServerPauseMs = 1000;

    // The client shows `pleaseWait` while it waits for the service; the log names the
    // instrument `targetSerial` tells.
    FrameWeb(web::WaitFeedback& pleaseWait, InstrLog::SerialSource targetSerial);
    FrameWeb(const FrameWeb&) = delete;
    FrameWeb& operator=(const FrameWeb&) = delete;

    web::WebClient& Client() { return m_client; }
    web::ServerDatabases& Databases() { return m_databases; }
    web::TechnicianAccount& Technician() { return m_technician; }
    web::InstrumentBooking& Booking() { return m_booking; }
    StartupHost& Startup() { return m_startup; }
    InstrLog& Log() { return m_log; }

    // A workflow command's internet check, made while the databases call for one (a check
    // that found the connection calls for the next); false only when it was made and found
    // none, after which the commands go on without checking.
    bool CheckInternetWhenDue();

    // The login of the start-up job: whether the technician was authorised.
    void SetLoginResult(int authorised) { m_loginResult = authorised; }
    int LoginResult() const { return m_loginResult; }

private:
    web::WebClient m_client;
    web::ServerDatabases m_databases;
    web::TechnicianAccount m_technician;
    web::InstrumentBooking m_booking{m_databases};
    ServerStartupHost m_startup{m_databases};
    InstrLog m_log;
    int m_loginResult = 0;
};
