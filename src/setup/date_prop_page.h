#pragma once
// The "General" page's window: the lists, the meter's and the PC's date and time pickers, the
// clock box with its warning, and the calibration level. While the page's model runs the PC
// clock, the window's timer 3 refreshes the PC time picker every second.

#include "platform/window_timers.h"
#include "setup/setup_prop_page.h"

class QDateEdit;
class QTimeEdit;

namespace setup {

class GeneralPage;

class CDatePropPage : public CSetupPropPage {
public:
    explicit CDatePropPage(GeneralPage& model, QWidget* parent = nullptr);

    void ShowControls() override;
    void TakeControls() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QDateEdit* NewDatePicker(int id);
    QTimeEdit* NewTimePicker(int id);
    void FollowClock();
    void OnTimer(int id);

    GeneralPage& m_general;
    QDateEdit* m_meterDate = nullptr;
    QTimeEdit* m_meterTime = nullptr;
    QDateEdit* m_pcDate = nullptr;
    QTimeEdit* m_pcTime = nullptr;
    platform::WindowTimers m_timers{[this](int id) { OnTimer(id); }};
};

}  // namespace setup
