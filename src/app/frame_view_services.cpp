#include "app/frame_view_services.h"

#include "app/kx9monitor_app.h"
#include "app/main_frame.h"

CInstrStatus& FrameViewServices::CurrentSetup() {
    return TheApp().m_InstrStatus;
}

void FrameViewServices::SetCrossReference(BOOL on) {
    m_frame.m_dataViewCommands.m_bCrossReference = on;
}

void FrameViewServices::ClearMenuState() {
    m_frame.m_nDisplayMode = 0;
}
