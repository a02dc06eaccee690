// The frame's part in the acquisition scheduler: connecting the monitoring link for a
// scheduled acquisition, and showing the run's data file when a run ends.
//
// The connection never asks the operator: its failures go to the scheduler log.

#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "app/main_frame.h"
#include "link/meter_probe.h"
#include "link/modem_link.h"
#include "link/serial_wnd.h"
#include "platform/clock.h"
#include "platform/text.h"

namespace {
constexpr const char* kSchedulerFile = "\\Scheduler.kr9";
}  // namespace

int CMainFrame::ConnectForScheduler() {
    CKX9MonitorApp& app = TheApp();
    app.LoadPortIni();
    m_link.SetLinkPort(LinkSide::Reference);
    Mode().SetLinkActive(false);
    // Without its view the program is leaving: nothing is connected any more.
    if (!app.m_pView)
        return kSchedulerLinkFailed;
    CSerialMFC& port = m_link.SerialPort(LinkSide::Reference);
    // A port left open by an earlier attempt would refuse to open again.
    if (port.IsOpen())
        port.Close();
    const PortRecord& record = app.m_RefPort;
    const std::string device = meter_probe::DeviceNameOf(record.m_nComPort);
    if (OpenReferenceLink(device) != 0) {
        LogScheduler(FALSE, "Fail opening com port", TRUE);
        return kSchedulerLinkFailed;
    }
    port.Setup(record.m_nBaudRate, record.m_nDataBits, record.m_nParity, CSerial::OneStopBit);
    port.SetupHandshaking(CSerial::HardwareHandshake);

    bool called = false;
    if (app.m_bModemLink == 1) {
        const int result = DialModem();
        if (result != modem_link::kConnected) {
            port.Close();
            HideConnectingBox();
            LogScheduler(FALSE,
                         result == modem_link::kNoLocalModem
                             ? std::string("Modem not responding.")
                             : platform::Format("CONNECTION FAILURE (%s) - Monitoring skipped.",
                                                m_TryConnDlg.m_strText.c_str()),
                         TRUE);
            return kSchedulerLinkFailed;
        }
        platform::Clock::Sleep(modem_link::kAfterCarrierMs);
        called = true;
    }

    if (!ProbeMeter(device, meter_probe::kStoredPortReplyWait)) {
        if (called)
            HangUpModem();
        m_link.PurgeLink();
        port.Close();
        HideConnectingBox();
        LogScheduler(FALSE, "WARNING: CONNECTION FAILURE", TRUE);
        return kSchedulerNotAnswering;
    }
    m_schedulerRun.SetState(acquisition::SchedulerRun::kConnected);
    LogScheduler(FALSE, "Connection ON", TRUE);
    Mode().SetLinkActive(true);
    SetBaudSetting(platform::Format("%d", record.m_nBaudRate));
    Ui().SetPaneText(
        kStatusPane,
        called ? platform::Format("Connected: MODEM (Num: %s)", app.m_strModemNumber.c_str())
               : platform::Format("Connected to COM%d %d 8,N,1", record.m_nComPort,
                                  record.m_nBaudRate),
        "");
    Ui().SetPaneColors(kStatusPane, kLinkPaneConnected, kLinkPaneOff);
    HideConnectingBox();
    return kSchedulerConnected;
}

void CMainFrame::ResetViewForScheduler() {
    CKX9MonitorApp& app = TheApp();
    Mode().SetDownloading(false);
    app.m_strCurrentFile.clear();
    EmptyViewForNewSession();
    if (CKX9MonitorView* view = app.m_pView) {
        view->m_DataChart.RemoveAllItems();
        view->ShowControl(CKX9MonitorView::IDC_DATA_CHART, false);
    }
    m_ViewInstrStatusDlg.ShowWindow(false);
    Ui().SetTitle(Mode().IsLinkActive() ? NormalTitle() : kWindowTitle);
}

void CMainFrame::OpenSchedulerFile() {
    OpenSessionFile(TheApp().ProgramPath(kSchedulerFile));
}
