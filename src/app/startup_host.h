#pragma once
// What the start-up check needs of the web-service client: the internet check, its result and
// the refresh of the local databases.

class StartupHost {
public:
    virtual ~StartupHost() = default;
    virtual void CheckInternetConnection() = 0;
    // Whether the last internet check found the server reachable.
    virtual bool IsInternetChecked() const = 0;
    // True when the corrections table and the technician database both arrived.
    virtual bool UpdateServerDatabases() = 0;
};
