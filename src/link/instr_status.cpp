#include "link/instr_status.h"

#include "link/setup_value_table.h"
#include "platform/text.h"

namespace {

void Assign(CInstrStatus& status, const SetupValueSpec& spec, const char* text) {
    if (spec.text)
        status.*spec.text = text;
    else
        status.*spec.number = platform::Atoi(text);
}

}  // namespace

CInstrStatus::CInstrStatus() {
    for (const auto& spec : SetupValueSpecs())
        Assign(*this, spec, spec.initial);
}

CInstrStatus::~CInstrStatus() = default;

void CInstrStatus::Reset() {
    m_nDateTimeFlag = 0;
    for (const auto& spec : SetupValueSpecs()) {
        if (spec.afterReset)
            Assign(*this, spec, spec.afterReset);
    }
}

std::string* CInstrStatus::Text(int value) {
    const SetupValueSpec* spec = FindSetupValue(value);
    return spec && spec->text ? &(this->*spec->text) : nullptr;
}

const std::string* CInstrStatus::Text(int value) const {
    return const_cast<CInstrStatus*>(this)->Text(value);
}

int* CInstrStatus::Number(int value) {
    const SetupValueSpec* spec = FindSetupValue(value);
    return spec && spec->number ? &(this->*spec->number) : nullptr;
}

const int* CInstrStatus::Number(int value) const {
    return const_cast<CInstrStatus*>(this)->Number(value);
}

std::string CInstrStatus::GetText(int value) const {
    const std::string* text = Text(value);
    return text ? *text : std::string();
}

std::string* CInstrStatus::TextAtSetupNumber(int number) {
    return Text(ValueOfSetupNumber(number));
}

const std::string* CInstrStatus::TextAtSetupNumber(int number) const {
    return Text(ValueOfSetupNumber(number));
}

int* CInstrStatus::NumberAtSetupNumber(int number) {
    if (number == kDateTimeFlagSetupNumber)
        return &m_nDateTimeFlag;
    return Number(ValueOfSetupNumber(number));
}

const int* CInstrStatus::NumberAtSetupNumber(int number) const {
    return const_cast<CInstrStatus*>(this)->NumberAtSetupNumber(number);
}
