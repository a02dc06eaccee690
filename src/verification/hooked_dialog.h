#pragma once
// The Qt window of a bench dialog object that keeps its own state: the window hands its
// showing, its close box, OK and Cancel to the object, which decides what they do. The object
// builds and destroys the window as its owner asks.

#include <QDialog>
#include <QString>
#include <functional>
#include <string>

namespace verification {

class HookedDialog : public QDialog {
public:
    struct Hooks {
        std::function<void()> shown;
        // False keeps the window open.
        std::function<bool()> closing;
        std::function<void()> ok;
        std::function<void()> cancel;
    };

    explicit HookedDialog(Hooks hooks) : m_hooks(std::move(hooks)) {}
    // The object is going: the window forgets it.
    void Disown() { m_hooks = Hooks{}; }

    // Whether the window is handling one of its events now: destroying it must wait.
    bool Busy() const { return m_depth > 0; }

    bool event(QEvent* event) override;
    void accept() override;
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    Hooks m_hooks;
    int m_depth = 0;
};

// Latin-1 program text at the widget edge, and back.
QString ToQt(const std::string& latin1);
std::string FromQt(const QString& text);
// Controls are named by their dialog ids.
QString IdName(int id);

}  // namespace verification
