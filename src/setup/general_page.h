#pragma once
// The "General" page: the meter's clock, display, power, input and output, measurement and
// calibration settings. It can set the meter's clock from the PC's: while the box is ticked
// the PC clock runs on the page, and leaving the page puts the PC's date and time into the
// edited setup. Only the calibration level is typed; it is refused, keeping the operator on
// the page, unless it is a number with a decimal point between 90.0 and 130.0.

#include <optional>
#include <string>
#include <vector>

#include "setup/setup_page.h"
#include "setup/value_controls.h"

namespace setup {

namespace general_ids {
// lists
constexpr int kIntegrationMode = ControlOf("INTEGR_MODE").id;
constexpr int kAmbientCorrection = ControlOf("AMB_CORR").id;
constexpr int kWindShield = ControlOf("WIND_SHIELD").id;
constexpr int kMicResponse = ControlOf("MIC_RESP").id;
constexpr int kOverloadLevel = ControlOf("OVERLOAD_LEV").id;
constexpr int kEraseTime = ControlOf("ERASE_TIME").id;
constexpr int kIntegrationTime = ControlOf("INTEGRATION_TIME").id;
constexpr int kDaOutput = ControlOf("DA_OUTPUT").id;
constexpr int kInputGain = ControlOf("INPUT_GAIN").id;
constexpr int kInputChannel = ControlOf("INPUT_CH").id;
constexpr int kAutoPowerOff = ControlOf("AUTO_PWR_OFF").id;
constexpr int kBaudRate = ControlOf("BAUD").id;
constexpr int kDisplayContrast = ControlOf("DISP_C").id;
// date and time pickers
constexpr int kMeterDate = ControlOf("DATE").id;
constexpr int kMeterTime = ControlOf("TIME").id;
constexpr int kPcDate = 1112;
constexpr int kPcTime = 1116;
// the rest
constexpr int kUpdateClock = 1200;                // check box
constexpr int kCalLevel = ControlOf("CAL_L").id;  // edit
constexpr int kClockWarning = 1201;
constexpr int kClockWarningIcon = 1202;
constexpr int kMicResponseLabel = 1709;
constexpr int kWindShieldLabel = 1710;
constexpr int kAmbientCorrectionLabel = 1702;
}  // namespace general_ids

// What a date or time picker holds; a picker without one shows no valid value.
struct PickerDate {
    int year = 0, month = 0, day = 0;
    bool operator==(const PickerDate&) const = default;
};
struct PickerTime {
    int hour = 0, minute = 0, second = 0;
    bool operator==(const PickerTime&) const = default;
};

class GeneralPage : public SetupPage {
public:
    static constexpr int kClockTimerId = 3;
    static constexpr unsigned kClockTickMs = 1000;
    static constexpr int kCalLevelMaxLength = 5;

    explicit GeneralPage(SetupHost& host);

    void OnInitDialog() override;
    void OnSetActive() override;
    bool OnKillActive() override;

    // The operator ticked or cleared the clock box (the click has changed the tick).
    void OnUpdateDateTimeCheck();
    // The focus entered the PC time picker: the clock stops, so a time can be typed.
    void OnSetFocusPcTime();
    // Clock tick: the PC time picker shows the PC's time; false when the clock is stopped.
    bool OnTimer();
    // The operator picked an input channel or an integration time.
    void OnInputChannelChange();
    void OnIntegrationTimeChange();

    // The PC clock runs on the page (timer 3).
    bool IsClockRunning() const { return m_clockRunning; }
    bool WasActivated() const { return m_activated; }

    const std::optional<PickerDate>& MeterDate() const { return m_meterDate; }
    const std::optional<PickerTime>& MeterTime() const { return m_meterTime; }
    const std::optional<PickerDate>& PcDate() const { return m_pcDate; }
    const std::optional<PickerTime>& PcTime() const { return m_pcTime; }
    // The operator set the PC pickers by hand.
    void SetPcDate(std::optional<PickerDate> date) { m_pcDate = date; }
    void SetPcTime(std::optional<PickerTime> time) { m_pcTime = time; }

private:
    void EnableClockControls(bool enabled);
    void ShowPcClock();
    // Integration Mode may follow the operator: not on a QS4160 with reports while a report
    // interval is set, which keeps it at "SINGLE".
    bool IsIntegrationModeForced() const;
    // Stores the list's selected text in `value`; a list without a selection leaves it.
    void StoreSelected(int list, std::string& value) const;
    // Checks the typed calibration level, telling the operator why it is refused.
    bool TakeCalLevel();

    bool m_activated = false;
    bool m_clockRunning = false;
    std::optional<PickerDate> m_meterDate;
    std::optional<PickerTime> m_meterTime;
    std::optional<PickerDate> m_pcDate;
    std::optional<PickerTime> m_pcTime;
};

// The integration time of a list entry ("SS:05", "MM:59", "HH:01"), and back: nullopt for an
// index outside the list or a text that names no entry ("SS:60", "HH:xx").
std::optional<std::string> IntegrationTimeOfEntry(int index);
std::optional<int> EntryOfIntegrationTime(const std::string& text);

}  // namespace setup
