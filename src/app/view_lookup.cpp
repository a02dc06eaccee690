#include "app/view_lookup.h"

#include "app/kx9monitor_app.h"
#include "app/main_frame_window.h"

CKX9MonitorView* ViewLookup::Shown() const {
    const CMainFrameWindow* window = m_window.Get();
    return window ? window->View() : nullptr;
}

CKX9MonitorView* ViewLookup::Current() const {
    return TheApp().m_pView;
}
