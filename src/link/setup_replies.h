#pragma once
// The meter's replies that carry setup values, and its acknowledgements of settings.
//
// A query reply echoes the field name and then the value; the value is taken at the position
// the value table gives, trimmed, and cleaned so that it compares with what the setup pages
// store ("3dB" becomes "3", "Leq A" becomes "LeqA"). A reply cut short or refused is normal:
// it is never read past its end, and one shorter than the value's minimum changes nothing.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/follow_up.h"
#include "link/instr_status.h"
#include "link/setup_value_table.h"

struct StoredValue {
    int value = -1;    // value number
    std::string text;  // as stored; an int as its digits
    int block = -1;    // field of the setup block that takes the text too; -1 none
    bool operator==(const StoredValue&) const = default;
};

// Stores the reply to `code` into the records its value table row names (both, or the current
// one only): every query of the table and the baud-rate setting 53, whose reply echoes the
// rate taken. Nothing is stored, and nullopt returned, when the code carries no value, the
// reply is shorter than the value's minimum, or a choice reply names none of its words.
// The model (0) and class (205) replies also decorate the model: use identity_replies.h.
std::optional<StoredValue> StoreQueryReply(int code, std::string_view reply, CInstrStatus& current,
                                           CInstrStatus& edited);

// The meter acknowledged the setting `code`: the edited text of its value becomes the
// current one. Returns the value number, or -1 when `code` is no acknowledged setting (the
// date and time, whose edited texts are emptied once sent, and the baud rate, whose reply
// is stored instead).
int AcknowledgeSetting(int code, CInstrStatus& current, const CInstrStatus& edited);

// The queries a reported event trigger calls for, all urgent: "LEV" its polarity, levels and
// times, "MAN" its off time, "EXT" its external polarity.
std::vector<FollowUp> EventTriggerQueries(std::string_view trigger);

// The text from `offset` on, blanks trimmed; empty when the reply is shorter.
std::string ValueAtOffset(std::string_view reply, int offset);
std::string CleanValue(std::string_view text, ValueCleanup cleanup);
