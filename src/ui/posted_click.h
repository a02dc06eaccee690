#pragma once
// A button whose handler runs after the click, as a posted message of the program's: the
// handler may end or destroy the window that holds the button (a dialog's OK), which it must not
// do inside the button's own click; and, posted so, it waits while an exchange holds the
// program's messages (platform::EventLoop::PumpWindowInput) instead of re-entering it.

#include <functional>

class QAbstractButton;
class QObject;

namespace ui {

// `handler` runs once per click, after the events queued before it, unless `context` is gone by
// then.
void OnClickedLater(QAbstractButton* button, QObject* context, std::function<void()> handler);

}  // namespace ui
