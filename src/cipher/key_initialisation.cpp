#include "cipher/key_initialisation.h"

#include "cipher/enciphered_command.h"
#include "cipher/key_files.h"
#include "link/direct_exchange.h"
#include "link/protocol_bytes.h"
#include "platform/operator.h"
#include "platform/text.h"

namespace cipher {

namespace {

constexpr const char* kDownloadFailed = "-1";
// Key-reset sends beyond this count are refused until a caller clears the counter.
constexpr int kResetSendLimit = 4;
constexpr unsigned kPauseBeforeResetMs = 1000;
// The reset is answered within a wait or two; a meter that never pauses must not hold the
// bench for ever.
constexpr ReplyWaits kResetWaits{5000, 8, false, {}, {}};

}  // namespace

// What sets the reference meter's texts and rules apart from the instrument under test's.
struct KeyInitialisation::Texts {
    bool reference;
    const char* log;    // "REF" / "DUT" in the log and box texts
    const char* instr;  // "REF INSTR" / "DUT INSTR" in the reset failure texts
    int challengeModulus;

    std::string Prefixed(const std::string& text) const { return log + (" : " + text); }
};

KeyInitialisation::KeyInitialisation(BenchState& bench, BenchExchangeHost& host, KeyHost& keys,
                                     EncipheredExchange& exchange)
    : m_bench(bench), m_host(host), m_keys(keys), m_exchange(exchange) {}

bool KeyInitialisation::InitRefCrypt() {
    return Init(Meter::Reference, kStandardBudget);
}

bool KeyInitialisation::InitTargetCrypt() {
    return Init(Meter::Target, kStandardBudget);
}

bool KeyInitialisation::ProbeTargetCrypt() {
    return Init(Meter::Target, kProbeBudget);
}

bool KeyInitialisation::Init(Meter meter, const ResetBudget& budget) {
    const Texts texts = meter == Meter::Reference ? Texts{true, "REF", "REF INSTR", 500}
                                                  : Texts{false, "DUT", "DUT INSTR", 4095};
    const std::string serial = m_bench.Of(meter).serialNumber;
    const auto keyText = DownloadKeyText(texts, serial);
    if (!keyText)
        return false;
    if (!LoadKeyData(texts, meter, *keyText))
        return false;
    return ResetKey(texts, meter, budget);
}

std::optional<std::string> KeyInitialisation::DownloadKeyText(const Texts& texts,
                                                              const std::string& serial) {
    if (!m_keys.InternetAvailable())
        return std::string();
    Log(texts.Prefixed("download key for " + serial));
    auto retry = [this](platform::RetryQuestion& question) {
        return question.Ask("Error 367 - Mancata connessione Internet.\nRiprovare ?\n\nErr=" +
                                m_keys.DownloadError(),
                            MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
    };

    platform::RetryQuestion firstRetry;
    std::string first = m_keys.DownloadKeyText(serial);
    while (first == kDownloadFailed) {
        if (texts.reference) {
            if (!retry(firstRetry))
                break;
        } else if (firstRetry.Ask("ATTENZIONE:\nLo strumento da verificare (Ser num:" + serial +
                                      ") non e' presente nel database strumenti.\nRiprovare "
                                      "connessione a internet ?\n\nErr=" +
                                      m_keys.DownloadError(),
                                  MB_YESNO | MB_ICONSTOP) != IDYES) {
            return std::nullopt;
        }
        first = m_keys.DownloadKeyText(serial);
    }
    platform::RetryQuestion secondRetry;
    std::string second = m_keys.DownloadKeyText(serial);
    while (second == kDownloadFailed && retry(secondRetry))
        second = m_keys.DownloadKeyText(serial);

    if (first != second) {
        const std::string failed = texts.Prefixed(
            "controllo integrita chiave FALLITO.\nControllare connessione internet e riprovare.");
        Log(failed);
        platform::AfxMessageBox(failed);
        return std::nullopt;
    }
    Log(texts.Prefixed("controllo integrita chiave OK "));
    // The server's file may end its line; the key line itself does not.
    const std::string keyLine = platform::TrimRight(second);
    if (texts.reference && KeyFieldsOf(keyLine, serial))
        AppendKeyLine(m_keys.ProgramPath(kLocalKeyFile), keyLine);
    return keyLine;
}

bool KeyInitialisation::LoadKeyData(const Texts& texts, Meter meter, const std::string& keyText) {
    BenchMeter& bench = m_bench.Of(meter);
    const std::string& serial = bench.serialNumber;
    if (const auto fields = KeyFieldsOf(keyText, serial)) {
        Log(texts.Prefixed("OK check key for " + serial));
        Load(bench, ReadKeyFields(*fields));
        return true;
    }

    if (texts.reference) {
        const KeyFileSearch search =
            SearchKeyFile(m_keys.ProgramPath(kLocalKeyFile), serial, false);
        if (!search.opened) {
            platform::AfxMessageBox("Error 368");
            return false;
        }
        if (!search.fields) {
            platform::AfxMessageBox("ATTENZIONE:\nLo strumento di riferimento (Ser num:" + serial +
                                        ") non e' presente nel database strumenti.",
                                    MB_ICONSTOP);
            return false;
        }
        Load(bench, ReadKeyFields(*search.fields));
        return true;
    }

    platform::AfxMessageBox(
        "Connessione di rete assente.\nE' possibile effetuare la verifica periodica solo per gli "
        "strumenti prenotati.",
        MB_ICONINFORMATION);
    const KeyFileSearch search = SearchKeyFile(m_keys.ProgramPath(kBookedKeyFile), serial, true);
    if (!search.opened) {
        // The reset is still tried, with the key data already held.
        platform::AfxMessageBox("Error 268");
        return true;
    }
    if (!search.fields) {
        platform::AfxMessageBox("ATTENZIONE:\nLo strumento da verificare (Ser num:" + serial +
                                    ") non e' presente nella lista degli strumenti prenotati\n\n(" +
                                    search.serials + "\n)",
                                MB_ICONSTOP);
        return false;
    }
    // The reference meters' key file stays: without it no reference meter could be initialised
    // again while the network is away, this verification's included.
    Load(bench, ReadKeyFields(*search.fields));
    return true;
}

void KeyInitialisation::Load(BenchMeter& meter, const KeyData& key) {
    meter.keyData = key;
    meter.cipher.Load(key.resetKeystream, key.state);
}

bool KeyInitialisation::ResetKey(const Texts& texts, Meter meter, const ResetBudget& budget) {
    BenchMeter& bench = m_bench.Of(meter);
    Load(bench, bench.keyData);
    const int challenge = m_host.Random() % texts.challengeModulus;
    const std::string frame = CommandFrame(bench.cipher, CommandText(kResetKeyKeyword, challenge),
                                           CipherKey::ResetKeystream);
    for (int tryNumber = 0; tryNumber < budget.tries; ++tryNumber) {
        const ResetEnd end = TryReset(texts, meter, budget, frame, challenge);
        if (end == ResetEnd::Done)
            return true;
        if (end == ResetEnd::GiveUp)
            return false;
        const std::string step = end == ResetEnd::Passo1   ? "passo1"
                                 : end == ResetEnd::Passo2 ? "passo2"
                                                           : "passo3";
        const std::string failed =
            std::string(texts.instr) + ": Errore inizializzazione cifratura - " + step;
        if (budget.tries == 1) {
            // A single try has no second one to announce: its caller tells the operator.
            Log(failed);
        } else if (tryNumber == 0) {
            Log(failed);
            platform::AfxMessageBox(
                failed +
                    ".\nNon chiudere il software\nNon scollegare lo strumento.\nControllare i cavi "
                    "di connessione.\nPremere OK dopo aver eseguito per effettuare un altro "
                    "tentativo.",
                MB_ICONEXCLAMATION);
        } else {
            Log(failed + " secondo tentativo - Contattare assistenza Corvanex");
            platform::AfxMessageBox(failed + " secondo tentativo.\nContattare assistenza Corvanex.",
                                    MB_ICONEXCLAMATION);
        }
    }
    return false;
}

KeyInitialisation::ResetEnd KeyInitialisation::TryReset(const Texts& texts, Meter meter,
                                                        const ResetBudget& budget,
                                                        const std::string& frame, int challenge) {
    BenchMeter& bench = m_bench.Of(meter);
    // The meter restarts from its key data on every reset it reads, so every try does too:
    // a try that got as far as advancing must not leave the second one out of step.
    Load(bench, bench.keyData);
    std::string reply;
    for (int send = 0; send < budget.sendsPerTry; ++send) {
        if (++bench.keyResets > kResetSendLimit && budget.limited)
            return ResetEnd::GiveUp;
        m_host.DiscardPending(meter);
        m_host.Wait(kPauseBeforeResetMs);
        if (m_bench.abortRequested)
            return ResetEnd::GiveUp;
        reply.clear();
        bool stopped = false;
        ExchangeRequest request = m_exchange.FrameRequest(meter, frame, kResetWaits, stopped);
        request.onFailedAttempt = [&reply](const std::string& refused) {
            reply = refused;
            return true;
        };
        const auto answer = m_host.Exchange(meter, request);
        if (stopped)
            return ResetEnd::GiveUp;
        reply = answer.value_or(reply);
        if (protocol::IsUsable(reply))
            break;
        Log(texts.Prefixed(
            reply.empty() ? "Inizializzazione crypt (RSTKEY_RND_) receive NULL -> Repeat command"
                          : "Inizializzazione crypt (RSTKEY_RND_) receive NAK -> Repeat command"));
    }
    if (!protocol::IsUsable(reply))
        return ResetEnd::Passo1;

    bench.cipher.Advance(challenge);
    const auto decoded = DecodeReply(bench.cipher, reply);
    if (!decoded || !EncipheredExchange::Confirms(*decoded, challenge))
        return ResetEnd::Passo2;
    m_keys.SavePortIni();
    const bool renewed =
        meter == Meter::Reference ? m_exchange.RefNewKey() : m_exchange.TargetNewKey();
    return renewed ? ResetEnd::Done : ResetEnd::Passo3;
}

}  // namespace cipher
