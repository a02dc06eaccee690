#include "acquisition/schedule_checks.h"

#include <algorithm>

#include "platform/text.h"
#include "platform/win_types.h"

namespace acquisition {

namespace {

using platform::Contains;
using platform::DateTime;

constexpr int kSlowestMonitoringRate = 1200;
constexpr int kFastLinkRate = 9600;
constexpr long long kFastLinkLead = 60;
constexpr long long kSlowLinkLead = 3 * 60;
constexpr int kHalfSecondRecordsPerSecond = 2;

StartRefusal Error(std::string text) {
    return {std::move(text), MB_ICONSTOP};
}

std::string TooLow(std::string_view kind, int rate) {
    return platform::Format(
        "ERROR: Instrument Baudrate is too low for a correct %s Monitoring.\nPlease select %d "
        "baud at least",
        std::string(kind).c_str(), rate);
}

// Every kind needs the slowest monitoring rate; some need more at short spectrum times.
std::optional<StartRefusal> CheckBaudRate(records::RecordKind kind, int baud,
                                          const std::string& spectrumTime) {
    if (baud < kSlowestMonitoringRate)
        return Error(TooLow(kind->name, kSlowestMonitoringRate));
    for (const records::MonitoringRate& rate : kind->monitoringRates)
        if (spectrumTime == rate.spectrumTime && baud < rate.baud)
            return Error(TooLow(rate.name.empty() ? kind->name : rate.name, rate.baud));
    return std::nullopt;
}

long long Seconds(const PickerSpan& span) {
    return span.value_or(0);
}

std::optional<StartRefusal> CheckCalibration(const ScheduleSettings& settings,
                                             const ScheduleTimes& times, const DateTime& now) {
    const bool intervals = !settings.continuous;
    const long long idle = Seconds(times.repSpan) - Seconds(times.acqSpan);
    if (settings.calBefore &&
        now.Seconds() + times.connSpan + times.calSpan > times.nextStart.Seconds())
        return Error(
            "ERROR:\nCurrent time + Connection Time + Calibration time  > Start Time.\nPlease "
            "increase Start time.");
    if (intervals && (settings.calBefore || settings.calAfter) &&
        idle < times.connSpan + times.calSpan)
        return Error(
            "ERROR:\nNo monitoring time < Connection time + Calib time.\nPlease increase "
            "Repetition Time (6 min at minimum).");
    if (intervals && settings.calBefore && settings.calAfter &&
        idle < times.connSpan + 2 * times.calSpan)
        return Error(
            "ERROR:\nNo monitoring time < Connection time + 2 * Calib time.\nPlease increase "
            "Repetition Time.");
    if (!settings.calAtDate)
        return std::nullopt;
    if (times.calDate.Seconds() < now.Seconds())
        return Error(
            "ERROR:\nCurrent time > Start Calibration time.\nPlease increase Calibration Date.");
    if (!intervals)
        return std::nullopt;
    switch (FindCalibrationClash(times)) {
        case CalibrationClash::StartInside:
            return Error("ERROR:\nStart Calibration date is inside Monitor time.");
        case CalibrationClash::OperationInside:
            return Error("ERROR:\nCalibration operation is inside monitor time.");
        case CalibrationClash::None:
            break;
    }
    return std::nullopt;
}

long long FloorDiv(long long a, long long b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

long long CeilDiv(long long a, long long b) {
    return -FloorDiv(-a, b);
}

// The number after the first ":" of a time value; 0 when there is none.
long long NumberAfterColon(const std::string& value) {
    const int colon = platform::Find(value, ':');
    return colon < 0 ? 0 : platform::Atoi(platform::Mid(value, colon + 1));
}

// Records of one sampling time: `seconds` divided by the sampling time, plus the records a
// short one adds, in that time's unit.
int RecordsPerAcquisition(long long seconds, const std::string& time, bool profile) {
    const double interval = platform::Atof(time);
    if (!(interval > 0))
        return 0;
    long long records = static_cast<long long>(static_cast<double>(seconds) / interval);
    if (profile && Contains(time, "0.125"))
        records += 4;
    else if (profile && Contains(time, "0.25"))
        records += 2;
    else if (Contains(time, "0.5"))
        records += 1;
    if (Contains(time, "m"))
        records /= 60;
    if (Contains(time, "h"))
        records /= 3600;
    return static_cast<int>(std::clamp<long long>(records, 0, 0x7FFFFFFF));
}

}  // namespace

long long ConnectionLead(const StartLink& link) {
    return !link.modem && link.baudRate >= kFastLinkRate ? kFastLinkLead : kSlowLinkLead;
}

ScheduleTimes ComposeTimes(const ScheduleSettings& settings, const StartLink& link) {
    ScheduleTimes times;
    times.nextStart = settings.start;
    times.stop = settings.stop;
    times.calDate = settings.calibration;
    if (!settings.continuous) {
        times.acqSpan = settings.acquisitionTime;
        times.repSpan = settings.repetitionTime;
    }
    times.calInterval = settings.calibrationInterval;
    times.connSpan = ConnectionLead(link);
    times.calSpan = kCalibrationLead;
    return times;
}

std::optional<StartRefusal> CheckStart(const ScheduleSettings& settings, const ScheduleTimes& times,
                                       const StartSetup& setup, const StartLink& link,
                                       const DateTime& now) {
    if (!settings.channel)
        return StartRefusal{"Please select channel to monitor.", MB_ICONEXCLAMATION};
    if (auto refusal = CheckBaudRate(*settings.channel, link.baudRate, setup.spectrumTime))
        return refusal;
    if (!settings.calDisabled)
        if (auto refusal = CheckCalibration(settings, times, now))
            return refusal;
    if (now.Seconds() + times.connSpan > times.nextStart.Seconds())
        return Error(
            "ERROR:\nCurrent time + Connection time > Start time.\nPlease increase Start Time.");
    if (times.stop.Seconds() < times.nextStart.Seconds())
        return Error("ERROR:\nStop time < start time.");
    if (!settings.continuous) {
        const long long acquisition = Seconds(times.acqSpan);
        const long long repetition = Seconds(times.repSpan);
        if (acquisition >= repetition)
            return Error("WARNING:\nAcquisition time > Interval time.\nMonitoring is continue.");
        if (repetition < kShortestRepetition)
            return Error("ERROR: Repetition Time < 2 min.\nPlease increase it.");
        if (acquisition == 0)
            return Error("ERROR:\nAcquisition time = 0.");
        if (repetition == 0)
            return Error("ERROR:\nRepeat Acquisition time = 0.");
    }
    if (setup.editedReportTime == "OFF" && setup.editedIntegrationMode == "SINGLE" &&
        times.acqSpan && *times.acqSpan > IntegrationSeconds(setup.integrationTime) &&
        !Contains(setup.integrationTime, "00"))
        return Error(
            "WARNING: Integration mode SINGLE.\nIntegration time < Acq. time.\nMonitior not "
            "allowed");
    if (ExpectedRecords(*settings.channel, times.acqSpan, setup.editedProfileTime,
                        setup.editedSpectrumTime) == 0)
        return StartRefusal{
            "ERROR:\nScheduler Acquisition time < Instrument Acquisition time.\nNo data will be "
            "Monitoring.",
            MB_OK};
    return std::nullopt;
}

int ExpectedRecords(records::RecordKind kind, const PickerSpan& acqSpan,
                    const std::string& profileTime, const std::string& spectrumTime) {
    if (!acqSpan)
        return -1;
    const long long seconds = *acqSpan;
    const auto interval = records::IntervalSetting(kind, profileTime, spectrumTime);
    if (!interval)
        return static_cast<int>(
            std::min<long long>(1 + kHalfSecondRecordsPerSecond * seconds, 0x7FFFFFFF));
    return RecordsPerAcquisition(seconds, std::string(*interval),
                                 kind->interval == records::IntervalSource::ProfileTime);
}

CalibrationClash FindCalibrationClash(const ScheduleTimes& times) {
    const long long start = times.nextStart.Seconds();
    const long long stop = times.stop.Seconds();
    const long long length = Seconds(times.acqSpan);
    const long long repetition = Seconds(times.repSpan);
    const long long first = times.calDate.Seconds();
    const long long interval = Seconds(times.calInterval);
    const long long lead = times.calSpan;
    if (first >= stop)
        return CalibrationClash::None;

    // The calibration times from the first on, one interval apart, before the stop; a zero
    // interval gives the first alone. The earliest of them not before `from`.
    const auto calibrationFrom = [&](long long from) -> std::optional<long long> {
        long long time = first;
        if (from > first) {
            if (interval <= 0)
                return std::nullopt;
            time = first + CeilDiv(from - first, interval) * interval;
        }
        return time < stop ? std::optional<long long>(time) : std::nullopt;
    };
    const auto clashIn = [&](long long window) -> CalibrationClash {
        // A calibration clashes when it starts in [window, window + length] or its lead ends
        // there: it starts in [window - lead, window + length - lead].
        const auto inside = [&](long long time) {
            return time >= window && time <= window + length;
        };
        const auto endsInside = [&](long long time) {
            return time + lead >= window && time + lead <= window + length;
        };
        for (const long long from : {window - lead, window}) {
            const std::optional<long long> time = calibrationFrom(from);
            if (!time || *time > window + length)
                break;
            if (inside(*time))
                return CalibrationClash::StartInside;
            if (endsInside(*time))
                return CalibrationClash::OperationInside;
        }
        return CalibrationClash::None;
    };

    // Acquisitions that end before the first calibration cannot hold one.
    long long index = 0;
    if (repetition > 0 && first - length - lead > start)
        index = FloorDiv(first - length - lead - start, repetition);
    for (long long checked = 0; checked < kMaxCheckedAcquisitions; ++checked, ++index) {
        const long long window = start + index * std::max<long long>(repetition, 0);
        if (window >= stop || (index > 0 && repetition <= 0))
            break;
        // With one calibration, the acquisitions after it cannot hold it.
        if (interval <= 0 && window > first + lead)
            break;
        if (const CalibrationClash clash = clashIn(window); clash != CalibrationClash::None)
            return clash;
    }
    return CalibrationClash::None;
}

std::string IntegrationTimeText(const std::string& value) {
    const int colon = platform::Find(value, ':');
    std::string text = colon < 0 ? std::string() : platform::Mid(value, colon + 1);
    if (Contains(value, "SS"))
        text += " s";
    if (Contains(value, "MM"))
        text += " m";
    if (Contains(value, "HH"))
        text += " h";
    return text;
}

long long IntegrationSeconds(const std::string& value) {
    long long seconds = NumberAfterColon(value);
    if (Contains(value, "MM"))
        seconds *= 60;
    if (Contains(value, "HH"))
        seconds *= 3600;
    return seconds;
}

}  // namespace acquisition
