#pragma once
// The start-up check's web services, served by the frame's local databases.

#include "app/startup_services.h"
#include "web/server_databases.h"

class ServerStartupServices : public StartupServices {
public:
    explicit ServerStartupServices(web::ServerDatabases& databases) : m_databases(databases) {}

    void CheckInternetConnection() override { m_databases.CheckInternetConnection(); }
    bool IsInternetChecked() const override { return m_databases.m_bCheckInternet != 0; }
    void UpdateServerDatabases() override { m_databases.UpdateServerDatabases(); }

private:
    web::ServerDatabases& m_databases;
};
