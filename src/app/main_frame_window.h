#pragma once
// The main frame's Qt window: menu bar, status bar and the view in the middle. It carries no
// logic of its own: closing goes to the frame, hot keys and menu commands to the commands it
// is handed.

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>

class CKX9MonitorView;
class WindowCommands;
class QMenu;

namespace ui {
class XStatusBar;
class XStatusBarWidget;
}  // namespace ui

class CMainFrameWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kWidth = 900;
    static constexpr int kHeight = 600;
    static constexpr int kMinWidth = 500;
    static constexpr int kMinHeight = 450;

    // `commands` and `statusBar` are not owned; `onClose` decides what the close box does.
    CMainFrameWindow(WindowCommands& commands, std::function<void()> onClose,
                     ui::XStatusBar& statusBar);
    ~CMainFrameWindow() override;

    // The view lives as long as the window, as a child window does; its widget fills the
    // window.
    void SetView(std::unique_ptr<CKX9MonitorView> view);
    CKX9MonitorView* View() const { return m_view.get(); }
    ui::XStatusBarWidget* StatusBarWidget() const { return m_statusBar; }

    // Shows the entries of the menu on the menu bar, in place of any earlier menu, and keeps
    // the menu.
    void SetMenu(QMenu* menu);
    QMenu* Menu() const { return m_menu.get(); }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ConnectCommands(QMenu& menu);

    WindowCommands& m_commands;
    std::function<void()> m_onClose;
    std::unique_ptr<CKX9MonitorView> m_view;
    std::unique_ptr<QMenu> m_menu;
    ui::XStatusBarWidget* m_statusBar = nullptr;
};

// Holds the frame's window. The window may be destroyed from inside one of its own events (its
// close box, its menu): it then goes when that event is over, or with the holder, whichever
// comes first.
class FrameWindowHolder {
public:
    FrameWindowHolder() = default;
    ~FrameWindowHolder();
    FrameWindowHolder(const FrameWindowHolder&) = delete;
    FrameWindowHolder& operator=(const FrameWindowHolder&) = delete;

    CMainFrameWindow* Get() const { return m_window.data(); }
    void Reset(std::unique_ptr<CMainFrameWindow> window);
    // Hides the window now and deletes it once the event loop is back.
    void Destroy();

private:
    QPointer<CMainFrameWindow> m_window;
    QPointer<CMainFrameWindow> m_going;
};
