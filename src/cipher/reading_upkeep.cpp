#include "cipher/reading_upkeep.h"

#include "link/command.h"
#include "link/command_codes.h"
#include "link/port_record.h"
#include "platform/operator.h"
#include "platform/text.h"

namespace cipher {

namespace {

constexpr unsigned kStatusWaitMs = 250;
// Re-initialisations a reading may start before the operator is sent to the maker.
constexpr int kReadingResetLimit = 2;
// Error counts from this one up make the cipher re-initialised before the next reading ...
constexpr int kReinitialiseFrom = 2;
// ... and above this one it is given up.
constexpr int kCipherErrorLimit = 4;

}  // namespace

// What sets the two meters' texts and calls apart.
struct ReadingUpkeep::Texts {
    Meter meter;
    const char* stopLog;
    const char* stopFailedLog;
    const char* commandLog;
    const char* newOk;
    const char* newFailed;
    const char* initRefusedBox;
    const char* initRefusedLog;    // a new meter
    const char* reinitRefusedLog;  // repeated errors
    const char* reinitOk;
    const char* reinitFailed;
    const char* cipherErrorBox;
    const char* cipherErrorLog;
    const char* measLog;
};

ManualReadingLabels ManualReadingLabelsFor(BenchTest test, bool burstTone) {
    switch (test) {
        case BenchTest::FrequencyResponse:
        case BenchTest::AssociatedCalibrator:
            return {{"LSp:A", "LSp:B", "LSp:C"}, false};
        case BenchTest::Transients:
            return burstTone ? ManualReadingLabels{{"LFmax:A", "LSmax:B", ""}, false}
                             : ManualReadingLabels{{"LFp:A", "LSp:A", ""}, false};
        case BenchTest::Overload:
            return {{"LSp:A", "", ""}, true};
        case BenchTest::SelfNoise:
            return {{"LSp:A", "LSp:B", ""}, false};
        case BenchTest::SetPoint94dB:
        case BenchTest::Linearity:
        default:
            return {{"LSp:A", "", ""}, false};
    }
}

std::string ManualReadingText(const ManualReadingEntry& entry, bool overloadTest) {
    const char* format = overloadTest && entry.overload ? "00:00:00 - %.1f - %.1f - %.1f - %s _I_"
                                                        : "00:00:00 - %.1f - %.1f - %.1f - %s";
    return platform::Format(format, platform::Atof(entry.values[0]),
                            platform::Atof(entry.values[1]), platform::Atof(entry.values[2]), "");
}

void TakeRecordedCounters(BenchMeter& meter, const PortRecord& record) {
    const bool same = !meter.serialNumber.empty() && record.m_strSerialNumber == meter.serialNumber;
    meter.keyErrors = same ? record.m_nErrorCount : 0;
    meter.keyResets = same ? record.m_nResetCount : 0;
    meter.keysOutOfStep = same && record.m_bKeysOutOfStep;
}

void RecordCounters(const BenchMeter& meter, PortRecord& record) {
    record.m_strSerialNumber = meter.serialNumber;
    record.m_nErrorCount = meter.keyErrors;
    record.m_nResetCount = meter.keyResets;
    record.m_bKeysOutOfStep = meter.keysOutOfStep;
}

ReadingUpkeep::ReadingUpkeep(BenchState& bench, BenchExchangeHost& host, KeyHost& keys,
                             EncipheredExchange& exchange, KeyInitialisation& initialisation)
    : m_bench(bench),
      m_host(host),
      m_keys(keys),
      m_exchange(exchange),
      m_initialisation(initialisation) {}

std::string ReadingUpkeep::RefInstr_Write_and_Check_CRYPT(const std::string& command) {
    static const Texts texts{
        Meter::Reference,
        "MeasRefCryp: Impostazione strumenti ref in stop",
        "Strumento CAMPIONE.Impostazione fallita in STOP",
        "REF  Crypt command: ",
        "RefInstr_Write_and_Check_CRYPT: SEQUENZA INIZIALIZZAZIONE OK.: Rst_Key=%d , Key=%d",
        "RefInstr_Write_and_Check_CRYPT: SEQUENZA INIZIALIZZAZIONE FALLITA.: Rst_Key=%d , Key=%d",
        "REF  Instr: Errore di inizializzazione cifratura.\nContattare produttore della "
        "strumentazione;",
        "RefInstr_Write_and_Check_CRYPT: REF  Instr: Errore di inizializzazione cifratur.: "
        "Rst_Key=%d , Key=%d",
        "RefInstr_Write_and_Check_CRYPT: REF  Instr: Errore di inizializzazione cifratura: "
        "Rst_Key=%d , Key=%d",
        "RefInstr_Write_and_Check_CRYPT: REF  Err 2 < cnt < 4 -> SEQUENZA INIZIALIZZAZIONE OK.: "
        "Rst_Key=%d , Key=%d",
        "RefInstr_Write_and_Check_CRYPT: REF  Err 2 < cnt < 4 -> SEQUENZA INIZIALIZZAZIONE "
        "FALLITA.: Rst_Key=%d , Key=%d",
        "REF  Instr: Errore di cifratura.\nContattare produttore della strumentazione;",
        "RefInstr_Write_and_Check_CRYPT: REF  REF_Instr: Errore di cifratura. Rst_Key=%d , Key=%d",
        "REF  Crypt Meas: ",
    };
    return Read(texts, command);
}

std::string ReadingUpkeep::TargetInstr_Write_and_Check_CRYPT(const std::string& command) {
    static const Texts texts{
        Meter::Target,
        "Meas target Cryp: Impostazione strumento da verificare in stop",
        "Impostazione fallita di strumento TARGET in STOP",
        "DUT  Crypt command: ",
        "TargetInstr_Write_and_Check_CRYPT: New TARGET instr -> init sequence OK. Rst_Key=%d , "
        "Key=%d",
        "New TARGET instr -> init sequence FAILED. Rst_Key=%d , Key=%d",
        "DUT  Instr: Errore di inizializzazione cifratura.\nContattare produttore della "
        "strumentazione;",
        "TargetInstr_Write_and_Check_CRYPT: DUT  Instr: Errore di inizializzazione cifratura . "
        "Rst_Key=%d , Key=%d",
        "TargetInstr_Write_and_Check_CRYPT: DUT  Instr: Errore di inizializzazione cifratura . "
        "Rst_Key=%d , Key=%d",
        "TargetInstr_Write_and_Check_CRYPT: DUT  Err 2 < cnt < 4 -> SEQUENZA INIZIALIZZAZIONE OK . "
        "Rst_Key=%d , Key=%d",
        "TargetInstr_Write_and_Check_CRYPT: DUT  Err 2 < cnt < 4 -> SEQUENZA INIZIALIZZAZIONE "
        "FALLITA . Rst_Key=%d , Key=%d",
        "DUT  Instr: Errore di cifratura.\nContattare produttore della strumentazione;",
        "TargetInstr_Write_and_Check_CRYPT: DUT_Instr: Errore di inizializzazione cifratura . "
        "Rst_Key=%d , Key=%d",
        "DUT  Crypt Meas: ",
    };
    return Read(texts, command);
}

std::string ReadingUpkeep::Read(const Texts& texts, const std::string& command) {
    const Meter meter = texts.meter;
    if (!m_host.WindowsPresent())
        return std::string(kFailed);
    Log(texts.stopLog);
    if (m_keys.SendCommand(meter, CommandText(command_code::kStopAcquisition),
                           CommandText(command_code::kAcquisitionQuery), "STOP",
                           kStatusWaitMs) == "0") {
        Log(texts.stopFailedLog);
        return std::string(kFailed);
    }
    Log(texts.commandLog + command);
    if (meter == Meter::Target && !m_bench.targetRemoteControl)
        return ManualReading();

    BenchMeter& bench = m_bench.Of(meter);
    PortRecord& record = m_keys.PortRecordOf(meter);
    auto counters = [&bench](const char* format) {
        return platform::Format(format, bench.keyResets, bench.keyErrors);
    };
    auto initialise = [&]() {
        if (meter == Meter::Reference)
            return m_initialisation.InitRefCrypt();
        return m_initialisation.InitTargetCrypt();
    };
    std::string result;
    // Set while the cipher is known not to be in step with the meter: no reading then.
    bool outOfStep = false;

    if (record.m_strSerialNumber != bench.serialNumber || bench.keysOutOfStep) {
        if (bench.keyResets < kReadingResetLimit) {
            if (initialise()) {
                bench.keyErrors = 0;
                bench.keyResets = 0;
                Log(counters(texts.newOk));
            } else {
                ++bench.keyResets;
                result = kFailed;
                outOfStep = true;
                Log(counters(texts.newFailed));
            }
        } else {
            platform::AfxMessageBox(texts.initRefusedBox);
            result = kFailed;
            outOfStep = true;
            Log(counters(texts.initRefusedLog));
        }
        bench.keysOutOfStep = outOfStep;
    }

    if (bench.keyErrors >= kReinitialiseFrom && bench.keyErrors <= kCipherErrorLimit) {
        if (bench.keyResets < kReadingResetLimit) {
            if (initialise()) {
                bench.keyErrors = 0;
                bench.keyResets = 0;
                outOfStep = false;
                bench.keysOutOfStep = false;
                Log(counters(texts.reinitOk));
            } else {
                ++bench.keyResets;
                result = kFailed;
                Log(counters(texts.reinitFailed));
            }
        } else {
            platform::AfxMessageBox(texts.initRefusedBox);
            result = kFailed;
            Log(counters(texts.reinitRefusedLog));
        }
    } else if (bench.keyErrors > kCipherErrorLimit) {
        platform::AfxMessageBox(texts.cipherErrorBox);
        result = kFailed;
        Log(counters(texts.cipherErrorLog));
    }

    if (bench.keyErrors < kReinitialiseFrom && !outOfStep) {
        result = meter == Meter::Reference ? m_exchange.RefGetExtCrypt()
                                           : m_exchange.TargetGetValCrypt();
    }
    // The counters are this meter's: they go to the record only under its serial number, and
    // with them whether its keys are out of step, or a restart would read it unaligned.
    RecordCounters(bench, record);
    m_keys.SavePortIni();
    Log(texts.measLog + result);
    return result;
}

std::string ReadingUpkeep::ManualReading() {
    const bool burst =
        m_bench.playbackFile == m_keys.ProgramPath(kBurstToneFile) && !m_bench.playbackFile.empty();
    const ManualReadingEntry entry =
        m_keys.EnterManualReading(ManualReadingLabelsFor(m_bench.runningTest, burst));
    if (!entry.accepted)
        return std::string(kFailed);
    return ManualReadingText(entry, m_bench.runningTest == BenchTest::Overload);
}

}  // namespace cipher
