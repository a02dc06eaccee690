#pragma once
// The meter's live records: once the program has switched monitoring on and the acquisition
// or datalogging runs, the meter sends one record per interval, unasked, until monitoring or
// the acquisition stops or the meter is switched off. A stage on the wire, so that it hears the
// same commands as the meter and keeps its own time.

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include "sim_meter.h"

namespace simmeter {

class LiveRecordStage : public WireStage {
public:
    // `record(n)` is the text of the n-th record sent (from 0), ETX left out.
    LiveRecordStage(unsigned intervalMs, std::function<std::string(int n)> record)
        : m_intervalMs(intervalMs), m_record(std::move(record)) {}

    std::string OnBytes(const std::string& bytes, std::uint32_t now, const Answer& answer) override;
    std::optional<std::uint32_t> Deadline() const override;
    void OnTime(std::uint32_t now, const Answer& answer) override;

    // Records sent so far.
    int Sent() const;
    // A meter that sends exactly `count` records in each run and then waits for the next run,
    // so that what it sends does not follow how fast the program stops it.
    void SetRecordsPerRun(int count);

private:
    void OnLine(const std::string& line, std::uint32_t now);

    const unsigned m_intervalMs;
    const std::function<std::string(int)> m_record;
    mutable std::mutex m_mutex;
    std::string m_partial;
    bool m_monitorOn = false;
    bool m_running = false;
    std::optional<std::uint32_t> m_next;
    int m_sent = 0;
    std::optional<int> m_perRun;
    int m_sentInRun = 0;
};

}  // namespace simmeter
