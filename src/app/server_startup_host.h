#pragma once
// What the start-up check needs of the web service, served by the frame's local databases.

#include "app/startup_host.h"
#include "web/server_databases.h"

class ServerStartupHost : public StartupHost {
public:
    explicit ServerStartupHost(web::ServerDatabases& databases) : m_databases(databases) {}

    void CheckInternetConnection() override { m_databases.CheckInternetConnection(); }
    bool IsInternetChecked() const override { return m_databases.m_bCheckInternet != 0; }
    bool UpdateServerDatabases() override { return m_databases.UpdateServerDatabases() != "-1"; }

private:
    web::ServerDatabases& m_databases;
};
