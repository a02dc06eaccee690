#pragma once
// Every level the verification tests take from a meter: the meter is stopped, its cipher is
// brought into step where the counters call for it (a newly connected meter, repeated
// errors), the enciphered reading is taken, and the counters go to "port.ini" so that they
// survive a restart. An instrument under test that cannot be commanded is read by the
// operator instead.

#include <string>

#include "cipher/bench_exchange_host.h"
#include "cipher/bench_state.h"
#include "cipher/enciphered_exchange.h"
#include "cipher/key_host.h"
#include "cipher/key_initialisation.h"

namespace cipher {

// The tone of the transients test whose channels read maxima.
inline constexpr const char* kBurstToneFile = "\\wave_files\\burst_4000.wav";

// The channels of the instrument under test that a test reads, for the manual reading.
ManualReadingLabels ManualReadingLabelsFor(BenchTest test, bool burstTone);
// "00:00:00 - 94.0 - 0.0 - 0.0 - ", with " _I_" behind when the overload box was ticked in
// the overload test.
std::string ManualReadingText(const ManualReadingEntry& entry, bool overloadTest);

// The counters of a meter the bench has just identified, and whether its keys are out of step:
// what its "port.ini" record holds when the record names the same meter, so that a restart
// neither lifts the attempt limits nor skips an initialisation that failed; none for another
// meter.
void TakeRecordedCounters(BenchMeter& meter, const PortRecord& record);
// The meter's counters and out-of-step state into its port record, under its own serial
// number; the caller writes "port.ini".
void RecordCounters(const BenchMeter& meter, PortRecord& record);

class ReadingUpkeep {
public:
    ReadingUpkeep(BenchState& bench, BenchExchangeHost& host, KeyHost& keys,
                  EncipheredExchange& exchange, KeyInitialisation& initialisation);

    // The reading text or "-1". `command`, the plain reading command this stands for, is only
    // logged.
    std::string RefInstr_Write_and_Check_CRYPT(const std::string& command);
    std::string TargetInstr_Write_and_Check_CRYPT(const std::string& command);

private:
    struct Texts;
    std::string Read(const Texts& texts, const std::string& command);
    std::string ManualReading();
    void Log(const std::string& text) { m_host.AddLog(text); }

    BenchState& m_bench;
    BenchExchangeHost& m_host;
    KeyHost& m_keys;
    EncipheredExchange& m_exchange;
    KeyInitialisation& m_initialisation;
};

}  // namespace cipher
