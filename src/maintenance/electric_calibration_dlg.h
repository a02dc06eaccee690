#pragma once
// The window of the meter's guided programs (dialog 369): the routine's title, its steps with
// the current one marked, the meter's screen and the outcome. The reply dispatcher feeds it
// while the frame's m_bElectricCalRunning is set and its window exists; the routine itself is
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

    explicit CElectricCalibrationDlg(maintenance::ElectricCalibHost& host);
    ~CElectricCalibrationDlg() override;

    // Creates the window on first use, starts `routine` afresh and shows it.
    void Open(int routine);

    // What the reply dispatcher hands over, and the step it runs.
    void SetDisplayText(const std::string& text) { m_routine.SetDisplayText(text); }
    void SetPrintedValue(const std::string& text) { m_routine.SetPrintedValue(text); }
    void Step();

    void OnOK();
    void OnCancel();

    const maintenance::ElectricCalibration& Routine() const { return m_routine; }

private:
    ui::HookedDialog::Hooks WindowHooks() override;
    void BuildWindow(QDialog& dialog) override;
    void ShowState();

    maintenance::ElectricCalibHost& m_host;
    maintenance::ElectricCalibration m_routine;
};
