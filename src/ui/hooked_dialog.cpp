#include "ui/hooked_dialog.h"

#include <QCloseEvent>

namespace ui {

void DisposeWindow(std::unique_ptr<HookedDialog> window) {
    if (!window)
        return;
    window->Disown();
    window->hide();
    if (window->Busy())
        window.release()->deleteLater();
}

bool HookedDialog::event(QEvent* event) {
    // The window deletes itself on this one; nothing of it may be touched afterwards.
    if (event->type() == QEvent::DeferredDelete)
        return QDialog::event(event);
    ++m_depth;
    const bool handled = QDialog::event(event);
    --m_depth;
    return handled;
}

void HookedDialog::accept() {
    if (m_hooks.ok)
        m_hooks.ok();
    else
        QDialog::accept();
}

void HookedDialog::reject() {
    if (m_hooks.cancel)
        m_hooks.cancel();
    else
        QDialog::reject();
}

void HookedDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_hooks.shown)
        m_hooks.shown();
}

void HookedDialog::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (m_hooks.hidden)
        m_hooks.hidden();
}

void HookedDialog::closeEvent(QCloseEvent* event) {
    if (m_hooks.closing && !m_hooks.closing()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

QString IdName(int id) {
    return QString::number(id);
}

}  // namespace ui
