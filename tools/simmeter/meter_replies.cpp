#include "meter_replies.h"

#include <utility>

#include "link/baud_rates.h"
#include "platform/text.h"

namespace simmeter {

namespace {
constexpr const char* kProbe = "SET:INS:?";
constexpr const char* kProtectedPrefix = "SET:PROT:";
}  // namespace

const std::vector<SettingRow>& SettingRows() {
    static const std::vector<SettingRow> rows = {
        // identity
        {"INSTR_M", "SET:INSTR_MODEL:", "QS4060"},
        {"INSTR_N", "SET:INSTR_NUMBER:", "A12345"},
        {"INSTR_V", "SET:INSTR_VERSION:", "2.05"},
        {"MIC_M", "SET:MIC_MODEL:", "MK250"},
        {"MIC_T", "SET:MIC_TYPE:", "FREE FIELD"},
        {"MIC_N", "SET:MIC_NUMBER:", "M5678"},
        {"OPTIONS", "SET:OPTIONS:", "0"},
        {"CLASS", "SET:CLASS:", "1"},
        {"EXT_RNG", "SET:EXT_RNG:", "OFF"},
        {"PROT_CODE", "SET:PROT_CODE:", "0000"},
        {"MIC_CT", "SET:MIC_CT:", "23.0\xF8"},
        // clock and general settings
        {"DATE", "SET:DATE:", "2024:01:15"},
        {"TIME", "SET:TIME:", "10:30:00"},
        {"MEM_S", "SET:MEM_SIZE:", "2048k"},
        {"AUTO_P", "SET:AUTO_POWEROFF:", "OFF"},
        {"IN_CH", "SET:INPUT_CHAN:", "MIC"},
        {"DA_O", "SET:DA_OUTPUT:", "OFF"},
        {"BAUD", "SET:BAUD_RATE:", "38.4k"},
        {"INPUT_G", "SET:INPUT_GAIN:", "20dB"},
        {"PROFILE_T", "SET:PROFILE_TIME:", "0.5"},
        {"SPECTRUM_T", "SET:SPECTRUM_TIME:", "0.5s"},
        {"INTEGRATION_T", "SET:INTEGRATION_TIME:", "SS:10"},
        {"ERASE_T", "SET:ERASE_TIME:", "5s"},
        {"EXCH", "SET:EXCHANGE_RATE:", "3dB"},
        {"DOSE_T", "SET:DOSE_THRESHOLD:", "80dB"},
        {"CRIT", "SET:CRITERION_LEVEL:", "85dB"},
        {"OVER", "SET:OVERLOAD_LEVEL:", "140dB"},
        {"1_PERC", "SET:1_PERC_LEVEL:", "1"},
        {"2_PERC", "SET:2_PERC_LEVEL:", "10"},
        {"3_PERC", "SET:3_PERC_LEVEL:", "50"},
        {"4_PERC", "SET:4_PERC_LEVEL:", "90"},
        {"1_SLM", "SET:1_SLM_PARAMETER:", "LAeq"},
        {"2_SLM", "SET:2_SLM_PARAMETER:", "LAFmax"},
        {"3_SLM", "SET:3_SLM_PARAMETER:", "LAFmin"},
        {"4_SLM", "SET:4_SLM_PARAMETER:", "LCpk"},
        {"5_SLM", "SET:5_SLM_PARAMETER:", "LAF"},
        {"PROFILE_P", "SET:PROFILE_PARAMETER:", "LAF"},
        {"SPECT_AUX", "SET:SPECT_AUX_POND:", "A"},
        {"SPECT_T", "SET:SPECT_TYPE:", "AVERAGE"},
        {"SPECT_MEAN", "SET:SPECT_MEAN:", "LIN"},
        {"SPECT_MEAN_W", "SET:SPECT_MEAN_WEIGHT:", "FAST"},
        {"SPECT_SHIFT", "SET:SPECT_SHIFT:", "OFF"},
        {"PROF_D", "SET:PROF_DLOGGER:", "OFF"},
        {"SLM_D", "SET:SLM_DLOGGER:", "ON"},
        {"OCT_D", "SET:OCT_DLOGGER:", "OFF"},
        {"TOCT_D", "SET:TOCT_DLOGGER:", "OFF"},
        {"CAL_L", "SET:CAL_LEVEL:", "94.0"},
        {"DISP_C", "SET:DISP_CONTRAST:", "5"},
        {"WND", "SET:WIND_CORRECT:", "OFF"},
        {"MIC_CORR", "SET:MIC_RESP:", "FF"},
        {"AMB_MIC_CORR", "SET:AMB_MIC_CORR:", "OFF"},
        {"INT_MODE", "SET:INT_MODE:", "SINGLE"},
        {"AUTO_STORE", "SET:AUTO_STORE:", "OFF"},
        // report and event storage
        {"REPORT_TIME", "SET:REPORT_TIME:", "60"},
        {"1_REP_PAR", "SET:1_REP_PARAMETER:", "LAeq"},
        {"2_REP_PAR", "SET:2_REP_PARAMETER:", "LAFmax"},
        {"3_REP_PAR", "SET:3_REP_PARAMETER:", "LAFmin"},
        {"4_REP_PAR", "SET:4_REP_PARAMETER:", "LCpk"},
        {"5_REP_PAR", "SET:5_REP_PARAMETER:", "LAF"},
        {"REP_PAR", "SET:REP_PARAMETERS:", "ON"},
        {"REP_OCT", "SET:REP_OCTAVE:", "OFF"},
        {"REP_TOCT", "SET:REP_TOCTAVE:", "OFF"},
        {"REP_STAT", "SET:REP_STATISTICS:", "OFF"},
        {"1_EVN_PAR", "SET:1_EVN_PARAMETER:", "LAeq"},
        {"2_EVN_PAR", "SET:2_EVN_PARAMETER:", "LAFmax"},
        {"3_EVN_PAR", "SET:3_EVN_PARAMETER:", "LAFmin"},
        {"4_EVN_PAR", "SET:4_EVN_PARAMETER:", "LCpk"},
        {"5_EVN_PAR", "SET:5_EVN_PARAMETER:", "LAF"},
        {"EVN_PAR", "SET:EVN_PARAMETERS:", "ON"},
        {"EVN_OCT", "SET:EVN_OCTAVE:", "OFF"},
        {"EVN_TOCT", "SET:EVN_TOCTAVE:", "OFF"},
        {"EVN_STAT", "SET:EVN_STATISTICS:", "OFF"},
        {"EVN_TRIG", "SET:EVN_TRIGGER:", "MAN"},
        {"EVN_POL", "SET:EVN_POLARITY:", "POS"},
        {"EVN_TRGEXT_POL", "SET:EVN_TRGEXT_POLARITY:", "POS"},
        {"EVN_ON_LEV", "SET:EVN_ON_LEVEL:", "80"},
        {"EVN_OFF_LEV", "SET:EVN_OFF_LEVEL:", "70"},
        {"EVN_ON_TIME", "SET:EVN_ON_TIME:", "1"},
        {"EVN_OFF_TIME", "SET:EVN_OFF_TIME:", "1"},
        {"EVN_PRINT", "SET:EVN_PRINT:", "OFF"},
        {"FFT_BAND", "SET:FFT_BAND:", "LF"},
        {"STAT_PAR", "SET:STAT_PARAMETER:", "LAF"},
        {"LEQ_SHORT_D", "SET:LEQ_SHORT_DLOGGER:", "OFF"},
        {"FFT_D", "SET:FFT_DLOGGER:", "OFF"},
        {"SLM+PROF", "SET:SLM+PROF:", "OFF"},
    };
    return rows;
}

const SettingRow* FindSettingRow(const std::string& key) {
    for (const auto& row : SettingRows())
        if (key == row.key)
            return &row;
    return nullptr;
}

void LoadInitialSettings(MeterState& state) {
    for (const auto& row : SettingRows())
        state.settings[row.key] = row.initialValue;
}

const std::vector<ModelPreset>& ModelPresets() {
    static const std::vector<ModelPreset> presets = {
        // the extended-range query, spectrum, common settings only
        {"QS4060_00$1", "QS4060", "", "OFF", "1"},
        {"QS4060_r1$1", "QS4060", "r", "ON", "1"},    // reports without spectrum settings
        {"QS4060_n0$1", "QS4060", "n", "OFF", "1"},   // reports with octaves, third octaves
        {"QS4060_J0$2", "QS4060", "J", "OFF", "2"},   // reports with octaves only
        {"QS4060_p0$1", "QS4060", "p", "OFF", "1"},   // neither spectrum nor data logging
        {"QS4060_q0$1", "QS4060", "q", "OFF", "1"},   // no spectrum
        {"QS4060_c0$1", "QS4060", "c", "OFF", "1"},   // a letter no rule looks at
        {"QS4060_00", "QS4060", "", "OFF", nullptr},  // class query unknown
        {"QS4060X_00$1", "QS4060X", "", "OFF", "1"},  // no extended-range query
        {"QS4160_00$1", "QS4160", "", "OFF", "1"},    // QS4160 settings, no reports
        {"QS4160_L0$1", "QS4160", "L", "OFF", "1"},   // reports, short Leq and FFT
        {"QS4160_H0$1", "QS4160", "H", "OFF", "1"},
        {"QS4160_I0$1", "QS4160", "I", "OFF", "1"},  // reports without short Leq and FFT
        {"QS4160_M0$1", "QS4160", "M", "OFF", "1"},
    };
    return presets;
}

const ModelPreset* FindModelPreset(const std::string& name) {
    for (const auto& preset : ModelPresets())
        if (name == preset.name)
            return &preset;
    return nullptr;
}

void ApplyModelPreset(MeterState& state, const ModelPreset& preset) {
    state.settings["INSTR_M"] = preset.model;
    state.settings["OPTIONS"] = preset.options;
    state.settings["EXT_RNG"] = preset.extendedRange;
    state.settings["CLASS"] = preset.meterClass ? preset.meterClass : "";
    if (preset.meterClass)
        state.unknownKeys.erase("CLASS");
    else
        state.unknownKeys.insert("CLASS");
}

int BaudFromSettingText(const std::string& text) {
    return baud_rates::RateOfSettingText(text);
}

std::optional<Reply> AnswerSetting(const std::string& line, MeterState& state) {
    if (line == kProbe)
        return Text(std::string(FindSettingRow("INSTR_M")->replyPrefix) +
                    state.settings["INSTR_M"]);
    if (!platform::StartsWith(line, "SET:"))
        return std::nullopt;
    const int colon = platform::Find(line, ':', 4);
    if (colon < 0)
        return std::nullopt;
    const std::string key = platform::Mid(line, 4, colon - 4);
    const std::string argument = platform::Mid(line, colon + 1);
    const SettingRow* row = FindSettingRow(key);
    if (!row || state.unknownKeys.count(key))
        return std::nullopt;
    if (argument != "?") {
        state.settings[key] = argument;
        // The meter moves to its new speed once it has acknowledged at the old one.
        if (key == "BAUD" && state.baud != 0) {
            if (const int rate = BaudFromSettingText(argument))
                state.baud = rate;
        }
    }
    return Text(row->replyPrefix + state.settings[key]);
}

std::optional<Reply> AnswerProtected(const std::string& line, MeterState& state) {
    if (!platform::StartsWith(line, kProtectedPrefix))
        return std::nullopt;
    const std::string rest = platform::Mid(line, 9);
    const int colon = platform::Find(rest, ':');
    const std::string name = platform::Left(rest, colon);
    const auto field = state.protectedFields.find(name);
    if (colon <= 0 || field == state.protectedFields.end())
        return Refuse(line, state);
    const std::string value = platform::Mid(rest, colon + 1);
    if (value != "?") {
        // A write uses the unlock up.
        const bool unlocked = std::exchange(state.protectedUnlocked, false);
        if (!unlocked)
            return Refuse(line, state);
        field->second = value;
    }
    return Text(kProtectedPrefix + name + ":" + field->second);
}

std::optional<Reply> AnswerState(const std::string& line, MeterState& state) {
    if (line == "STT:MON:?")
        return Text("STT:MONITOR:" + std::string(state.monitorOn ? "ON" : "OFF"));
    if (line == "STT:MON:ON") {
        // Monitoring starts without an answer; the records follow.
        state.monitorOn = true;
        return Silence();
    }
    if (platform::StartsWith(line, "STT:MON:")) {
        const std::string mode = platform::Mid(line, 8);
        // A meter that keeps monitoring says so.
        if (mode == "OFF" && state.monitorStaysOn)
            return Text("STT:MONITOR:ON");
        if (mode == "OFF")
            state.monitorOn = false;
        return Text("STT:MONITOR:" + mode);
    }
    if (line == "STT:ACQ:?")
        return Text("STT:ACQUISITION:" + state.acquisition);
    if (line == "STT:ACQ:RUN" || line == "STT:ACQ:STOP") {
        state.acquisition = platform::Mid(line, 8);
        return Text("STT:ACQUISITION:" + state.acquisition);
    }
    if (line == "STT:DISPL:?")
        return Text("STT:DISPL:" + state.screen);
    if (line == "STT:REC:?")
        return Text("STT:REC:" + state.recorder);
    return std::nullopt;
}

std::optional<Reply> AnswerDump(const std::string& line, MeterState& state) {
    if (line == "DMP:ON")
        return Text(state.dumpFiles == 0
                        ? std::string("DMP:ON\r\nMEMORY EMPTY\r\n")
                        : platform::Format("DMP:ON\r\nNumber of files:%6d\r\nDump time:%s\r\n",
                                           state.dumpFiles, state.dumpTime.c_str()));
    if (line == "DMP:OFF")
        return Text(line);
    if (line != "DMP:NE" && line != "DMP:RE")
        return std::nullopt;

    MeterDump& dump = state.dump;
    // The next record, or the same again; a refused or unanswered request has moved on too.
    const size_t index = !dump.current ? 0 : *dump.current + (line == "DMP:NE" ? 1 : 0);
    dump.current = index;
    if (index >= dump.records.size())
        return Text("END OF DUMP");
    if (dump.dumpErrorAt == index) {
        dump.dumpErrorAt.reset();
        return Text("DUMP ERROR");
    }
    if (auto& faults = dump.faults[index]; !faults.empty()) {
        const DumpFault fault = faults.front();
        faults.pop_front();
        switch (fault) {
            case DumpFault::Refusal:
                return Reply{std::string{kNak, kEtx}};
            case DumpFault::Silence:
                return Silence();
            case DumpFault::BadChecksum:
                return Binary(WithBadChecksum(dump.records[index]));
        }
    }
    dump.sent.push_back(index);
    return Binary(dump.records[index]);
}

std::optional<Reply> AnswerKey(const std::string& line, MeterState&) {
    if (!platform::StartsWith(line, "KEY:"))
        return std::nullopt;
    if (line == "KEY:OFF")
        return Silence();
    return Text(line);
}

std::optional<Reply> Refuse(const std::string&, MeterState&) {
    return Reply{std::string{kNak, kEtx}};
}

std::vector<Responder> StandardResponders() {
    return {AnswerCalibration, AnswerProtected, AnswerSetting, AnswerState,
            AnswerDump,        AnswerKey,       Refuse};
}

}  // namespace simmeter
