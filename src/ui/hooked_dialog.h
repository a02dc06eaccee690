#pragma once
// The Qt window of a dialog object that keeps its own state: the window hands its showing,
// hiding, close box, OK and Cancel to the object, which decides what they do. The object builds
// and destroys the window as its owner asks.

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "platform/qt_text.h"

namespace ui {

class HookedDialog : public QDialog {
public:
    struct Hooks {
        std::function<void()> shown = nullptr;
        // False keeps the window open.
        std::function<bool()> closing = nullptr;
        std::function<void()> ok = nullptr;
        std::function<void()> cancel = nullptr;
        std::function<void()> hidden = nullptr;
    };

    explicit HookedDialog(Hooks hooks, QWidget* parent = nullptr)
        : QDialog(parent), m_hooks(std::move(hooks)) {}
    // The object is going: the window forgets it.
    void Disown() { m_hooks = Hooks{}; }

    // Whether the window is handling one of its events now: destroying it must wait.
    bool Busy() const { return m_depth > 0; }

    bool event(QEvent* event) override;
    void accept() override;
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    Hooks m_hooks;
    int m_depth = 0;
};

// Takes the window from its object: it forgets the object, hides, and goes now, or once it has
// handled the event of its own that asked for this.
void DisposeWindow(std::unique_ptr<HookedDialog> window);

// The windows' way in and out for texts.
using platform::FromQt;
using platform::ToQt;
// Controls are named by their dialog ids.
QString IdName(int id);

}  // namespace ui
