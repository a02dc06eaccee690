#pragma once
// The acquisition scheduler's plan as its window's controls hold it: the channel, the start
// and stop, one continuous acquisition or acquisitions of a fixed length repeated at a fixed
// interval, the monitoring options and the electric calibration. Plain data: the rules that
// couple the controls and the checks of START work on it (schedule_rules.h,
// schedule_checks.h).

#include <optional>
#include <string>

#include "platform/date_time.h"
#include "records/record_kind.h"

namespace acquisition {

// The scheduler window's controls, by dialog id (dialog 378).
namespace scheduler_ids {
constexpr int kStart = 1;  // OK
constexpr int kStop = 2;   // Cancel
constexpr int kSlmRadio = 1638;
constexpr int kProfRadio = 1639;
constexpr int kOctRadio = 1650;
constexpr int kToctRadio = 1654;
constexpr int kStartDate = 1640;
constexpr int kStartTime = 1641;
constexpr int kStopDate = 1651;
constexpr int kStopTime = 1652;
constexpr int kAcquisitionTime = 1642;
constexpr int kRepetitionTime = 1643;
constexpr int kContinuous = 1715;
constexpr int kDataLogging = 1655;
constexpr int kStopAtPause = 1703;
constexpr int kPowerOffAtPause = 1644;
constexpr int kDownload = 1668;
constexpr int kAudioRecording = 1723;
constexpr int kCalDisabled = 1664;
constexpr int kCalBefore = 1665;
constexpr int kCalAfter = 1666;
constexpr int kCalAtDate = 1667;
constexpr int kCalDate = 1648;
constexpr int kCalTime = 1649;
constexpr int kCalInterval = 1653;
constexpr int kCalIntervalLabel = 1704;
constexpr int kCalAlwaysRadio = 1669;
constexpr int kCalIfErrorRadio = 1670;
constexpr int kThreshold = 1671;
constexpr int kInstrSetup = 1656;
constexpr int kLogList = 1657;
}  // namespace scheduler_ids

// "Confirm Calibration".
enum ConfirmMode : int { kConfirmNone = -1, kCalAlways = 0, kCalIfErrorExceeds = 1 };

// A time picker read as a length: the seconds of its time of day; nothing once it is marked
// invalid.
using PickerSpan = std::optional<long long>;

struct ScheduleSettings {
    // The kind to monitor, none until chosen; also the frame's channel mode.
    std::optional<records::RecordKind> channel;
    // Date and time pickers, joined.
    platform::DateTime start;
    platform::DateTime stop;
    platform::DateTime calibration;
    PickerSpan acquisitionTime;
    PickerSpan repetitionTime;
    PickerSpan calibrationInterval;
    bool continuous = false;
    bool dataLogging = false;
    bool stopAtPause = false;
    bool powerOffAtPause = false;
    bool download = false;
    bool audioRecording = false;
    bool calDisabled = false;
    bool calBefore = false;
    bool calAfter = false;
    bool calAtDate = false;
    int confirmMode = kConfirmNone;
    // dB, as typed.
    std::string threshold;
};

// "Acq.Time" and "Rep.Time" when the acquisitions are not continuous.
constexpr long long kDefaultAcquisitionSeconds = 2 * 60;
constexpr long long kDefaultRepetitionSeconds = 3 * 60;

// The seconds since midnight of a time's time of day.
long long SecondsOfDay(const platform::DateTime& time);

// The start and the stop the window opens with: two minutes from now, on the full minute; from
// minute 58 on, the next full hour; at 23:58 and 23:59 the current minute. The stop is a minute
// after the start in the first case and the start itself in the others.
struct PresetTimes {
    platform::DateTime start;
    platform::DateTime stop;
};
PresetTimes InitialTimes(const platform::DateTime& now);

}  // namespace acquisition
