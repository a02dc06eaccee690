#pragma once
// The bench's plain commands to its meters (SendRefCommand, SendTargetCommand): a command,
// then a status query whose reply must show the expected status. An instrument under test
// that cannot be commanded is started and stopped by the operator instead.

#include <string>

#include "cipher/bench_exchange_host.h"
#include "cipher/bench_state.h"

namespace verification {

inline constexpr int kCommandAttempts = 3;

// With an expected status: "1" when the status reply shows it, "0" when it does not. Without
// one: the command's cleaned reply. "-1" when the windows or the port are gone, the meter gave
// no usable reply, or the operator aborted.
std::string SendMeterCommand(cipher::BenchState& bench, cipher::BenchExchangeHost& host,
                             cipher::Meter meter, const std::string& command,
                             const std::string& statusQuery, const std::string& expected,
                             unsigned waitMs);

}  // namespace verification
