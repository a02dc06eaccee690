// The modem link of the monitoring link port: the dial of a connect, and the hang-up when the
// link ends.

#include "app/kx9monitor_app.h"
#include "app/main_frame.h"
#include "link/modem_link.h"
#include "platform/operator.h"

int CMainFrame::DialModem() {
    const modem_link::DialFeedback feedback{
        .showText = [this](const std::string& text) { ShowConnectingText(text); },
        .hideBox =
            [this] {
                HideConnectingBox();
                m_boxes.m_TryConnDlg.SetText("");
            },
        // An unattended run is not stopped by a box.
        .warn = [this](const std::string& text) { Warn(text, MB_OK); },
    };
    return m_link.DialModem(TheApp().m_strModemNumber, feedback);
}

void CMainFrame::HangUpModem() {
    m_link.HangUpModem();
}
