#pragma once
// What the live record processors need of the application: the setup the records are read
// with, and the report list's trim after a page ends.

#include <string>

namespace acquisition {

// The current setup values a live record is read with.
struct LiveSetup {
    std::string model;
    // The meter's date and time (DATE and TIME), bare or after "Instr.Date: " / "Instr.Time: ".
    std::string date;
    std::string time;
    std::string profileTime;
    std::string spectrumTime;
    // Samples per page as the operator chose them (0: not chosen).
    long long pageSize = 0;
};

class LiveRecorderHost {
public:
    virtual ~LiveRecorderHost() = default;

    virtual LiveSetup Setup() const = 0;
    // A page ended: the report list is trimmed back to the rows of the new page while records
    // arrive (frame timer 12).
    virtual void StartReportTrim() = 0;
};

}  // namespace acquisition
