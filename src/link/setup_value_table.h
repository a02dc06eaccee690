#pragma once
// The one description of every value of CInstrStatus: the field that holds it, the commands
// that read and write it, where its text sits in the meter's reply, how that text is cleaned so
// that it compares with what the setup pages store, its field in the recording's setup block,
// its custom-settings key with its line and form in a settings file, and its defaults.

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
    Reports,       // meters with report and event settings only
    LevelTrigger,  // as Reports; `key` while the event trigger is "LEV", `altKey` otherwise
};

// How a value is written after its key.
enum class CustomKeyForm {
    Text,      // as it stands
    OnOff,     // only "ON" or "OFF": any other text is neither written nor loaded
    GainInDb,  // 0 to 40 dB in steps of 10, written "00dB".."40dB" whether the meter ("20dB")
               // or a page ("20") gave it; loaded without the unit, as a page stores it
};

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
    const char* initial = "";     // after construction
    const char* afterReset = "";  // after Reset; nullptr = kept
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
