#pragma once
// What the simulated meter answers: its settings table and the standard responders for the
// SET, STT and KEY families. Each responder looks at one command line (without CR LF) and
// either answers it or leaves it to the next one, so new command families are added as new
// responders in front of or behind these.

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "link/protocol_bytes.h"
#include "maintenance/calibration_protocol.h"
#include "meter_dump.h"

namespace simmeter {

using protocol::kEtx;
using protocol::kNak;

// One answer on the wire.
struct Reply {
    std::string bytes;    // exactly what is written, ETX included; empty = stay silent
    int delayMs = 0;      // program milliseconds before the first byte
    int pieces = 1;       // written in this many pieces ...
    int pieceGapMs = 0;   // ... this far apart (program milliseconds)
    bool binary = false;  // a record of the memory: the transcript gives its length and CRC
};

inline Reply Text(std::string text) {
    return Reply{std::move(text) + kEtx};
}
inline Reply Binary(std::string bytes) {
    Reply reply{std::move(bytes)};
    reply.binary = true;
    return reply;
}
inline Reply Silence() {
    return Reply{};
}

// The meter's calibration and its programs (AnswerCalibration). The level it measures in the
// calibrator is the calibrator's, moved by the fitted microphone's deviation and by the gain of
// channel 0; its electric-calibration reference follows the gain alone.
struct MeterCalibration {
    double gain[2] = {0.0, 0.0};
    double storedGain[2] = {0.0, 0.0};  // as the last accepted "FAB:<code>" stored them
    int stores = 0;
    double micDeviationDb = 0.0;
    double electricReferenceDb = 90.0;
    // The program "KEY:EXEC:<n>" started (0: none), its screen, and how many display reads it
    // shows as running before it ends or fails.
    int program = 0;
    maintenance::meter::ProgramScreen screen = maintenance::meter::ProgramScreen::Running;
    int programPolls = 0;
    int runningPolls = 2;
    bool programFails = false;
    // What an electric calibration finds, and what the other programs print.
    double deltaLeqDb = 0.3;
    std::string checkResult = "PASS";
    // How each program was left: "KEY:CLEFT" (result kept) or "KEY:CRIGHT".
    std::vector<std::string> programExits;
    // Waiting for the firmware writer: only the command that ends the mode is answered.
    bool upgradeMode = false;
    int upgradeModeEntries = 0;
};

// What the responders read and change. Settings are kept by the command's key ("INSTR_M",
// "INTEGRATION_T", ...).
struct MeterState {
    std::map<std::string, std::string> settings;
    int baud = 38400;  // 0: answers at any port speed
    bool monitorOn = false;
    // A meter that never confirms "STT:MON:OFF": it keeps monitoring and says so.
    bool monitorStaysOn = false;
    std::string acquisition = "STOP";
    std::string screen = "Leq    45.2 dB";
    std::string recorder = "OFF";
    // The memory: the files it says it holds ("MEMORY EMPTY" when none), the time a dump of
    // them takes, and the records it sends.
    int dumpFiles = 0;
    std::string dumpTime = "00:01:30";
    MeterDump dump;
    // Setting keys this meter does not know: their commands are refused.
    std::set<std::string> unknownKeys;
    // Protected fields by name ("SET:PROT:<name>:..."): read freely, written only as the next
    // command after an enciphered unlock, which that write uses up.
    std::map<std::string, std::string> protectedFields;
    bool protectedUnlocked = false;
    MeterCalibration calibration;
};

using Responder = std::function<std::optional<Reply>(const std::string& line, MeterState&)>;

// A setting the meter knows: its command key, the prefix of its query reply (the value starts
// right after it, at the offset the program reads from) and the value it starts with.
struct SettingRow {
    const char* key;
    const char* replyPrefix;
    const char* initialValue;
};
const std::vector<SettingRow>& SettingRows();
const SettingRow* FindSettingRow(const std::string& key);
void LoadInitialSettings(MeterState& state);

// A model of the family as its identification tells it: the model, option letters, extended
// range and class replies. `name` is the model text the program builds from them (model, "_",
// options or "0", extended-range digit, "$", class); a class of nullptr refuses the query.
struct ModelPreset {
    const char* name;
    const char* model;
    const char* options;
    const char* extendedRange;
    const char* meterClass;
};
// One preset for each rule the program draws from the model text.
const std::vector<ModelPreset>& ModelPresets();
const ModelPreset* FindModelPreset(const std::string& name);
void ApplyModelPreset(MeterState& state, const ModelPreset& preset);

// The baud-rate texts of the meter's menu ("9.6k") as rates, those the setup offers; 0 when
// unknown.
int BaudFromSettingText(const std::string& text);

// "SET:<key>:?" reads a setting, "SET:<key>:<value>" writes and acknowledges it.
std::optional<Reply> AnswerSetting(const std::string& line, MeterState& state);
// "SET:PROT:<name>:?" reads a protected field, "SET:PROT:<name>:<value>" writes it when the
// meter is unlocked; fields the meter does not hold and locked writes are refused.
std::optional<Reply> AnswerProtected(const std::string& line, MeterState& state);
// "STT:..." monitoring, acquisition, display and recorder state.
std::optional<Reply> AnswerState(const std::string& line, MeterState& state);
// "DMP:ON" tells what a dump of the memory holds, "DMP:NE" and "DMP:RE" send its records (with
// the dump's faults), "DMP:OFF" ends it.
std::optional<Reply> AnswerDump(const std::string& line, MeterState& state);
// "KEY:..." key presses: acknowledged with the command's own text; KEY:OFF switches off.
std::optional<Reply> AnswerKey(const std::string& line, MeterState& state);
// The calibration commands ("CAL:", "FAB:", "SET:MIC_NUMBER:", "KEY:PRN_VAL"), the programs
// ("KEY:EXEC:<n>", their screens, "KEY:CLEFT"/"KEY:CRIGHT" at their end) and the upgrade mode.
std::optional<Reply> AnswerCalibration(const std::string& line, MeterState& state);
// Anything else is refused.
std::optional<Reply> Refuse(const std::string& line, MeterState& state);

// The responders above, in the order they are asked.
std::vector<Responder> StandardResponders();

}  // namespace simmeter
