#pragma once
// What the key loading, the key alignment and the readings need beyond the enciphered
// exchanges: where key data comes from, the port records in "port.ini", the bench's plain
// meter commands and the operator's manual reading. The verification bench implements it;
// tests give their own.

#include <array>
#include <string>

#include "cipher/bench_state.h"

struct PortRecord;

namespace cipher {

// The three channel labels of the manual reading window; an empty label is a channel the test
// does not read.
struct ManualReadingLabels {
    std::array<std::string, 3> labels;
    bool overloadShown = false;
    bool operator==(const ManualReadingLabels&) const = default;
};

// What the operator entered, as the window's fields hold it.
struct ManualReadingEntry {
    std::array<std::string, 3> values;
    bool overload = false;
    // False when the window went without the operator's OK: there is no reading then.
    bool accepted = true;
};

class KeyHost {
public:
    virtual ~KeyHost() = default;

    // The outcome of the last internet check.
    virtual bool InternetAvailable() = 0;
    // The web service's key file of the serial number as text; "-1" when the download failed,
    // DownloadError() then tells why.
    virtual std::string DownloadKeyText(const std::string& serial) = 0;
    virtual std::string DownloadError() = 0;
    // A file of the program folder ("\\msvcrt60.dll").
    virtual std::string ProgramPath(const std::string& relative) = 0;

    // The meter's record of "port.ini": serial number of the last initialised meter, error and
    // reset counts.
    virtual PortRecord& PortRecordOf(Meter meter) = 0;
    // Writes "port.ini" with both records.
    virtual void SavePortIni() = 0;

    // The bench's plain command to a meter: "1" when the status query then shows the expected
    // status, "0" when it does not, "-1" when the meter gave no usable reply.
    virtual std::string SendCommand(Meter meter, const std::string& command,
                                    const std::string& statusQuery, const std::string& expected,
                                    unsigned waitMs) = 0;
    // Shows the manual reading window and returns once it is gone.
    virtual ManualReadingEntry EnterManualReading(const ManualReadingLabels& labels) = 0;
};

}  // namespace cipher
