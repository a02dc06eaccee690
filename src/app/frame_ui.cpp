#include "app/frame_ui.h"

#include "link/instr_status.h"
#include "platform/clock.h"
#include "platform/text.h"

void FrameUi::EndSetupWaitBox() {
    KillSetupWaitBoxTimer();
    SetSetupWaitProgress(100);
    // A plain wait: nothing else runs meanwhile.
    platform::Clock::Sleep(500);
    DestroySetupWaitBox();
}

std::string NormalFrameTitle(const CInstrStatus& current) {
    return platform::Format("KX9Monitor %s - %s", current.m_strModel.c_str(),
                            current.m_strSerialNumber.c_str());
}
