#pragma once
// The connect routines a scheduled run connects the meter with before an acquisition. The
// application's connect routines implement it; each handles messages while it probes, and a
// meter that answers leaves the link session's meter mode connected.

namespace acquisition {

class MeterConnector {
public:
    // ConnectForScheduler's results.
    static constexpr int kSchedulerConnected = 1;
    static constexpr int kSchedulerNotAnswering = 0;
    // The port could not be opened or the modem call not made: another try is no use now.
    static constexpr int kSchedulerLinkFailed = -1;

    virtual ~MeterConnector() = default;

    // The connection settings search every port ("Auto detect").
    virtual bool IsAutoDetect() const = 0;
    // Before each attempt, once the mode is reset: the please-wait box shown with an empty
    // text.
    virtual void PrepareConnectAttempt() = 0;
    // The port of "port.ini", directly or through the modem; one of the kScheduler... results.
    virtual int ConnectForScheduler() = 0;
    // Searches the PC's serial ports for a meter.
    virtual void ConnectInstrument() = 0;
    // The reference port record's port and rate.
    virtual void ConnectInstrumentPort() = 0;
    // The link just came up: the queue emptied, the reply state cleared, the model queried
    // when none is known, the display and acquisition states queried, the send tick running
    // and sending allowed.
    virtual void ArmLink() = 0;
};

}  // namespace acquisition
