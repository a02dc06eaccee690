// The modem link of the monitoring link port: the dial of a connect, and the hang-up when the
// link ends.

#include "app/kx9monitor_app.h"
#include "app/main_frame.h"
#include "link/modem_link.h"
#include "link/serial_wnd.h"
#include "platform/operator.h"

int CMainFrame::DialModem() {
    CSerialMFC* port = LinkPort();
    if (!port)
        return modem_link::kNoLocalModem;
    // The modem's replies are for the dial, not for the listener.
    m_bReceiveEnabled = FALSE;
    const PortRecord& record = LinkPortRecord();
    const modem_link::DialFeedback feedback{
        .showText = [this](const std::string& text) { ShowConnectingText(text); },
        .hideBox =
            [this] {
                HideConnectingBox();
                m_TryConnDlg.SetText("");
            },
        .warn = [](const std::string& text) { platform::AfxMessageBox(text); },
    };
    return modem_link::DialModem(*port, record.m_nComPort, record.m_nBaudRate,
                                 TheApp().m_strModemNumber, feedback);
}

void CMainFrame::HangUpModem() {
    CSerialMFC* port = LinkPort();
    if (port && port->IsOpen() && TheApp().m_bModemLink == 1)
        modem_link::HangUp(*port);
}
