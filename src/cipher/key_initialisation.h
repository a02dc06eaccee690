#pragma once
// Loading a meter's key data and bringing the meter into step with it: the key data comes from
// the web service when the internet is reachable (downloaded twice and compared), otherwise
// from the local key files; a key reset then restarts both sides from the key data and a
// new-key exchange renews the keystream. The bench window's InitRefCrypt and InitTargetCrypt
// forward here.

#include <optional>
#include <string>

#include "cipher/bench_exchange_host.h"
#include "cipher/bench_state.h"
#include "cipher/enciphered_exchange.h"
#include "cipher/key_host.h"

namespace cipher {

class KeyInitialisation {
public:
    KeyInitialisation(BenchState& bench, BenchExchangeHost& host, KeyHost& keys,
                      EncipheredExchange& exchange);

    // True only when the key reset and the new-key exchange both succeeded. They show their
    // own boxes; the callers keep the counters and the port.ini records.
    bool InitRefCrypt();
    bool InitTargetCrypt();
    // The instrument under test once its reset sends have reached the attempt limit: one key-reset
    // send, one try and no boxes of its own, so that a meter that answers in step again is
    // aligned while one that still fails costs one send per alignment. True only when the
    // meter confirmed the reset and the new key.
    bool ProbeTargetCrypt();

private:
    struct Texts;
    // How many key-reset sends an initialisation may make.
    struct ResetBudget {
        int tries;
        int sendsPerTry;
        // Whether the count of sends refuses every send beyond the attempt limit; a probe is
        // one send past it.
        bool limited;
    };
    static constexpr ResetBudget kStandardBudget{2, 2, true};
    static constexpr ResetBudget kProbeBudget{1, 1, false};
    enum class ResetEnd { Done, Passo1, Passo2, Passo3, GiveUp };

    bool Init(Meter meter, const ResetBudget& budget);
    // The downloaded key text (empty when offline); nothing when the initialisation ends here.
    std::optional<std::string> DownloadKeyText(const Texts& texts, const std::string& serial);
    // Loads the key data from the key text or the local files; false when it ends here.
    bool LoadKeyData(const Texts& texts, Meter meter, const std::string& keyText);
    void Load(BenchMeter& meter, const KeyData& key);
    bool ResetKey(const Texts& texts, Meter meter, const ResetBudget& budget);
    ResetEnd TryReset(const Texts& texts, Meter meter, const ResetBudget& budget,
                      const std::string& frame, int challenge);
    void Log(const std::string& text) { m_host.AddLog(text); }

    BenchState& m_bench;
    BenchExchangeHost& m_host;
    KeyHost& m_keys;
    EncipheredExchange& m_exchange;
};

}  // namespace cipher
