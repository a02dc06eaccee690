// The link session's ports: which of them carries the link, opening and closing it, the lines
// written past the queue, the modem call on it, and the move to another rate that the
// baud-rate command asks for.

#include <utility>

#include "link/baud_rates.h"
#include "link/command_codes.h"
#include "link/instr_status.h"
#include "link/link_clock.h"
#include "link/link_port.h"
#include "link/link_session.h"
#include "link/link_session_host.h"
#include "link/port_record.h"
#include "link/serial_line_settings.h"
#include "platform/operator.h"
#include "platform/text.h"

namespace {

constexpr unsigned kBaudChangeWaitMs = 1000;

}  // namespace

std::string ConnectedPaneText(const PortRecord& record) {
    return platform::Format("Connected to COM%d %d 8,N,1", record.m_nComPort, record.m_nBaudRate);
}

void LinkSession::SetLinkPort(LinkSide side) {
    m_side = side;
    m_shared->SetCurrentReader(static_cast<int>(side));
}

PortRecord& LinkSession::LinkPortRecord() const {
    return m_side == LinkSide::Reference ? m_settings.referencePort : m_settings.targetPort;
}

bool LinkSession::IsPortOpen(LinkSide side) const {
    return PortOf(side).IsOpen();
}

int LinkSession::OpenPort(LinkSide side, const PortSettings& settings) {
    LinkPort& port = PortOf(side);
    // A port left open by an earlier connection may be on another COM port than asked now.
    ClosePort(side);
    if (const int result = port.OpenFor(settings.comNumber, this))
        return result;
    if (const int result = port.SetUp(settings)) {
        port.Close();
        return result;
    }
    return 0;
}

int LinkSession::OpenLinkPort(LinkSide side, int comNumber) {
    SetLinkPort(side);
    // A fresh link answers the connect's probe first, past the listener.
    m_shared->receiveEnabled = FALSE;
    m_direct.ForgetLine(Port());
    return Port().OpenFor(comNumber, this);
}

int LinkSession::SetUpPort(LinkSide side, const PortSettings& settings) {
    return PortOf(side).SetUp(settings);
}

void LinkSession::ClosePort(LinkSide side) {
    PortOf(side).Close();
    m_direct.ForgetLine(PortOf(side));
}

void LinkSession::ClosePorts() {
    m_serial.CloseAll();
    for (LinkSide side : {LinkSide::Target, LinkSide::Reference})
        m_direct.ForgetLine(PortOf(side));
}

void LinkSession::PurgeLink() {
    Port().Purge();
}

void LinkSession::Close() {
    m_shared->receiveEnabled = FALSE;
    HangUpModem();
    if (LinkPort& port = Port(); port.IsOpen())
        port.Close();
    m_direct.ForgetLine(Port());
    DeleteAllCommands();
    // Nothing is awaited any more: a pending time-out has nothing to resend, no late answer
    // can come through a closed port, and the queue takes the next command when the link is
    // opened again.
    m_clock.KillTimer(kReplyTimeout);
    m_clock.KillTimer(kLineQuiet);
    m_lineQuiet = false;
    m_overdue.Clear();
    m_nRetryCount = 0;
    SetReadyToSend(TRUE);
}

int LinkSession::DialModem(const std::string& number, const modem_link::DialFeedback& feedback) {
    // The modem's replies are for the dial, not for the listener.
    m_shared->receiveEnabled = FALSE;
    const PortRecord& record = LinkPortRecord();
    return modem_link::DialModem(m_clock, Port(), record.m_nComPort, record.m_nBaudRate, number,
                                 feedback);
}

void LinkSession::HangUpModem() {
    LinkPort& port = Port();
    if (port.IsOpen() && IsThroughModem())
        modem_link::HangUp(m_clock, port);
}

bool LinkSession::IsThroughModem() const {
    return m_side == LinkSide::Reference && m_settings.modemLink == 1;
}

void LinkSession::ChangeBaudRate(const CCommand& command) {
    const std::string text = command.GetText();
    TakeCommand(&command);
    // A meter that took a rate the port cannot follow would be lost to the link.
    const int rate = baud_rates::RateOfSettingText(m_settings.edited.m_strBaudRate);
    if (rate == 0)
        return;
    // Nothing awaits the acknowledgement, given at the old rate: it goes with the old port.
    SendRawCommand(text, false);
    m_clock.Sleep(kBaudChangeWaitMs);
    PortRecord& record = LinkPortRecord();
    if (Port().Reopen(PortSettings::SpeedChange(record, rate)) != 0) {
        platform::AfxMessageBox("ERROR: Unable to open serial port after changing port baudrate",
                                MB_OKCANCEL);
        return;
    }
    record.m_nBaudRate = rate;
    m_shared->receiveEnabled = TRUE;
    SetReadyToSend(TRUE);
    m_host.ShowLinkPane(ConnectedPaneText(record), kLinkPaneConnected, kLinkPaneOff);
}

void LinkSession::WriteCommand(LinkSide side, int code) {
    if (LinkPort& port = PortOf(side); port.IsOpen())
        port.WriteString(CommandLine(code));
}

void LinkSession::WriteUnanswered(int code) {
    m_shared->receiveEnabled = FALSE;
    WriteCommand(code);
}

std::string LinkSession::ReadWaiting(size_t limit) {
    LinkPort& port = Port();
    if (!port.IsOpen())
        return std::string();
    std::string bytes(limit, '\0');
    size_t count = 0;
    port.Read(bytes.data(), bytes.size(), &count);
    bytes.resize(count);
    return bytes;
}

bool LinkSession::StartDumpDownload() {
    if (!m_mode.BeginDownload())
        return false;
    LinkPort& port = Port();
    const LinkPort::Turn turn = port.TakeTurn();
    port.Purge();
    port.WriteString(CommandLine(command_code::kDumpNext));
    return true;
}

void LinkSession::ListenForRecords() {
    m_shared->receiveEnabled = TRUE;
}
