#pragma once
// What the link session needs of the application, the view and the frame, served by the
// frame: the session talks to the meter, the frame says what a command given up means.

#include "link/link_session_host.h"

class CMainFrame;

class FrameLinkHost : public LinkSessionHost {
public:
    explicit FrameLinkHost(CMainFrame& frame) : m_frame(frame) {}

    void WaitWithMessages(unsigned ms) override;
    void PumpWaitingMessages() override;
    PortRecord& PortRecordOf(LinkSide side) override;
    bool IsModemLink() override;
    std::string BaudRateSetting() override;

    void ShowLinkPane(const std::string& text, COLORREF onColor, COLORREF offColor) override;
    void OnQueueEmpty() override;
    void OnAnswered(const CCommand& command) override;
    void OnWrongState(const CCommand& command) override;
    void OnGivenUp(const CCommand& command, bool refused) override;
    void OnTimedOut(const CCommand& command) override;
    void OnPowerOffSent() override;
    void OnAlarm(const LinkAlarm& alarm) override;

private:
    CMainFrame& m_frame;
};
