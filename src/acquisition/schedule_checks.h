#pragma once
// What START checks before a schedule is activated, with the messages it refuses with, and the
// times and record count an activated run works with. No widgets and no clock: the caller
// gives the current time and what it knows of the meter and the link.

#include <optional>
#include <string>

#include "acquisition/schedule_settings.h"
#include "platform/date_time.h"

namespace acquisition {

// The meter's setup as START reads it: current values as last read, edited ones as the
// operator (or the window) left them.
struct StartSetup {
    std::string model;
    std::string spectrumTime;
    std::string integrationTime;
    std::string editedReportTime;
    std::string editedIntegrationMode;
    std::string editedProfileTime;
    std::string editedSpectrumTime;
};

// The monitoring link: its port record's rate and whether a modem carries it.
struct StartLink {
    int baudRate = 0;
    bool modem = false;
};

// Seconds the link is connected before a start: a minute, three below 9600 baud or over a
// modem.
long long ConnectionLead(const StartLink& link);
// Seconds an electric calibration is given before a start.
constexpr long long kCalibrationLead = 2 * 60;
// The shortest repetition interval.
constexpr long long kShortestRepetition = 2 * 60;

// The run's times as START composes them from the settings.
struct ScheduleTimes {
    platform::DateTime nextStart;
    platform::DateTime stop;
    platform::DateTime calDate;
    // Invalid for continuous acquisitions.
    PickerSpan acqSpan;
    PickerSpan repSpan;
    PickerSpan calInterval;
    long long connSpan = 0;
    long long calSpan = kCalibrationLead;
};
ScheduleTimes ComposeTimes(const ScheduleSettings& settings, const StartLink& link);

struct StartRefusal {
    std::string text;
    unsigned type = 0;  // the box's icon
};

// The first check the plan fails, in START's order; nothing when it may be activated. The
// record count of an acquisition (ExpectedRecords) is checked last.
std::optional<StartRefusal> CheckStart(const ScheduleSettings& settings, const ScheduleTimes& times,
                                       const StartSetup& setup, const StartLink& link,
                                       const platform::DateTime& now);

// Live records an acquisition brings: -1 for continuous acquisitions; 0 when the meter would
// send none within one (a sampling time that is no positive number included).
int ExpectedRecords(records::RecordKind kind, const PickerSpan& acqSpan,
                    const std::string& profileTime, const std::string& spectrumTime);

// Whether a calibration at date falls into an acquisition: none, its start inside one, or its
// operation (start to start plus the calibration lead) ending inside one.
enum class CalibrationClash { None, StartInside, OperationInside };
CalibrationClash FindCalibrationClash(const ScheduleTimes& times);
// Acquisitions the clash search looks at, at most: a plan of more than these has its later
// acquisitions unchecked rather than keep the window waiting.
constexpr long long kMaxCheckedAcquisitions = 10'000'000;

// "Monitor && DataLogging": the integration time value ("SS:10") as the question shows it
// ("10 s"), and its length in seconds.
std::string IntegrationTimeText(const std::string& value);
long long IntegrationSeconds(const std::string& value);

}  // namespace acquisition
