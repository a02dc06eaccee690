#pragma once
// The window of the meter's guided programs (dialog 369): the routine's title, its steps with
// the current one marked, the meter's screen and the outcome. The calibration replies feed it
// while the meter mode's electric calibration runs and its window exists; the routine itself is
// ElectricCalibration. OK and Cancel end a routine that still runs and close the window; in
// scheduler mode OK is refused, the scheduler being in charge.

#include <memory>
#include <string>

#include "maintenance/electric_calibration.h"
#include "ui/modeless_window.h"

class CElectricCalibrationDlg : public ui::ModelessWindow {
public:
    static constexpr int IDD = 369;
    static constexpr const char* kStepListName = "steps";
    static constexpr const char* kScreenLabelName = "screen";
    static constexpr const char* kOutcomeLabelName = "outcome";
    static constexpr const char* kSchedulerActive =
        "WARNING: Sheduler is active, command not available.";
    // The pause before a screen or printed value is taken.
    static constexpr unsigned kReplyPauseMs = 250;

    // `send` and `mode` are the link session's: its Sender and its meter mode.
    CElectricCalibrationDlg(maintenance::ElectricCalibHost& host, SendCommandFn send,
                            MeterMode& mode);
    ~CElectricCalibrationDlg() override;

    // Creates the window on first use, starts `routine` afresh and shows it.
    void Open(int routine);

    // The meter's screen and printed value while the routine runs (the meter mode's electric
    // calibration): taken after a short pause, when the window exists; a screen runs a step.
    void TakeScreen(const std::string& reply);
    void TakePrintedValue(const std::string& reply);
    void Step();

    void OnOK();
    void OnCancel();

    const maintenance::ElectricCalibration& Routine() const { return m_routine; }

private:
    ui::HookedDialog::Hooks WindowHooks() override;
    void BuildWindow(QDialog& dialog) override;
    void ShowState();

    maintenance::ElectricCalibration m_routine;
};
