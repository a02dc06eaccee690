#include "app/kx9monitor_view.h"

#include "app/kx9monitor_app.h"
#include "app/main_frame.h"

namespace {
std::shared_ptr<LinkReplyState> FrameLinkState() {
    CMainFrame* frame = TheApp().m_pMainFrame;
    return frame ? frame->LinkState() : std::make_shared<LinkReplyState>();
}
}  // namespace

CKX9MonitorView::CKX9MonitorView()
    : m_RefSerial(FrameLinkState(), static_cast<int>(LinkSide::Reference)),
      m_TargetSerial(FrameLinkState(), static_cast<int>(LinkSide::Target)) {
    TheApp().m_pView = this;
}

CKX9MonitorView::~CKX9MonitorView() {
    if (m_RefSerial.IsOpen())
        m_RefSerial.Close();
    m_TargetSerial.Close();
    if (TheApp().m_pView == this)
        TheApp().m_pView = nullptr;
}
