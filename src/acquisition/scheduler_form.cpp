#include "acquisition/scheduler_form.h"

#include <algorithm>
#include <array>

#include "platform/text.h"

namespace acquisition {

namespace {

using namespace scheduler_ids;

// The kinds the scheduler monitors, in the window's order.
constexpr ChannelRadio kChannelRadios[] = {{kSlmRadio, "SLM", 0},
                                           {kProfRadio, "PROF.", 1},
                                           {kOctRadio, "OCT.", 2},
                                           {kToctRadio, "TOCT.", 3}};

// Every control of a plan besides the channel radios; START, STOP, "Instr. Setup" and the log
// list are not.
constexpr std::array kSettingsControls = {
    kStartDate,      kStartTime,       kStopDate,    kStopTime,    kAcquisitionTime,
    kRepetitionTime, kContinuous,      kDataLogging, kStopAtPause, kPowerOffAtPause,
    kDownload,       kAudioRecording,  kCalDisabled, kCalBefore,   kCalAfter,
    kCalAtDate,      kCalDate,         kCalTime,     kCalInterval, kCalIntervalLabel,
    kCalAlwaysRadio, kCalIfErrorRadio, kThreshold};

// Stay as they are when a run ends.
constexpr std::array kKeptAfterRun = {kContinuous, kDownload, kCalAlwaysRadio, kCalIfErrorRadio,
                                      kThreshold};

constexpr std::array kCalibrationChoices = {kCalBefore, kCalAfter, kCalAtDate};
constexpr std::array kCalibrationDate = {kCalDate, kCalTime, kCalInterval, kCalIntervalLabel};

bool HasLetter(std::string_view model, std::string_view letters) {
    for (const char letter : letters)
        if (platform::Contains(model, std::string_view(&letter, 1)))
            return true;
    return false;
}

}  // namespace

void SchedulerForm::Enable(int id, bool enabled) {
    if (enabled)
        m_disabled.erase(id);
    else
        m_disabled.insert(id);
}

std::span<const ChannelRadio> ChannelRadios() {
    return kChannelRadios;
}

void SchedulerForm::EnableSettings(bool enabled) {
    for (const ChannelRadio& radio : kChannelRadios)
        Enable(radio.id, enabled);
    for (const int id : kSettingsControls)
        Enable(id, enabled);
}

void SchedulerForm::Initialise(const platform::DateTime& now, std::string_view model) {
    m_settings = ScheduleSettings{};
    const PresetTimes preset = InitialTimes(now);
    m_settings.start = preset.start;
    m_settings.stop = preset.stop;
    m_settings.calibration = preset.start;
    m_settings.acquisitionTime = kDefaultAcquisitionSeconds;
    m_settings.repetitionTime = kDefaultRepetitionSeconds;
    m_settings.calibrationInterval = SecondsOfDay(now);
    m_settings.continuous = true;
    m_settings.stopAtPause = true;
    m_settings.calDisabled = true;
    m_settings.confirmMode = ConfirmMode::kCalAlways;

    m_disabled.clear();
    EnableSettings(true);
    Enable(kThreshold, false);
    Enable(kDownload, m_settings.dataLogging);
    Enable(kStart, true);
    Enable(kStop, false);
    ApplyModelVariant(model);
    OnContinuousAcquisition();
}

void SchedulerForm::ApplyModelVariant(std::string_view model) {
    if (HasLetter(model, "pqr")) {
        Enable(kOctRadio, false);
        Enable(kToctRadio, false);
    }
    if (HasLetter(model, "jJ")) {
        Enable(kOctRadio, true);
        Enable(kToctRadio, false);
    }
    if (HasLetter(model, "p")) {
        Enable(kDataLogging, false);
        Enable(kStopAtPause, false);
        Enable(kProfRadio, false);
        m_settings.dataLogging = false;
        m_settings.stopAtPause = false;
    }
}

void SchedulerForm::OnContinuousAcquisition() {
    const bool intervals = !m_settings.continuous;
    Enable(kAcquisitionTime, intervals);
    Enable(kRepetitionTime, intervals);
    if (m_settings.continuous) {
        m_settings.acquisitionTime.reset();
        m_settings.repetitionTime.reset();
    } else {
        m_settings.acquisitionTime = kDefaultAcquisitionSeconds;
        m_settings.repetitionTime = kDefaultRepetitionSeconds;
    }
}

void SchedulerForm::OnCalDisabled() {
    if (!m_settings.calDisabled) {
        for (const int id : kCalibrationChoices)
            Enable(id, true);
        return;
    }
    m_settings.calBefore = m_settings.calAfter = m_settings.calAtDate = false;
    for (const int id : kCalibrationChoices)
        Enable(id, false);
    for (const int id : kCalibrationDate)
        Enable(id, false);
}

void SchedulerForm::OnCalAtDate() {
    for (const int id : kCalibrationDate)
        Enable(id, m_settings.calAtDate);
}

void SchedulerForm::OnConfirmMode() {
    Enable(kThreshold, m_settings.confirmMode == ConfirmMode::kCalIfErrorExceeds);
}

void SchedulerForm::OnStopAtPause() {
    if (!m_settings.stopAtPause)
        m_settings.powerOffAtPause = false;
}

void SchedulerForm::OnPowerOffAtPause() {
    if (m_settings.powerOffAtPause)
        m_settings.stopAtPause = true;
}

void SchedulerForm::RefuseDataLogging() {
    m_settings.dataLogging = false;
    Enable(kDownload, false);
}

void SchedulerForm::OnDataLoggingOff() {
    Enable(kPowerOffAtPause, true);
    Enable(kStopAtPause, true);
    Enable(kDownload, false);
}

void SchedulerForm::DisablePauseOptions() {
    Enable(kPowerOffAtPause, false);
    Enable(kStopAtPause, false);
    m_settings.stopAtPause = false;
}

void SchedulerForm::OnDataLoggingOn() {
    Enable(kDownload, true);
}

void SchedulerForm::ShowRunning() {
    EnableSettings(false);
    Enable(kStart, false);
    Enable(kStop, true);
}

void SchedulerForm::ShowStopped(std::string_view model) {
    for (const ChannelRadio& radio : kChannelRadios)
        Enable(radio.id, true);
    for (const int id : kSettingsControls)
        if (std::find(kKeptAfterRun.begin(), kKeptAfterRun.end(), id) == kKeptAfterRun.end())
            Enable(id, true);
    ApplyModelVariant(model);
    Enable(kStart, true);
    Enable(kStop, false);
}

}  // namespace acquisition
