#pragma once
// Bringing the instrument under test and the bench into step before enciphered work outside a
// verification test (the microphone replacement, the calibration-expiry update, a run's key
// alignment): the meter must start and stop, is left stopped, and its keys are initialised
// within the attempt limit, with the outcome recorded in its "port.ini" record.

#include "cipher/bench_exchange_host.h"
#include "cipher/bench_state.h"
#include "cipher/key_host.h"
#include "cipher/key_initialisation.h"

namespace cipher {

// The key-reset sends after which an alignment makes a single one more ...
inline constexpr int kAlignmentResetLimit = 4;
// ... and refuses even that when the meter's failed enciphered exchanges passed this count.
inline constexpr int kAlignmentErrorLimit = 4;

// True only when a key reset and a new-key exchange were made with the meter just now.
bool AlignTargetKeys(BenchState& bench, BenchExchangeHost& host, KeyHost& keys,
                     KeyInitialisation& initialisation);

}  // namespace cipher
