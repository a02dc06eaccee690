#pragma once
// The one description of every value of CInstrStatus: the field that holds it, the commands
// that read and write it, where its text sits in the meter's reply, how that text is cleaned so
// that it compares with what the setup pages store, its field in the recording's setup block,
// its custom-settings key with its line and form in a settings file, its defaults, the meters
// that have it, and its places in the whole-setup read, in the queries of a new session and in
// the send. The rows themselves are in setup_value_rows.h; the setup pages bind their controls
// to a row by its name.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "link/instr_status.h"

// Where a reply carries the value.
enum class ReplyForm {
    None,            // fed by state replies, not by a query
    AfterKey,        // the text after `key`; the whole reply when the key is missing
    AtOffset,        // from character `offset` on
    AfterLastColon,  // the text after the last ':'; the whole reply when there is none
    Choice,          // the word of the first choice whose text the reply contains
    OnFlag,          // an int: 1 when the reply contains "ON"
};

struct ReplyChoice {
    const char* contains;
    const char* stored;
};

struct ReplyRule {
    int code = -1;
    ReplyForm form = ReplyForm::None;
    int offset = 0;
    int minLength = 0;  // shorter replies change nothing; 0 = any length
    const char* key = nullptr;
    std::span<const ReplyChoice> choices = {};
};

// What is done to the extracted text so that the meter's way of writing a value matches the
// pages' way.
enum class ValueCleanup {
    None,
    NoDecibel,    // every 'd' and 'B' removed: "3dB" -> "3"
    NoBlanks,     // every blank removed
    NoSeconds,    // every 's' removed: "5s" -> "5"
    DateSlashes,  // every ':' becomes '/'
    DegreeSign,   // the meter's degree byte 0xF8 becomes Latin-1 0xB0
};

enum class RecordScope { Both, CurrentOnly };

// How sending decides that a value changed.
enum class ChangeTest {
    Exact,
    CurrentContains,  // unchanged while the current text contains the edited one: the meter
                      // reports the unit ("20dB") that the page leaves out ("20")
};

enum class CustomKeyUse { None, LoadAndSave, LoadOnly };

// Which custom-settings files carry a key: the model of the meter the file is saved from or
// loaded into decides (setup/custom_settings_file.h).
enum class CustomKeyGate {
    Always,
    Reports,       // meters with report and event settings only (setup_gate::kReports)
    LevelTrigger,  // as Reports; `key` while the event trigger is "LEV", `altKey` otherwise
};

// How a value is written after its key.
enum class CustomKeyForm {
    Text,      // as it stands
    OnOff,     // only "ON" or "OFF": any other text is neither written nor loaded
    GainInDb,  // 0 to 40 dB in steps of 10, written "00dB".."40dB" whether the meter ("20dB")
               // or a page ("20") gave it; loaded without the unit, as a page stores it
};

// The conditions under which a value is read, sent or shown: on the meter's model (the
// decorated model text of the current setup, tested by model_rules) and, when sending, on the
// edited setup. A gate holds when all of its conditions hold, but for the event triggers: a
// gate naming several holds for any of them. The empty gate always holds.
class SetupGate {
public:
    constexpr SetupGate() = default;
    constexpr explicit SetupGate(std::uint32_t bits) : m_bits(bits) {}
    constexpr SetupGate operator|(SetupGate other) const {
        return SetupGate(m_bits | other.m_bits);
    }
    constexpr bool operator==(const SetupGate&) const = default;
    constexpr std::uint32_t Bits() const { return m_bits; }
    // Whether any of `other`'s conditions is among this gate's.
    constexpr bool Names(SetupGate other) const { return (m_bits & other.m_bits) != 0; }

private:
    std::uint32_t m_bits = 0;
};

namespace setup_gate {
// The model.
inline constexpr SetupGate kSpectrum{1u << 0};             // none of "p", "q", "r"
inline constexpr SetupGate kReportLetters{1u << 1};        // a QS4060 letter of reports
inline constexpr SetupGate kThirdOctaveReports{1u << 2};   // "n", "k", "N" or "K"
inline constexpr SetupGate kOctaveReportLetters{1u << 3};  // "j" or "J"
inline constexpr SetupGate kOctaveReportsOnly{1u << 4};    // "j" or "J" without the above
inline constexpr SetupGate kQS4160{1u << 5};
inline constexpr SetupGate kQS4160Reports{1u << 6};   // "QS4160_L", "_H", "_I" or "_M"
inline constexpr SetupGate kShortLeqAndFft{1u << 7};  // "QS4160_L" or "_H"
inline constexpr SetupGate kReports{1u << 8};         // kReportLetters or kQS4160Reports
// The edited setup, when sending.
inline constexpr SetupGate kLogging{1u << 9};           // normal storing: AUTOSTORE "OFF"
inline constexpr SetupGate kLevelTrigger{1u << 10};     // EVN_TRIG "LEV"
inline constexpr SetupGate kManualTrigger{1u << 11};    // EVN_TRIG "MAN"
inline constexpr SetupGate kExternalTrigger{1u << 12};  // EVN_TRIG "EXT"
inline constexpr SetupGate kEditedSetup =
    kLogging | kLevelTrigger | kManualTrigger | kExternalTrigger;
}  // namespace setup_gate

// Whether `gate` holds for `model`; `edited` is the setup being sent, nullptr for a read (a
// gate on the edited setup then never holds).
bool SetupGateHolds(SetupGate gate, std::string_view model, const CInstrStatus* edited = nullptr);

// The three orders in which values go to and from the meter.
enum class SetupOrder {
    Read,     // the whole-setup read; its last query's reply opens the setup sheet
    Session,  // the setup queries that open a new monitoring session
    Send,     // the setting commands of the changed values
};

// A value's place in an order: the order runs by ascending position, each place where its
// gate and the value's own both hold. A value may stand at several places, each under its own
// gate (the QS4060's report section and the QS4160's, for one).
struct OrderPlace {
    int position = 0;  // 0: no place
    SetupGate gate = {};
    bool second = false;  // the value's second query or setting command
};
constexpr OrderPlace Second(OrderPlace place) {
    place.second = true;
    return place;
}

struct SetupValueRow {
    int value = -1;                             // value number, 0..81
    const char* name = "";                      // the name the setup pages use
    std::string CInstrStatus::*text = nullptr;  // the field, for a text value
    int CInstrStatus::*number = nullptr;        // the field, for an int value
    ReplyRule query = {};                       // the query whose reply fills it
    ReplyRule altQuery = {};                    // a second reply that fills it
    RecordScope scope = RecordScope::Both;      // records a query reply writes
    ValueCleanup cleanup = ValueCleanup::None;
    int block = -1;       // field of the setup block, -1 none
    int setCode = -1;     // the command that sends the edited text
    int altSetCode = -1;  // a second command sending it
    ChangeTest change = ChangeTest::Exact;
    bool clearedAfterSend = false;  // the edited text is emptied once sent
    const char* key = nullptr;      // custom-settings key
    const char* altKey = nullptr;   // a second key loading the same value
    CustomKeyUse keyUse = CustomKeyUse::None;
    int keyLine = 0;  // where the key's line stands in a custom-settings file, 1 first
    CustomKeyGate keyGate = CustomKeyGate::Always;
    CustomKeyForm keyForm = CustomKeyForm::Text;
    const char* initial = "";             // after construction
    const char* afterReset = "";          // after Reset; nullptr = kept
    SetupGate gate = {};                  // the meters that have the value
    std::array<OrderPlace, 3> read = {};  // places in the whole-setup read (`query`, or the
                                          // `altQuery` of a place marked second)
    OrderPlace session = {};              // in the queries of a new session
    std::array<OrderPlace, 3> send = {};  // in the send (`setCode`, or `altSetCode`)
};

// Every value, in value-number order.
std::span<const SetupValueRow> SetupValueRows();
// nullptr when no value has that number / code / name / key.
const SetupValueRow* FindSetupValue(int value);
const SetupValueRow* FindSetupValueBySetupNumber(int number);
const SetupValueRow* FindSetupValueByQuery(int code);
const SetupValueRow* FindSetupValueBySetCode(int code);
const SetupValueRow* FindSetupValueByName(std::string_view name);
const SetupValueRow* FindSetupValueByKey(std::string_view key);  // either key
// The values a custom-settings file is written from, in the order of its lines.
std::vector<const SetupValueRow*> CustomSettingsLineOrder();

constexpr int SetupNumberOfValue(int value) {
    return value + CInstrStatus::kSetupNumberOfFirstValue;
}
constexpr int ValueOfSetupNumber(int number) {
    return number - CInstrStatus::kSetupNumberOfFirstValue;
}

// The query rule of `row` that answers `code` (the main or the second one), or nullptr.
const ReplyRule* ReplyRuleFor(const SetupValueRow& row, int code);

// One step of an order: the value and the command that reads or writes it.
struct OrderStep {
    const SetupValueRow* row = nullptr;
    int code = -1;
    bool operator==(const OrderStep&) const = default;
};
// The steps of `order` for `model` (and, for the send, the `edited` setup), from `rows`.
std::vector<OrderStep> SetupOrderSteps(SetupOrder order, std::string_view model,
                                       const CInstrStatus* edited = nullptr,
                                       std::span<const SetupValueRow> rows = SetupValueRows());
