#include "app/main_frame_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

#include "app/frame_ui.h"
#include "app/kx9monitor_view.h"
#include "app/kx9monitor_view_widget.h"
#include "app/window_commands.h"
#include "platform/qt_text.h"
#include "ui/bc_menu.h"
#include "ui/x_status_bar_widget.h"

CMainFrameWindow::CMainFrameWindow(WindowCommands& commands, std::function<void()> onClose,
                                   ui::XStatusBar& statusBar)
    : m_commands(commands), m_onClose(std::move(onClose)) {
    setWindowTitle(platform::ToQt(FrameUi::kWindowTitle));
    resize(kWidth, kHeight);
    setMinimumSize(kMinWidth, kMinHeight);
    m_statusBar = new ui::XStatusBarWidget(statusBar, this);
    setStatusBar(m_statusBar);
    // The frame's hot keys work wherever the focus is inside the window.
    qApp->installEventFilter(this);
}

CMainFrameWindow::~CMainFrameWindow() {
    // The view's widget may refer to the view: it goes first.
    delete takeCentralWidget();
}

void CMainFrameWindow::SetView(std::unique_ptr<CKX9MonitorView> view) {
    delete takeCentralWidget();
    m_view = std::move(view);
    if (m_view)
        setCentralWidget(CreateViewWidget(*m_view, this));
}

void CMainFrameWindow::SetMenu(QMenu* menu) {
    menuBar()->clear();
    m_menu.reset(menu);
    if (!m_menu)
        return;
    ui::BCMenu::InstallOnMenuBar(*m_menu, *menuBar());
    ConnectCommands(*m_menu);
}

void CMainFrameWindow::ConnectCommands(QMenu& menu) {
    for (QAction* action : menu.actions()) {
        if (QMenu* popup = action->menu()) {
            // The update handlers set the entries' states as a menu opens.
            connect(popup, &QMenu::aboutToShow, this, [this] { m_commands.UpdateMenu(); });
            ConnectCommands(*popup);
        } else if (const unsigned id = ui::BCMenu::CommandIdOf(action)) {
            connect(action, &QAction::triggered, this, [this, id] { m_commands.OnCommand(id); });
        }
    }
}

void CMainFrameWindow::closeEvent(QCloseEvent* event) {
    // The frame decides; when it exits it destroys this window itself.
    event->ignore();
    if (m_onClose)
        m_onClose();
}

bool CMainFrameWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) != Qt::AltModifier ||
        key->isAutoRepeat())
        return false;
    const auto* widget = qobject_cast<const QWidget*>(watched);
    if (!widget || widget->window() != this)
        return false;
    return m_commands.OnHotKey(key->key());
}

// ---- FrameWindowHolder

FrameWindowHolder::~FrameWindowHolder() {
    delete m_window.data();
    delete m_going.data();
}

void FrameWindowHolder::Reset(std::unique_ptr<CMainFrameWindow> window) {
    delete m_window.data();
    m_window = window.release();
}

void FrameWindowHolder::Destroy() {
    if (!m_window)
        return;
    m_window->hide();
    m_window->deleteLater();
    m_going = m_window;
    m_window = nullptr;
}
