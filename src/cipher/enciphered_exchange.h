#pragma once
// The enciphered operations of the verification bench window CSoundDlg: the window's methods
// of the same names forward here. Each is a challenge and response over the meter's port:
// the command goes out under the meter's keystream, both sides advance their generators by
// the challenge, and the meter answers under the new keystream.
//
// The frames go through the link's direct exchange (BenchExchangeHost::Exchange) with the
// protocol's fixed waits: every wait pumps messages and ends the exchange with failure when
// the bench's abort flag was raised meanwhile.

#include <optional>
#include <string>
#include <string_view>

#include "cipher/bench_exchange_host.h"
#include "cipher/bench_state.h"

struct ExchangeRequest;

namespace cipher {

// Results of the readings and the unlock that callers compare with.
inline constexpr std::string_view kFailed = "-1";
inline constexpr std::string_view kConfirmed = "1";

// A number from 0 to 32767 from the process's own generator, for BenchExchangeHost::Random.
int StandardRandom();

// How the replies of one kind of exchange are waited for.
struct ReplyWaits {
    unsigned waitMs = 5000;
    int waitLimit = 4;  // waits per attempt
    // Readings and the unlock: the windows and the port are checked after every wait.
    bool checked = true;
    // Logged when the windows or the port are gone; nothing when empty.
    std::string_view windowGoneLog;
    std::string_view portClosedLog;
};

class EncipheredExchange {
public:
    EncipheredExchange(BenchState& bench, BenchExchangeHost& host);

    // Whether the meter confirmed the new key.
    bool RefNewKey();
    bool TargetNewKey();
    // "00:00:00   %.1f - %.1f - %.1f - %s", or "-1"; shows the channels on the bench.
    std::string TargetGetValCrypt();
    // "00:00:00   %.2f;0.0;0.0; ", or "-1"; shows the level in the CH2 field.
    std::string RefGetExtCrypt();
    // "1" when the instrument under test confirmed the unlock of protected writes, else "-1".
    std::string UnlockTargetCryp();

    // The building blocks that the key reset shares with the operations above.
    // A challenge from 0 to 4094: r mod 4095, drawn once more when it is 0.
    int DrawChallenge();
    // One send of a frame with these waits: each wait is followed by one read, and another
    // wait follows while a read brings bytes, up to the limit. `stopped` is raised when the
    // exchange ended for an abort or (checked waits) for the windows or the port gone.
    ExchangeRequest FrameRequest(Meter meter, const std::string& frame, const ReplyWaits& waits,
                                 bool& stopped);
    // Whether a decoded reply confirms the challenge ("0123_RND_KEYGEN" anywhere in it).
    static bool Confirms(std::string_view decoded, int challenge);

private:
    struct Rules;
    // The windows and the port after a wait; false (with the waits' log) when one is gone.
    bool StillThere(Meter meter, const ReplyWaits& waits);
    // The attempts of one exchange; the reply when the meter gave a usable one.
    std::optional<std::string> Exchange(const Rules& rules, int challenge);
    bool NewKey(Meter meter);

    BenchState& m_bench;
    BenchExchangeHost& m_host;
};

}  // namespace cipher
