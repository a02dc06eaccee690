#include "ui/modeless_window.h"

namespace ui {

ModelessWindow::~ModelessWindow() {
    DisposeWindow(std::move(m_window));
}

BOOL ModelessWindow::Create(QWidget* parent) {
    if (m_window)
        return TRUE;
    m_window = std::make_unique<HookedDialog>(WindowHooks(), parent);
    BuildWindow(*m_window);
    return TRUE;
}

BOOL ModelessWindow::DestroyWindow() {
    if (!m_window)
        return FALSE;
    OnDestroy();
    DisposeWindow(std::move(m_window));
    return TRUE;
}

void ModelessWindow::ShowWindow(bool show) {
    if (m_window)
        m_window->setVisible(show);
}

bool ModelessWindow::IsWindowVisible() const {
    return m_window && m_window->isVisible();
}

QDialog* ModelessWindow::Window() const {
    return m_window.get();
}

HookedDialog::Hooks ModelessWindow::WindowHooks() {
    return {.ok = [this] { ShowWindow(false); }, .cancel = [this] { ShowWindow(false); }};
}

}  // namespace ui
