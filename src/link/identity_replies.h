#pragma once
// The replies that identify the meter. The model reply starts a chain of queries; the
// options, extended-range and class replies then decorate the model text into
// model + "_" + options + extended-range digit + "$" + class (as "QS4060_rn1$1"), which is
// what the model rules test. Both records carry the same decorated model.
//
// The serial-number, firmware and microphone replies (codes 1 to 5) are plain values: store
// them with StoreQueryReply (setup_replies.h). The frame copies the model into field 0
// of the setup block after codes 0 and 120.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/follow_up.h"
#include "link/instr_status.h"

// What stands before the value in the reply to the identity query `code` (0 to 5):
// "SET:INSTR_NUMBER:" for the serial number's. The identification probe is answered as the
// model query (code 0) is. Nothing for a code that is no such query: its reply is not known to
// carry a key, which an empty one would claim (a reply that echoes no field).
std::optional<std::string> IdentityReplyKey(int code);

// Code 0. Stores the model in both records and returns the identification chain to queue:
// the extended-range query (only for the plain "QS4060") and the options query, both urgent,
// then firmware, serial number, integration time, display, auto power-off, acquisition and
// recording state. The urgent ones are listed so that the extended range is read before the
// options reply needs it.
std::vector<FollowUp> OnInstrModelReply(std::string_view reply, CInstrStatus& current,
                                        CInstrStatus& edited);

// Code 120. Appends "_", the option letters ("0" when none) and the extended-range digit to
// the model of both records; returns the class query (urgent) and, for models with reports,
// the SLM datalogging query.
std::vector<FollowUp> OnOptionsReply(std::string_view reply, CInstrStatus& current,
                                     CInstrStatus& edited);

// Code 205. Stores the class and appends "$" + class to the model, in both records. (A meter
// that refuses the query three times gets the class "-1" from the frame, and no
// decoration.)
void OnClassReply(std::string_view reply, CInstrStatus& current, CInstrStatus& edited);
