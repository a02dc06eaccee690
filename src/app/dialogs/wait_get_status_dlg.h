#pragma once
// The progress box of a whole-setup read or send. Its bar moves on every tick of its timer and
// every reply; after 400 steps (100 s of ticks) it stops and says that the setup timed out.
// Cancel empties the frame's command queue through the handler the frame gives it.

#include <functional>
#include <string>

#include "app/dialogs/modeless_dialog.h"
#include "platform/window_timers.h"

class CWaitGetStatusDlg : public dialogs::ModelessDialog {
public:
    static constexpr int IDD = 190;
    static constexpr int IDC_PROGRESS = 1116;
    static constexpr int IDC_TEXT = 1157;
    static constexpr int kTimerId = 2;
    static constexpr unsigned kTickMs = 250;
    static constexpr int kMaxSteps = 400;
    static constexpr const char* kTimeoutText = "ERROR: setup timeout expired";

    CWaitGetStatusDlg();
    ~CWaitGetStatusDlg() override;

    // Run by Cancel: the frame drops its current command and deletes every queued one.
    void SetCancelHandler(std::function<void()> emptyCommandQueue) {
        m_onCancel = std::move(emptyCommandQueue);
    }
    void SetText(const std::string& text) { SetDlgItemText(IDC_TEXT, text); }

    void OnShowWindow(BOOL show, unsigned status) override;
    void OnTimer(int id);
    // One step on demand, as a tick does (the frame calls it for every good reply).
    void StepProgress();
    void KillTimer(int id) { m_timers.Kill(id); }
    bool IsTimerSet(int id) const { return m_timers.IsSet(id); }

    int m_nStep = 0;

protected:
    void BuildControls(QDialog& dialog) override;
    void OnCancel() override;
    void OnDestroy() override { m_timers.KillAll(); }

private:
    void Step();

    platform::WindowTimers m_timers;
    std::function<void()> m_onCancel;
};
