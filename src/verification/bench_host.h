#pragma once
// What the verification bench needs of the application, the main frame and the main view:
// the objects it uses as they are (BenchTools), handed over by whoever builds the bench, and
// what the program does for it (BenchHost). The program gives both; tests give their own. The
// bench never reaches the application's objects any other way.

#include <functional>
#include <string>

class InstrLog;
class LinkSession;
struct PortRecord;

namespace web {
class ServerDatabases;
class WaitFeedback;
}  // namespace web

namespace verification {

// What the instrument under test said of itself when it was identified.
struct InstrumentIdentity {
    std::string model;
    std::string firmware;
    std::string serial;
    std::string micModel;
    std::string micSerial;
    bool operator==(const InstrumentIdentity&) const = default;
};

// The bench's two meters as they told who they are when last connected: the connect routines
// write them, the bench window and the application's commands read them.
struct BenchInstruments {
    InstrumentIdentity target;
    std::string refSerial;
};

// The program's objects the bench uses directly.
struct BenchTools {
    // The link session: it alone opens and closes the meters' ports, and its direct exchange
    // talks to a meter past its port's listener.
    LinkSession& link;
    // The local databases: their web client and the internet flag.
    web::ServerDatabases& databases;
    // The please-wait box.
    web::WaitFeedback& pleaseWait;
    // The daily log of the instrument under test, which the bench window's log lines go to.
    InstrLog& log;
    // The program folder, where the reference meter's key is kept for work without a network.
    const std::string& programDir;
    // The ports' records ("port.ini"), which keep each meter's COM port and key counters.
    PortRecord& refRecord;
    PortRecord& targetRecord;
};

class BenchHost {
public:
    virtual ~BenchHost() = default;

    // --- the application
    // The message-pumping wait (CKX9MonitorApp::WaitWithMessages), program milliseconds.
    virtual void WaitWithMessages(unsigned ms) = 0;
    // Cuts the running wait short (CKX9MonitorApp::m_bAbortWait).
    virtual void RequestAbortWait() = 0;
    // Where the application's waits and the serial reads log while the bench window exists
    // (CKX9MonitorApp::SetBenchLog); an empty function ends it.
    virtual void SetBenchLog(std::function<void(const std::string&)> log) = 0;
    // CKX9MonitorApp::SavePortIni with both records.
    virtual void SavePortIni() = 0;

    // --- the main view
    // Whether the main view and its window exist: once they are gone (the program is leaving)
    // the bench leaves the meters' ports alone.
    virtual bool ViewPresent() = 0;
};

}  // namespace verification
