#pragma once
// The connect routines of the monitoring link: a search over the PC's serial ports (and the
// rates of the USB ones), the stored port of the reference port record, and the scheduler's
// connection, each directly or through the modem and verified by the identification probe.
// Each makes the reference port the link and opens it; the meter mode's link flag tells
// whether a meter answered on it. They keep no state of their own: the link session owns the
// ports and the modem, the meter mode the link's state. They are the scheduler's: a meter found
// in scheduler mode moves its run to the connected step, and the run connects with them.

#include <string>

#include "acquisition/meter_connector.h"

class ConnectEscapeWatch;
class FrameBoxes;
class FrameNotices;
class FrameUi;
class LinkSession;
class ViewLookup;
struct SerialPortInfo;
namespace acquisition {
class SchedulerRun;
}

class MeterConnection : public acquisition::MeterConnector {
public:
    // What the routines use, none of it owned.
    struct Uses {
        LinkSession& link;
        // The connecting box (CTryConnDlg), whose escape key stops a search.
        FrameBoxes& boxes;
        // The link's pane of the status bar.
        FrameUi& ui;
        FrameNotices& notices;
        // The scheduler's run, told when a meter answered in scheduler mode; a new opening of
        // the link ends its leftovers.
        acquisition::SchedulerRun& run;
        // A search shows its progress only while a view exists.
        const ViewLookup& views;
    };

    explicit MeterConnection(const Uses& uses) : m_uses(uses), m_link(uses.link) {}

    // Searches the PC's serial ports, and the rates of the USB ones, for a meter.
    void ConnectInstrument() override;
    // The reference port record's port and rate.
    void ConnectInstrumentPort() override;

    // The scheduler's connection: the port of "port.ini", directly or through the modem. It
    // never asks the operator: its failures go to the scheduler log. One of the kScheduler...
    // results.
    int ConnectForScheduler() override;

    // The scheduled run's side of connecting: "Auto detect", the connecting box before each
    // attempt, and the link armed once a meter answered.
    bool IsAutoDetect() const override;
    void PrepareConnectAttempt() override;
    void ArmLink() override;

private:
    // Makes the reference port the link and opens it for a new conversation: an ended run's
    // leftovers are no longer drained. 0, or the port's error.
    int OpenReferenceLink(int comNumber);
    // Gives the link port the connecting settings of the reference port record; 0, or the
    // port's error.
    int SetUpReferenceLink();
    enum class PortSearchStep { NextPort, Verified, Stop };
    PortSearchStep SearchPlainPort(const SerialPortInfo& info);
    PortSearchStep SearchUsbPort(const SerialPortInfo& info, ConnectEscapeWatch& escape);
    // The identification probe on the open link port; `portName` is what the connecting box
    // shows.
    bool ProbeMeter(const std::string& portName, unsigned replyWait);
    void OnMeterVerified(const char* logText, const char* tooLowText);
    // Checks the local modem on the open link port and dials CKX9MonitorApp::m_strModemNumber;
    // a modem_link::DialResult.
    int DialModem();
    void ShowConnectingText(const std::string& text);
    void HideConnectingBox();
    // The baud-rate setting of the current and the edited setup.
    void SetBaudSetting(const std::string& text);
    void ShowConnectionError(const char* paneText);
    // A box, or a time-stamped scheduler log line in scheduler mode.
    void ConnectWarn(const std::string& text, unsigned type, const std::string& logText);

    Uses m_uses;
    LinkSession& m_link;
};
