#pragma once
// Sending the setup: one setting command for each edited value that differs from the meter's,
// in the order the meter takes them and only for the settings its model has, as the setup
// value table places and gates them (setup_value_rows.h).

#include "link/follow_up.h"
#include "link/instr_status.h"

// Queues, as normal commands through `send`, the setting command of every value of `edited`
// that differs from `current` (the input gain and the calibration level count as unchanged
// while the current text contains the edited one). The value goes in the command's argument
// that the command table fills; the other argument carries the value's name, which the queue
// reports on a refusal. The model rules are tested on the current model, the storing mode and
// the event trigger on the edited setup.
//
// Clears both date-time flags first; the edited date and time are emptied once considered
// (the General page refills them when the clock is to be set), and an empty date or time is
// never sent. The frame then notes that a setup send is pending.
void QueueSetupCommands(CInstrStatus& current, CInstrStatus& edited, const SendCommandFn& send);
