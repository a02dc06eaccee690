#include "link/instr_status.h"

#include "link/setup_value_table.h"
#include "platform/text.h"

namespace {

void Assign(CInstrStatus& status, const SetupValueRow& row, const char* text) {
    if (row.text)
        status.*row.text = text;
    else
        status.*row.number = platform::Atoi(text);
}

}  // namespace

CInstrStatus::CInstrStatus() {
    for (const auto& row : SetupValueRows())
        Assign(*this, row, row.initial);
}

CInstrStatus::~CInstrStatus() = default;

void CInstrStatus::Reset() {
    m_nDateTimeFlag = 0;
    for (const auto& row : SetupValueRows()) {
        if (row.afterReset)
            Assign(*this, row, row.afterReset);
    }
}

std::string* CInstrStatus::Text(int value) {
    const SetupValueRow* row = FindSetupValue(value);
    return row && row->text ? &(this->*row->text) : nullptr;
}

const std::string* CInstrStatus::Text(int value) const {
    return const_cast<CInstrStatus*>(this)->Text(value);
}

int* CInstrStatus::Number(int value) {
    const SetupValueRow* row = FindSetupValue(value);
    return row && row->number ? &(this->*row->number) : nullptr;
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
