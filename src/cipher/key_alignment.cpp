#include "cipher/key_alignment.h"

#include "cipher/reading_upkeep.h"
#include "link/command.h"
#include "link/command_codes.h"
#include "link/port_record.h"
#include "platform/operator.h"
#include "platform/text.h"

namespace cipher {

using namespace command_code;

namespace {

constexpr unsigned kStatusWaitMs = 250;
constexpr unsigned kRunningMs = 2000;
constexpr const char* kStatusNotShown = "0";

}  // namespace

bool AlignTargetKeys(BenchState& bench, BenchExchangeHost& host, KeyHost& keys,
                     KeyInitialisation& initialisation) {
    auto send = [&keys](const std::string& command, const std::string& expected) {
        return keys.SendCommand(Meter::Target, command, CommandText(kAcquisitionQuery), expected,
                                kStatusWaitMs);
    };
    host.AddLog("DUT Allineamento chiavi...");

    if (send(CommandText(kRunAcquisition), "RUN") == kStatusNotShown) {
        host.AddLog("DUT: Verifica strumento run FALLITA");
        platform::AfxMessageBox(
            "DUT: Verifica strumento in RUN fallita.\nProvare manualmente premendo il tasto "
            "RUN.\nPremere OK dopo aver eseguito");
    } else {
        host.AddLog("DUT: Verifica strumento run OK");
        host.Wait(kRunningMs);
        if (send(CommandText(kStopAcquisition), "STOP") == kStatusNotShown) {
            platform::AfxMessageBox(
                "DUT: Verifica strumento in STOP fallita.\nProvare manualmente premendo il tasto "
                "STOP.\nPremere OK dopo aver eseguito");
            host.AddLog("DUT: Verifica strumento run STOP fallita");
        }
    }

    host.AddLog("Meas TARGET Cryp: Verifica strumento da verificare in stop");
    if (send("", "STOP") == kStatusNotShown) {
        host.AddLog("Meas target fCryp: Impostazione strumento da verificare in stop");
        if (send(CommandText(kStopAcquisition), "STOP") == kStatusNotShown) {
            host.AddLog("Impostazione fallita di strumento TARGET in STOP");
            return false;
        }
    }

    BenchMeter& target = bench.target;
    PortRecord& record = keys.PortRecordOf(Meter::Target);
    // The counters go to the record of the meter they were counted for, and only there.
    auto recordCounters = [&] {
        RecordCounters(target, record);
        keys.SavePortIni();
    };
    if (target.keyResets >= kAlignmentResetLimit) {
        const bool tooManyErrors = target.keyErrors > kAlignmentErrorLimit;
        // Past the limit a meter gets one more key reset, not a fresh set of them; it is
        // aligned only when it answers that one in step.
        if (tooManyErrors || !initialisation.ProbeTargetCrypt()) {
            host.AddLog(platform::Format(
                "DUT  Instr: Superato massimo numero di tentativi di inizializzazione cifratura: "
                "Rst_Key=%d , Key=%d",
                target.keyResets, target.keyErrors));
            platform::AfxMessageBox(
                "DUT  Instr: Superato massimo numero di tentativi di inizializzazione "
                "cifratura.\nContattare produttore della strumentazione.");
            if (!tooManyErrors) {
                target.keysOutOfStep = true;
                recordCounters();
            }
            return false;
        }
    } else if (!initialisation.InitTargetCrypt()) {
        platform::AfxMessageBox(
            "DUT  Instr: Errore di inizializzazione cifratura.\nContattare produttore della "
            "strumentazione;");
        target.keysOutOfStep = true;
        recordCounters();
        host.AddLog(platform::Format("DUT instr -> init sequence FAILED: Rst_Key=%d , Key=%d",
                                     target.keyResets, target.keyErrors));
        return false;
    }
    target.keyErrors = 0;
    target.keyResets = 0;
    target.keysOutOfStep = false;
    host.AddLog(platform::Format("InitTargetCryp OK: Rst_Key=%d , Key=%d", target.keyResets,
                                 target.keyErrors));
    recordCounters();
    host.AddLog("DUT: Allineamento chiavi OK");
    return true;
}

}  // namespace cipher
