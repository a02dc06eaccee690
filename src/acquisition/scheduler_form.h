#pragma once
// The scheduler window's form without its widgets: the settings, which controls are enabled,
// and the rules that couple them (defaults, the model variant, continuous acquisitions, the
// calibration choices, the pause options, the running and the stopped form).

#include <set>
#include <span>
#include <string_view>

#include "acquisition/schedule_settings.h"
#include "records/record_kind.h"

namespace acquisition {

// A radio button of "Channel to Monitor": one per kind the scheduler offers, named by the
// meter's number of the kind.
struct ChannelRadio {
    int id;
    const char* caption;
    int channelMode;

    records::RecordKind Kind() const { return *records::RecordKind::OfChannelMode(channelMode); }
};
std::span<const ChannelRadio> ChannelRadios();

class SchedulerForm {
public:
    ScheduleSettings& Settings() { return m_settings; }
    const ScheduleSettings& Settings() const { return m_settings; }

    // A control is enabled until a rule disables it.
    bool IsEnabled(int id) const { return !m_disabled.contains(id); }
    void Enable(int id, bool enabled);

    // What the window opens with: the constructor's state (every date `now`, nothing chosen,
    // every check off), then the defaults, the model's rules and continuous acquisitions.
    void Initialise(const platform::DateTime& now, std::string_view model);

    // "Continuous\nAcquisition" was clicked: the interval pickers are used exactly when it is
    // off; on, they are zero and invalid, off, they hold their defaults again.
    void OnContinuousAcquisition();
    // "Cal. disabled": on clears and disables the three calibration choices and the date,
    // time and interval; off enables the choices.
    void OnCalDisabled();
    // "Cal. at date": its date, time and interval follow the check.
    void OnCalAtDate();
    // A "Confirm Calibration" radio: the threshold is typed only for "Cal. if error exceeds".
    void OnConfirmMode();
    // "Stop acq. at monitor pause" turned off also turns the power-off off; the power-off
    // turned on also turns the stop on.
    void OnStopAtPause();
    void OnPowerOffAtPause();

    // "Monitor && DataLogging": refused (the check off again), turned off, on for a meter that
    // logs reports or events (which keeps logging through a pause: no pause options), and on.
    void RefuseDataLogging();
    void OnDataLoggingOff();
    void DisablePauseOptions();
    void OnDataLoggingOn();

    // A run was activated: every setting, the threshold and START disabled, STOP enabled.
    void ShowRunning();
    // A run ended: the settings enabled again but "Continuous\nAcquisition", "Download logged
    // data", the confirm radios and the threshold, which stay as they are until the window
    // opens again; START enabled, STOP disabled. What the model lacks stays disabled.
    void ShowStopped(std::string_view model);

private:
    void EnableSettings(bool enabled);
    void ApplyModelVariant(std::string_view model);

    ScheduleSettings m_settings;
    std::set<int> m_disabled;
};

}  // namespace acquisition
