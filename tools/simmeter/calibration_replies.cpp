// The simulated meter's calibration: the replies of maintenance/calibration_protocol.h.
#include <string_view>

#include "maintenance/calibration_protocol.h"
#include "meter_replies.h"
#include "platform/text.h"

namespace simmeter {

namespace {

namespace meter = maintenance::meter;

constexpr const char* kGainCommand = "CAL:GAIN:";
constexpr const char* kElectricCalCommand = "CAL:ELCAL:";
constexpr const char* kFactoryCommand = "FAB:";
constexpr const char* kMicNumberCommand = "SET:MIC_NUMBER:";
constexpr const char* kExecCommand = "KEY:EXEC:";

std::string After(const std::string& line, const char* prefix) {
    return platform::Mid(line, static_cast<int>(std::string_view(prefix).size()));
}

std::string Decibels(double value) {
    return platform::Format("%.1f", value);
}

// "CH:0:<rest>" -> channel 0 and the rest; -1 for another channel.
int Channel(const std::string& argument, std::string& rest) {
    for (int channel = 0; channel < 2; ++channel) {
        const std::string selector = channel ? meter::kChannel1 : meter::kChannel0;
        if (platform::StartsWith(argument, selector + ":")) {
            rest = platform::Mid(argument, static_cast<int>(selector.size()) + 1);
            return channel;
        }
    }
    return -1;
}

bool ProtectionCodeMatches(const std::string& code, MeterState& state) {
    return !code.empty() && code == state.settings["PROT_CODE"];
}

std::optional<Reply> AnswerGain(const std::string& argument, MeterState& state) {
    std::string value;
    const int channel = Channel(argument, value);
    if (channel < 0)
        return Refuse(argument, state);
    double& gain = state.calibration.gain[channel];
    if (value != "?") {
        const auto number = meter::ReadNumber(value);
        if (!number)
            return Refuse(argument, state);
        gain = *number;
    }
    return Text(meter::kGainReply + Decibels(gain));
}

std::optional<Reply> AnswerProgramEnd(const std::string& line, MeterState& state) {
    MeterCalibration& calibration = state.calibration;
    if (calibration.program == 0 || calibration.screen == meter::ProgramScreen::Running)
        return Text(line);
    calibration.programExits.push_back(line);
    calibration.program = 0;
    return Text(line);
}

std::optional<Reply> AnswerDisplay(MeterState& state) {
    MeterCalibration& calibration = state.calibration;
    if (calibration.screen == meter::ProgramScreen::Running &&
        ++calibration.programPolls > calibration.runningPolls)
        calibration.screen =
            calibration.programFails ? meter::ProgramScreen::Failed : meter::ProgramScreen::Ended;
    return Text("STT:DISPL:" + meter::ProgramScreenText(calibration.program, calibration.screen));
}

std::optional<Reply> AnswerPrintedValue(MeterState& state) {
    const MeterCalibration& calibration = state.calibration;
    if (calibration.program != 0 && calibration.screen != meter::ProgramScreen::Running)
        return calibration.program == meter::kCalibrationProgram
                   ? Text(meter::PrintedValueReply(Decibels(calibration.deltaLeqDb), "dB"))
                   : Text(meter::PrintedValueReply(calibration.checkResult, ""));
    const double level =
        meter::kCalibratorLevelDb + calibration.micDeviationDb + calibration.gain[0];
    return Text(meter::PrintedValueReply(Decibels(level), "dB(A)"));
}

}  // namespace

std::optional<Reply> AnswerCalibration(const std::string& line, MeterState& state) {
    MeterCalibration& calibration = state.calibration;
    if (calibration.upgradeMode) {
        if (line != meter::kUpgradeModeOff)
            return Silence();
        calibration.upgradeMode = false;
        return Text(line);
    }
    if (line == meter::kUpgradeModeOn) {
        calibration.upgradeMode = true;
        ++calibration.upgradeModeEntries;
        return Text(line);
    }
    if (platform::StartsWith(line, kGainCommand))
        return AnswerGain(After(line, kGainCommand), state);
    if (platform::StartsWith(line, kElectricCalCommand)) {
        std::string rest;
        const int channel = Channel(After(line, kElectricCalCommand), rest);
        if (channel < 0 || rest != "?")
            return Refuse(line, state);
        return Text(meter::kElectricCalReply +
                    Decibels(calibration.electricReferenceDb + calibration.gain[channel]));
    }
    if (platform::StartsWith(line, kFactoryCommand)) {
        if (!ProtectionCodeMatches(After(line, kFactoryCommand), state))
            return Refuse(line, state);
        calibration.storedGain[0] = calibration.gain[0];
        calibration.storedGain[1] = calibration.gain[1];
        ++calibration.stores;
        return Text(meter::kFactoryStoredReply);
    }
    if (platform::StartsWith(line, kMicNumberCommand)) {
        const std::string rest = After(line, kMicNumberCommand);
        const int colon = platform::Find(rest, ':');
        if (colon < 0 || !ProtectionCodeMatches(platform::Left(rest, colon), state))
            return Refuse(line, state);
        state.settings["MIC_N"] = platform::Mid(rest, colon + 1);
        return Text(meter::kMicNumberReply + state.settings["MIC_N"]);
    }
    if (line == "KEY:PRN_VAL")
        return AnswerPrintedValue(state);
    for (const int program :
         {meter::kCalibrationProgram, meter::kDiagnosticProgram, meter::kFrequencyProgram}) {
        if (line != kExecCommand + std::to_string(program))
            continue;
        calibration.program = program;
        calibration.screen = meter::ProgramScreen::Running;
        calibration.programPolls = 0;
        return Text(line);
    }
    if (calibration.program != 0) {
        if (line == "STT:DISPL:?")
            return AnswerDisplay(state);
        if (line == "KEY:CLEFT" || line == "KEY:CRIGHT")
            return AnswerProgramEnd(line, state);
    }
    return std::nullopt;
}

}  // namespace simmeter
