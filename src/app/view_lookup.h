#pragma once
// Where the frame's parts find the main view. The view belongs to the frame's window and comes
// and goes with it; the application also knows its current view, which may be one built
// without a window (a test's). Each is nullptr while there is none.

class CKX9MonitorView;
class FrameWindowHolder;

class ViewLookup {
public:
    explicit ViewLookup(const FrameWindowHolder& window) : m_window(window) {}

    // The view the frame's window shows.
    CKX9MonitorView* Shown() const;
    // The application's current view.
    CKX9MonitorView* Current() const;

private:
    const FrameWindowHolder& m_window;
};
