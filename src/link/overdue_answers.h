#pragma once
// The commands whose answers are overdue: given up after their resends, or answered only after
// a resend, so that the meter may still answer them, late and maybe more than once. A reply of
// the settings and state families echoes the field it answers ("SET:INSTR_N:?" is answered
// "SET:INSTR_NUMBER:A1"), which tells such a late answer from the reply awaited.

#include <cstdint>
#include <set>
#include <string>
#include <string_view>

// "SET:INSTR_N" of "SET:INSTR_N:?\r\n", "SET:INSTR_NUMBER" of "SET:INSTR_NUMBER:A1": the family
// and field that a command names and its reply echoes. Empty for the other families (keys,
// dumps, calibration), whose replies echo nothing that can be told apart.
std::string EchoOf(std::string_view text);

// Whether `reply` echoes a field but lacks `key`, the text the awaited reply carries
// ("SET:INSTR_NUMBER:" of the serial number's): it answers another query, or is the copy of an
// earlier answer that a meter sent twice. An empty key is that of a reply that echoes no field.
bool AnswersAnotherField(std::string_view reply, std::string_view key);

class OverdueAnswers {
public:
    void Add(std::string_view commandText);
    // A command some of whose sends met their time-out (`timeoutMs`) ends: its field is noted as
    // overdue, and the result is how long the line stays quiet from now for its late answers.
    // Given up, its last send may still be answered after one more time-out; answered, the
    // answer may be the first send's, and the later sends' answers then come as long after
    // them, so the time its sends took and one time-out.
    unsigned Overdue(std::string_view commandText, std::uint32_t firstSend, std::uint32_t lastSend,
                     unsigned timeoutMs, bool givenUp);
    void Clear() { m_echoes.clear(); }
    // Whether `reply` answers an overdue command rather than the awaited one (`awaitedText`,
    // empty when none is): its echo names an overdue command's field, and more closely than
    // the awaited command's. A reply whose echo names no overdue command is never taken for a
    // late one, whatever it names: a meter's field names are not always the command's spelt
    // out.
    bool IsLateAnswer(std::string_view reply, std::string_view awaitedText) const;

private:
    std::set<std::string, std::less<>> m_echoes;
};
