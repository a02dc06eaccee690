#pragma once
// The meter's side of the maintenance work as this program and the simulated meter both know
// it: the arguments of the calibration commands, the forms of their replies, the programs the
// meter runs on "KEY:EXEC:<n>" with the screens it shows meanwhile, and its firmware-upgrade
// mode. The program reads these replies and the simulated meter writes them from this one
// table, so that the two cannot drift apart.

#include <optional>
#include <string>

namespace maintenance::meter {

// --- the microphone calibration (CAL:GAIN, CAL:ELCAL, SET:PROT_CODE, KEY:PRN_VAL, FAB)
// The channel argument of "CAL:GAIN:%s:?", "CAL:GAIN:%s:%s" and "CAL:ELCAL:%s:?": the reply
// tells its channel by the command's name, which is this argument.
inline constexpr const char* kChannel0 = "CH:0";
inline constexpr const char* kChannel1 = "CH:1";

// Each reply is its prefix followed by the value, which ValueAfter reads from the prefix's
// length on.
inline constexpr const char* kGainReply = "CAL:GAIN:";
inline constexpr const char* kElectricCalReply = "CAL:ELCAL:";
inline constexpr const char* kProtectionCodeReply = "SET:PROT_CODE:";
// "KEY:PRN_VAL": the value the meter would print, then its unit ("PRN_VAL: 94.1 dB(A)").
inline constexpr const char* kPrintedValueReply = "PRN_VAL:";
// "FAB:<protection code>" stores the calibration in the meter; a wrong code is refused.
inline constexpr const char* kFactoryStoredReply = "FAB:OK";
// "SET:MIC_NUMBER:<protection code>:<serial number>" is answered with this and the number.
inline constexpr const char* kMicNumberReply = "SET:MIC_NUMBER:";

// The value of a reply that is `prefix` and then the value: the text from the prefix's length
// on, as the meter wrote it; empty for a shorter reply.
std::string ValueAfter(const std::string& reply, const char* prefix);

// The level of the acoustic calibrator the meter sits in while its microphone is calibrated.
inline constexpr double kCalibratorLevelDb = 94.0;

// A number as the meter writes it ("-0.3", "94.1"), in C's notation whatever the locale;
// nothing when the text is not one.
std::optional<double> ReadNumber(const std::string& text);

// What a printed-value reply prints ("94.1 dB(A)"), and its value, the first word ("94.1").
std::string PrintedText(const std::string& reply);
std::string PrintedValue(const std::string& reply);
std::string PrintedValueReply(const std::string& value, const std::string& unit);

// --- the meter's programs, started by "KEY:EXEC:<n>" and shown as "PROGRAM:<n> ..."
// Electric calibration, diagnostic test and frequency check.
inline constexpr int kCalibrationProgram = 1;
inline constexpr int kDiagnosticProgram = 4;
inline constexpr int kFrequencyProgram = 3;

enum class ProgramScreen { Running, Ended, Failed };
// The screen text ("STT:DISPL:" and this) while program `program` is at `screen`; an ended or
// failed program waits there for "KEY:CLEFT" (keep the result) or "KEY:CRIGHT" (leave it).
std::string ProgramScreenText(int program, ProgramScreen screen);
// Which screen of program `program` a display reply shows; nothing when it shows another one.
std::optional<ProgramScreen> ReadProgramScreen(const std::string& display, int program);
// Whether the display shows any program of the meter.
bool ShowsProgram(const std::string& display);

// --- the firmware upgrade: in upgrade mode the meter waits for the writer and answers
// nothing but the command that ends the mode. Both commands are answered with their own text.
inline constexpr const char* kUpgradeModeOn = "FAB:UPGRADE:ON";
inline constexpr const char* kUpgradeModeOff = "FAB:UPGRADE:OFF";

}  // namespace maintenance::meter
