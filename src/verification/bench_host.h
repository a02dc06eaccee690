#pragma once
// What the verification bench needs of the application, the main frame and the main view:
// the objects it uses as they are (BenchTools), handed over by whoever builds the bench, and
// what the program does for it (BenchHost). The program's frame gives both; tests give their
// own. The bench never reaches the application's objects any other way.

#include <functional>
#include <string>

class DirectExchange;
class LinkPort;
enum class LinkSide;
struct PortRecord;
struct PortSettings;

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
    // The link session's exchange with a meter past its port's listener.
    DirectExchange& exchange;
    // The local databases: their web client and the internet flag.
    web::ServerDatabases& databases;
    // The please-wait box.
    web::WaitFeedback& pleaseWait;
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
    // The program folder (CKX9MonitorApp::m_strProgramDir).
    virtual std::string ProgramDir() = 0;
    // The port records (CKX9MonitorApp::m_RefPort, m_TargetPort) and their file.
    virtual PortRecord& RefPortRecord() = 0;
    virtual PortRecord& TargetPortRecord() = 0;
    // CKX9MonitorApp::SavePortIni with both records.
    virtual void SavePortIni() = 0;

    // --- the main view
    // Whether the main view and its window exist.
    virtual bool ViewPresent() = 0;

    // --- the main frame
    // The link session's ports, talked through past their listeners; nullptr once the view is
    // gone (the program is leaving).
    virtual LinkPort* RefPort() = 0;
    virtual LinkPort* TargetPort() = 0;
    // The link session opens the meter's port afresh on the settings
    // (LinkSession::OpenPort); false when it did not, or the view is gone.
    virtual bool OpenPort(LinkSide side, const PortSettings& settings) = 0;
    virtual void ClosePort(LinkSide side) = 0;
    // CMainFrame::WriteInstrLog.
    virtual void WriteInstrLog(const std::string& text) = 0;
};

}  // namespace verification
