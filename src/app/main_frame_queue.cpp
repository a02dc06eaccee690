// The command queue and the send tick: one command at a time goes out on the link port, and
// the next waits until its reply was handled or its resends ran out.

#include <algorithm>
#include <array>
#include <utility>

#include "app/kx9monitor_app.h"
#include "app/main_frame.h"
#include "link/command_codes.h"
#include "link/port_record.h"
#include "link/serial_wnd.h"
#include "platform/operator.h"
#include "platform/text.h"

using namespace command_code;

namespace {

constexpr unsigned kSlowLinkFactor = 4;

// The meter's baud-rate setting texts; any other text leaves the port's rate alone.
int RateOfSettingText(const std::string& text) {
    static constexpr std::array<std::pair<const char*, int>, 9> rates{{
        {"300", 300},
        {"600", 600},
        {"1.2k", 1200},
        {"2.4k", 2400},
        {"4.8k", 4800},
        {"9.6k", 9600},
        {"19.2k", 19200},
        {"38.4k", 38400},
        {"57.6k", 57600},
    }};
    for (const auto& [name, rate] : rates)
        if (text == name)
            return rate;
    return 0;
}

std::string DeviceNameOf(int comPort) {
    return comPort < 10 ? platform::Format("%s%d", "COM", comPort)
                        : platform::Format("\\\\.\\%s%d", "COM", comPort);
}

}  // namespace

void CMainFrame::SendCommand(int code, const std::string& arg1, const std::string& arg2, int param,
                             BOOL bUrgent) {
    auto command = std::make_unique<CCommand>(code, arg1, arg2, param);
    if (!command->IsValid()) {
        platform::AfxMessageBox("Syntax message incorrect", MB_ICONEXCLAMATION);
        return;
    }
    if (bUrgent)
        m_CommandList.push_back(std::move(command));
    else
        m_CommandList.push_front(std::move(command));
    WakeSendTick();
}

void CMainFrame::WakeSendTick() {
    if (m_bSendTickOn && !IsTimerSet(kSendTick))
        m_timers.Set(kSendTick, TimerInterval(kSendTick));
}

void CMainFrame::SendRawCommand(const std::string& text) {
    SendRawCommand(text, TRUE);
}

void CMainFrame::SendRawCommand(const std::string& text, BOOL awaitReply) {
    m_bReadyToSend = FALSE;
    PurgeLink();
    if (CSerialMFC* port = LinkPort())
        port->WriteString(text);
    if (awaitReply)
        m_bReceiveEnabled = TRUE;
}

std::unique_ptr<CCommand> CMainFrame::TakeCommand(const CCommand* command) {
    if (command && command == m_pCurrentCommand)
        m_pCurrentCommand = nullptr;
    const auto it = std::find_if(m_CommandList.begin(), m_CommandList.end(),
                                 [command](const auto& queued) { return queued.get() == command; });
    if (!command || it == m_CommandList.end())
        return nullptr;
    std::unique_ptr<CCommand> taken = std::move(*it);
    m_CommandList.erase(it);
    return taken;
}

void CMainFrame::DeleteAllCommands() {
    m_pCurrentCommand = nullptr;
    m_CommandList.clear();
}

SendCommandFn CMainFrame::Sender() {
    return [this](int code, const std::string& arg1, const std::string& arg2, int param,
                  BOOL urgent) { SendCommand(code, arg1, arg2, param, urgent); };
}

void CMainFrame::QueueCommands(const std::vector<FollowUp>& commands) {
    ::QueueFollowUps(commands, Sender());
}

void CMainFrame::OnSendTick() {
    if (!m_bReadyToSend || m_CommandList.empty() || m_bFirmwareUpgrading) {
        if (m_CommandList.empty()) {
            if (m_bSetupReadPending) {
                m_bSetupReadPending = FALSE;
                m_nPendingOp = -1;
                Ui().DestroySetupWaitBox();
            }
            // Rests until SendCommand queues the next command.
            m_timers.Kill(kSendTick);
        }
        return;
    }
    CCommand* command = m_CommandList.back().get();
    m_pCurrentCommand = command;
    if (!command || command->GetCode() < 0 || command->GetText().empty())
        return;

    // Nothing awaits the acknowledgement of a new rate, given at the old one: it goes with the
    // old port instead of reaching the frame as a reply to no command.
    SendRawCommand(command->GetText(), command->GetCode() != kBaudChange);
    switch (command->GetCode()) {
        case kBaudChange:
            TakeCommand(command);
            ChangeLinkBaudRate();
            break;
        case kMonitorOn:
            Wait(300);
            // The wait handles messages; whatever removed the command meanwhile already did.
            TakeCommand(command);
            m_bReadyToSend = TRUE;
            m_bMonitorOn = TRUE;
            m_bReceiveEnabled = TRUE;
            break;
        case kRunAcquisitionSlow:
            Wait(300);
            TakeCommand(command);
            break;
        case kPowerOff:
            Disconnect();
            break;
        default: {
            const bool slowLink = LinkPortRecord().m_nBaudRate < 1200 || TheApp().m_bModemLink == 1;
            const int timeout = command->GetTimeout();
            SetTimer(kReplyTimeout,
                     static_cast<unsigned>(timeout) * (slowLink ? kSlowLinkFactor : 1u));
            m_bReadyToSend = FALSE;
            break;
        }
    }
}

void CMainFrame::ChangeLinkBaudRate() {
    Wait(1000);
    CSerialMFC* port = LinkPort();
    PortRecord& record = LinkPortRecord();
    if (port)
        port->Close();
    if (!port || port->Open(DeviceNameOf(record.m_nComPort), this, 0, 0, 2048, 2048) != 0) {
        platform::AfxMessageBox("ERROR: Unable to open serial port after changing port baudrate",
                                MB_OKCANCEL);
        return;
    }
    port->SetupHandshaking(CSerial::SoftwareHandshake);
    if (const int rate = RateOfSettingText(TheApp().m_EditStatus.m_strBaudRate))
        record.m_nBaudRate = rate;
    port->Setup(record.m_nBaudRate, record.m_nDataBits, record.m_nParity, record.m_nStopBits);
    m_bReceiveEnabled = TRUE;
    m_bReadyToSend = TRUE;
    Ui().SetPaneText(kStatusPane, platform::Format("Connected to COM%d %d 8,N,1", record.m_nComPort,
                                                   record.m_nBaudRate));
    Ui().SetPaneColors(kStatusPane, 0x00FF00, 0xFFFF00);
}

void CMainFrame::Disconnect() {
    KillTimer(kStatusPoll);
    KillTimer(kIntegrationEnd);
    m_bLinkActive = FALSE;
    m_bMonitorOn = FALSE;
    m_bAcquiring = FALSE;
    m_bReceiveEnabled = FALSE;

    HangUpModem();
    CSerialMFC* port = LinkPort();
    if (port && port->IsOpen())
        port->Close();

    Ui().SetPaneText(kStatusPane, "Disconnected");
    Ui().SetPaneColors(kStatusPane, 0x00FFFF, 0x000080);

    DeleteAllCommands();
    // Nothing is awaited any more: a pending time-out has nothing to resend, and the queue
    // takes the next command when the link is opened again.
    KillTimer(kReplyTimeout);
    m_nRetryCount = 0;
    m_bReadyToSend = TRUE;

    if (platform::Contains(Ui().GetTitle(), "-RECORDING-"))
        Ui().SetTitle(NormalTitle());
    m_RecFile.Close();
}
