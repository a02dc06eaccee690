#pragma once
// The window of a dialog object that the program keeps while the window comes and goes: built
// on demand, shown and hidden, destroyed by its owner, while the object keeps its state. A
// window class derives from it and lays out its controls in BuildWindow.

#include <memory>

#include "platform/win_types.h"
#include "ui/hooked_dialog.h"

class QDialog;
class QWidget;

namespace ui {

class ModelessWindow {
public:
    virtual ~ModelessWindow();
    ModelessWindow(const ModelessWindow&) = delete;
    ModelessWindow& operator=(const ModelessWindow&) = delete;

    // Builds the window (hidden); TRUE also when it exists already.
    BOOL Create(QWidget* parent = nullptr);
    // FALSE when there is no window.
    BOOL DestroyWindow();
    bool HasWindow() const { return m_window != nullptr; }
    void ShowWindow(bool show);
    bool IsWindowVisible() const;
    QDialog* Window() const;

protected:
    ModelessWindow() = default;

    // What the window hands to the object; by default OK and Cancel only hide it.
    virtual HookedDialog::Hooks WindowHooks();
    // Lays out the controls of the window just made and fills them.
    virtual void BuildWindow(QDialog& window) = 0;
    // Runs before the window goes. Here the window goes only after the derived object's
    // members: a class whose controls or OnDestroy reach them destroys the window in its own
    // destructor.
    virtual void OnDestroy() {}

private:
    std::unique_ptr<HookedDialog> m_window;
};

}  // namespace ui
