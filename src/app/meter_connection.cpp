// The waits sleep, as the exchange on a fresh link must not be interrupted by timers or
// commands; only the USB rate search lets the connecting box's input through, for Esc.

#include "app/meter_connection.h"

#include <QEvent>
#include <QKeyEvent>
#include <QObject>
#include <QPointer>
#include <vector>

#include "acquisition/scheduler_run.h"
#include "app/frame_boxes.h"
#include "app/frame_notices.h"
#include "app/frame_ui.h"
#include "app/kx9monitor_app.h"
#include "app/view_lookup.h"
#include "link/command_codes.h"
#include "link/link_session.h"
#include "link/link_session_host.h"
#include "link/meter_probe.h"
#include "link/modem_link.h"
#include "link/serial_line_settings.h"
#include "link/serial_port_list.h"
#include "platform/clock.h"
#include "platform/event_loop.h"
#include "platform/operator.h"
#include "platform/text.h"

using platform::Format;

namespace {
constexpr COLORREF kErrorColor = 0x0000FF;
constexpr unsigned kPortBusyWait = 2000;
constexpr unsigned kStoredPortSettleWait = 8000;
constexpr int kFastestRate = 115200;
constexpr int kSlowestRate = 300;

constexpr const char* kTooLowFromSearch =
    "Instrument is connected at %d baud.\nThis baudrate is too low to comunicate with "
    "PC.\n\nPlease select higher baudrate on your instrument";
constexpr const char* kTooLowFromStoredPort =
    "Instrument is connected at %d baud.\nThis baudrete is too low to comunicate with "
    "PC.\n\nPlease select higher baudrate on your instrument";

void Sleep(unsigned ms) {
    platform::Clock::Sleep(ms);
}
}  // namespace

// Watches the connecting box for Esc during the rate search. The key stays with the search:
// the box is not closed by it.
class ConnectEscapeWatch : public QObject {
public:
    explicit ConnectEscapeWatch(QObject* box) : m_box(box) {
        if (box)
            box->installEventFilter(this);
    }
    ~ConnectEscapeWatch() override {
        if (m_box)
            m_box->removeEventFilter(this);
    }
    ConnectEscapeWatch(const ConnectEscapeWatch&) = delete;
    ConnectEscapeWatch& operator=(const ConnectEscapeWatch&) = delete;

    // Lets the input that waits for the box through, and nothing else; whether Esc was
    // pressed in it.
    bool EscapePressed() {
        if (m_box)
            platform::EventLoop::PumpWindowInput(m_box);
        return m_pressed;
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            m_pressed = true;
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<QObject> m_box;
    bool m_pressed = false;
};

void MeterConnection::ConnectInstrument() {
    m_link.SetLinkPort(LinkSide::Reference);
    // Without its view the program is leaving: nothing is connected any more.
    if (!m_uses.views.Current())
        return;
    // A port left open by an earlier attempt would refuse every open of the search.
    m_link.ClosePort(LinkSide::Reference);

    std::vector<SerialPortInfo> ports;
    try {
        EnumSerialPorts(ports, FALSE);
    } catch (const SerialPortListError& error) {
        ConnectWarn(error.what(), MB_ICONEXCLAMATION, error.what());
    }
    ConnectEscapeWatch escape(m_uses.boxes.m_TryConnDlg.Window());
    for (const SerialPortInfo& info : ports) {
        const PortSearchStep step = platform::Contains(info.strFriendlyName, "USB")
                                        ? SearchUsbPort(info, escape)
                                        : SearchPlainPort(info);
        if (step != PortSearchStep::NextPort)
            return;
    }

    HideConnectingBox();
    ConnectWarn("Warning : Instrument not respondig.\nPlease check port settings",
                MB_ICONEXCLAMATION, "WARNING: CONNECTION FAILURE.");
    m_link.Mode().OnNoMeter();
    SetBaudSetting("-1");
    ShowConnectionError("Error :connection failure");
}

int MeterConnection::OpenReferenceLink(int comNumber) {
    m_uses.run.Leftovers().End();
    return m_link.OpenLinkPort(LinkSide::Reference, comNumber);
}

int MeterConnection::SetUpReferenceLink() {
    return m_link.SetUpPort(LinkSide::Reference, PortSettings::Connecting(TheApp().m_RefPort));
}

MeterConnection::PortSearchStep MeterConnection::SearchPlainPort(const SerialPortInfo& info) {
    PortRecord& record = TheApp().m_RefPort;
    const std::string portName =
        meter_probe::PortNameOf(meter_probe::WorkingPortName(info.strFriendlyName));
    const int number = meter_probe::ComNumberAfterCom(info.strFriendlyName);
    if (OpenReferenceLink(number) != 0)
        return PortSearchStep::NextPort;

    record.m_nComPort = number;
    record.m_nBaudRate = meter_probe::kPlainPortRate;
    SetBaudSetting(Format("%d", meter_probe::kPlainPortRate));
    ShowConnectingText("Connecting to...");
    if (SetUpReferenceLink() != 0) {
        m_link.ClosePort(LinkSide::Reference);
        return PortSearchStep::NextPort;
    }
    if (ProbeMeter(portName, meter_probe::kSearchReplyWait)) {
        OnMeterVerified("Connection established ", kTooLowFromSearch);
        return PortSearchStep::Verified;
    }
    m_link.ClosePort(LinkSide::Reference);
    return PortSearchStep::NextPort;
}

MeterConnection::PortSearchStep MeterConnection::SearchUsbPort(const SerialPortInfo& info,
                                                               ConnectEscapeWatch& escape) {
    CKX9MonitorApp& app = TheApp();
    PortRecord& record = app.m_RefPort;
    const std::string working = meter_probe::WorkingPortName(info.strFriendlyName);
    const int number = meter_probe::ComNumberAfterCom(working);
    const std::string portName = meter_probe::PortNameOf(working);
    if (OpenReferenceLink(number) != 0) {
        ShowConnectingText(Format("Connecting to...\r\rPort = %s\r Port busy.", portName.c_str()));
        Sleep(kPortBusyWait);
        return PortSearchStep::NextPort;
    }

    record.m_nComPort = number;
    for (const int rate : meter_probe::kUsbRates) {
        if (escape.EscapePressed()) {
            m_link.ClosePort(LinkSide::Reference);
            return PortSearchStep::Stop;
        }
        record.m_nBaudRate = rate;
        SetBaudSetting(Format("%d", rate));
        bool called = false;
        if (app.m_bModemLink == 1) {
            ShowConnectingText(
                Format("Checking modem on...\r\rPort = %s\rBaudrate = %d", portName.c_str(), rate));
            SetUpReferenceLink();
            const int result = DialModem();
            if (result == modem_link::kNoLocalModem)
                break;
            if (result != modem_link::kConnected) {
                m_link.ClosePort(LinkSide::Reference);
                m_uses.notices.LogScheduler(false,
                                            Format("CONNECTION FAILURE (%s) - Monitoring skipped.",
                                                   m_uses.boxes.m_TryConnDlg.m_strText.c_str()),
                                            true);
                m_link.Mode().OnNoMeter();
                SetBaudSetting("-1");
                ShowConnectionError("Error :connection failure");
                HideConnectingBox();
                return PortSearchStep::Stop;
            }
            Sleep(modem_link::kAfterCarrierMs);
            called = true;
        } else {
            SetUpReferenceLink();
        }
        if (ProbeMeter(portName, meter_probe::kSearchReplyWait)) {
            OnMeterVerified("Connection established ", kTooLowFromSearch);
            return PortSearchStep::Verified;
        }
        // No meter behind the call: end it rather than leave the line up; another rate would
        // only reach the remote modem's meter again.
        if (called) {
            m_link.HangUpModem();
            break;
        }
    }
    m_link.ClosePort(LinkSide::Reference);
    return PortSearchStep::NextPort;
}

void MeterConnection::ConnectInstrumentPort() {
    CKX9MonitorApp& app = TheApp();
    m_link.SetLinkPort(LinkSide::Reference);
    if (!app.m_pView)
        return;
    // A port left open by an earlier attempt would refuse to open again.
    m_link.ClosePort(LinkSide::Reference);
    PortRecord& record = app.m_RefPort;
    if (OpenReferenceLink(record.m_nComPort) != 0) {
        ConnectWarn("Error : fail opening COM port.", MB_ICONSTOP, "Fail opening com port");
        m_link.ClosePort(LinkSide::Reference);
        m_link.Mode().OnNoMeter();
        ShowConnectionError("Error : connection failure");
        SetBaudSetting("-1");
        return;
    }
    Sleep(kStoredPortSettleWait);

    SetUpReferenceLink();
    bool called = false;
    if (app.m_bModemLink == 1) {
        const int result = DialModem();
        if (result == modem_link::kNoLocalModem) {
            m_link.ClosePort(LinkSide::Reference);
            m_link.Mode().OnNoMeter();
            ConnectWarn("CONNECTION FAILURE: Modem not responding.", MB_OK,
                        "Modem not responding.");
            return;
        }
        called = result == modem_link::kConnected;
        Sleep(modem_link::kAfterCarrierMs);
    }

    SetBaudSetting(Format("%d", record.m_nBaudRate));
    if (ProbeMeter(meter_probe::PortNameOf(record.m_nComPort), meter_probe::kStoredPortReplyWait)) {
        OnMeterVerified("Connection established", kTooLowFromStoredPort);
        return;
    }
    if (called)
        m_link.HangUpModem();
    m_link.PurgeLink();
    m_link.ClosePort(LinkSide::Reference);
    // No meter is linked over a closed port.
    m_link.Mode().OnNoMeter();
    HideConnectingBox();
    ConnectWarn("Instrument not responding", MB_ICONSTOP, "WARNING: CONNECTION FAILURE");
    ShowConnectionError("Error : connection failure");
}

bool MeterConnection::ProbeMeter(const std::string& portName, unsigned replyWait) {
    const PortRecord& record = TheApp().m_RefPort;
    ShowConnectingText(Format("Connecting to...\r\rPort = %s\rBaudrate = %d", portName.c_str(),
                              record.m_nBaudRate));
    const std::string reply = meter_probe::RunIdentificationProbe(
        m_link.Direct(), m_link.Port(), meter_probe::ReplyWait(replyWait, record.m_nBaudRate));
    return meter_probe::IsMeterReply(reply);
}

void MeterConnection::OnMeterVerified(const char* logText, const char* tooLowText) {
    CKX9MonitorApp& app = TheApp();
    const PortRecord& record = app.m_RefPort;
    if (m_link.Mode().IsSchedulerMode()) {
        m_uses.run.SetState(acquisition::SchedulerRun::kConnected);
        m_uses.notices.LogScheduler(false, logText, true);
    }
    m_link.Mode().OnMeterAnswered();
    const bool modem = app.m_bModemLink == 1;
    m_uses.ui.SetPaneText(FrameUi::kStatusPane,
                          modem ? Format("Connected: MODEM (Num: %s)", app.m_strModemNumber.c_str())
                                : ConnectedPaneText(record),
                          "");
    m_uses.ui.SetPaneColors(FrameUi::kStatusPane, kLinkPaneConnected, kLinkPaneOff);
    HideConnectingBox();

    if (modem || m_link.Mode().IsSchedulerMode())
        return;
    if (record.m_nBaudRate > kSlowestRate && record.m_nBaudRate < kFastestRate)
        platform::AfxMessageBox(Format("Instrument is connected at %d baud.\nFor a faster data "
                                       "transferring set baudrate to 115200 on your instrument",
                                       record.m_nBaudRate),
                                MB_ICONINFORMATION);
    else if (record.m_nBaudRate == kSlowestRate)
        platform::AfxMessageBox(Format(tooLowText, record.m_nBaudRate), MB_ICONEXCLAMATION);
}

void MeterConnection::ShowConnectingText(const std::string& text) {
    m_uses.boxes.m_TryConnDlg.SetText(text);
    m_uses.boxes.m_TryConnDlg.UpdateWindow();
}

void MeterConnection::HideConnectingBox() {
    m_uses.boxes.m_TryConnDlg.ShowWindow(false);
}

void MeterConnection::SetBaudSetting(const std::string& text) {
    TheApp().m_InstrStatus.m_strBaudRate = text;
    TheApp().m_EditStatus.m_strBaudRate = text;
}

void MeterConnection::ShowConnectionError(const char* paneText) {
    m_uses.ui.SetPaneText(FrameUi::kStatusPane, paneText, "");
    m_uses.ui.SetPaneColors(FrameUi::kStatusPane, kErrorColor, kLinkPaneOff);
}

void MeterConnection::ConnectWarn(const std::string& text, unsigned type,
                                  const std::string& logText) {
    if (m_link.Mode().IsSchedulerMode())
        m_uses.notices.LogScheduler(false, logText, true);
    else
        platform::AfxMessageBox(text, type);
}

int MeterConnection::ConnectForScheduler() {
    CKX9MonitorApp& app = TheApp();
    app.LoadPortIni();
    m_link.SetLinkPort(LinkSide::Reference);
    m_link.Mode().OnNoMeter();
    // Without its view the program is leaving: nothing is connected any more.
    if (!app.m_pView)
        return kSchedulerLinkFailed;
    // A port left open by an earlier attempt would refuse to open again.
    m_link.ClosePort(LinkSide::Reference);
    const PortRecord& record = app.m_RefPort;
    if (OpenReferenceLink(record.m_nComPort) != 0) {
        m_uses.notices.LogScheduler(false, "Fail opening com port", true);
        return kSchedulerLinkFailed;
    }
    SetUpReferenceLink();

    bool called = false;
    if (app.m_bModemLink == 1) {
        const int result = DialModem();
        if (result != modem_link::kConnected) {
            m_link.ClosePort(LinkSide::Reference);
            HideConnectingBox();
            m_uses.notices.LogScheduler(
                false,
                result == modem_link::kNoLocalModem
                    ? std::string("Modem not responding.")
                    : platform::Format("CONNECTION FAILURE (%s) - Monitoring skipped.",
                                       m_uses.boxes.m_TryConnDlg.m_strText.c_str()),
                TRUE);
            return kSchedulerLinkFailed;
        }
        platform::Clock::Sleep(modem_link::kAfterCarrierMs);
        called = true;
    }

    if (!ProbeMeter(meter_probe::PortNameOf(record.m_nComPort),
                    meter_probe::kStoredPortReplyWait)) {
        if (called)
            m_link.HangUpModem();
        m_link.PurgeLink();
        m_link.ClosePort(LinkSide::Reference);
        HideConnectingBox();
        m_uses.notices.LogScheduler(false, "WARNING: CONNECTION FAILURE", true);
        return kSchedulerNotAnswering;
    }
    m_uses.run.SetState(acquisition::SchedulerRun::kConnected);
    m_uses.notices.LogScheduler(false, "Connection ON", true);
    m_link.Mode().OnMeterAnswered();
    SetBaudSetting(platform::Format("%d", record.m_nBaudRate));
    m_uses.ui.SetPaneText(
        FrameUi::kStatusPane,
        called ? platform::Format("Connected: MODEM (Num: %s)", app.m_strModemNumber.c_str())
               : ConnectedPaneText(record),
        "");
    m_uses.ui.SetPaneColors(FrameUi::kStatusPane, kLinkPaneConnected, kLinkPaneOff);
    HideConnectingBox();
    return kSchedulerConnected;
}

bool MeterConnection::IsAutoDetect() const {
    return TheApp().m_bAutoDetectPort != 0;
}

void MeterConnection::PrepareConnectAttempt() {
    m_uses.boxes.m_TryConnDlg.SetText("");
    m_uses.boxes.m_TryConnDlg.ShowWindow(true);
}

void MeterConnection::ArmLink() {
    m_link.DeleteAllCommands();
    m_link.Mode().EndPendingOp();
    // A run in a fresh program knows no model yet, and the setup read does not ask for it: the
    // identification chain starts here, so that the run and the setup sheet follow this
    // meter's rules. A known model survives the resets and is not asked again.
    if (TheApp().m_InstrStatus.m_strModel.empty())
        m_link.SendCommand(command_code::kModelQuery, "", "");
    m_link.SendCommand(command_code::kDisplayQuery, "", "");
    m_link.SendCommand(command_code::kAcquisitionQuery, "", "");
    m_link.StartSendTick();
    m_link.SetReadyToSend(TRUE);
}

int MeterConnection::DialModem() {
    const modem_link::DialFeedback feedback{
        .showText = [this](const std::string& text) { ShowConnectingText(text); },
        .hideBox =
            [this] {
                HideConnectingBox();
                m_uses.boxes.m_TryConnDlg.SetText("");
            },
        // An unattended run is not stopped by a box.
        .warn = [this](const std::string& text) { m_uses.notices.Warn(text, MB_OK); },
    };
    return m_link.DialModem(TheApp().m_strModemNumber, feedback);
}
