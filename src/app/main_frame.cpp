#include "app/main_frame.h"

#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "link/instr_status.h"
#include "link/serial_wnd.h"
#include "platform/clock.h"
#include "platform/operator.h"
#include "platform/text.h"

CMainFrame::CMainFrame(LinkClock* linkClock, LinkClock* schedulerClock)
    : m_linkClock(linkClock ? *linkClock : m_ownLinkClock), m_scheduler(*this, schedulerClock) {
    TheApp().m_pMainFrame = this;
    WireFrameParts();
    RegisterReplies();
}

CMainFrame::~CMainFrame() {
    m_timers.KillAll();
    m_link.StopTimers();
    m_link.SharedState()->SetDumpDecoder(nullptr);
    // No listener runs the decoder or posts to the session once they are gone.
    m_link.ClosePorts();
    if (TheApp().m_pMainFrame == this)
        TheApp().m_pMainFrame = nullptr;
}

void CMainFrame::OnSerialAlarm(const LinkAlarm& alarm) {
    switch (alarm.kind) {
        case LinkAlarm::Kind::BufferFull:
            platform::AfxMessageBox("ERROR:Serial Buffer full", MB_ICONEXCLAMATION);
            break;
        case LinkAlarm::Kind::NoCarrier:
            if (Mode().IsSchedulerMode())
                LogScheduler(FALSE, platform::Format("Comunication error: %s.", alarm.text.c_str()),
                             FALSE);
            else
                platform::AfxMessageBox(
                    "ERROR: NO CARRIER detect.\nPlease check line and modem configuration.",
                    MB_ICONSTOP);
            break;
    }
}

void CMainFrame::Warn(const std::string& text, unsigned type, const std::string& schedulerText) {
    if (Mode().IsSchedulerMode())
        LogScheduler(FALSE, schedulerText.empty() ? text : schedulerText, FALSE);
    else
        platform::AfxMessageBox(text, type);
}

void CMainFrame::Wait(unsigned ms) {
    platform::Clock::Sleep(ms);
}

void CMainFrame::WaitWithMessages(unsigned ms) {
    TheApp().WaitWithMessages(ms);
}

bool CMainFrame::Confirm(const std::string& question) {
    return platform::AfxMessageBox(question, MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
}

CInstrStatus& CMainFrame::Current() const {
    return TheApp().m_InstrStatus;
}

CInstrStatus& CMainFrame::Edited() const {
    return TheApp().m_EditStatus;
}

unsigned CMainFrame::TimerInterval(int id) const {
    const auto it = m_timerIntervals.find(id);
    return it == m_timerIntervals.end() ? 0 : it->second;
}

std::string CMainFrame::NormalTitle() const {
    return platform::Format("KX9Monitor %s - %s", Current().m_strModel.c_str(),
                            Current().m_strSerialNumber.c_str());
}
