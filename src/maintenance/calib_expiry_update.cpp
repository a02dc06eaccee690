#include "maintenance/calib_expiry_update.h"

#include "link/command.h"
#include "link/command_codes.h"
#include "link/direct_exchange.h"
#include "link/identity_replies.h"
#include "link/link_port.h"
#include "link/link_session.h"
#include "link/link_side.h"
#include "maintenance/expiry_journal.h"
#include "platform/files.h"
#include "platform/text.h"
#include "report/instr_log.h"
#include "verification/instrument_connection.h"
#include "web/service_paths.h"
#include "web/web_client.h"

namespace maintenance {

namespace {

// Each plain query or write ends with its reply's ETX, within this.
constexpr unsigned kReplyTimeoutMs = 1000;

constexpr const char* kUnreadable =
    "ATTENZIONE:\nLettura dei dati dello strumento fallita.\nAggiornamento data di scadenza non "
    "eseguito.";
constexpr const char* kNotDone = "\nAggiornamento data di scadenza non eseguito.";
constexpr const char* kConfirmed = "1";
constexpr const char* kRecordedAgain =
    "\nLa modifica dello strumento %s interrotta in precedenza e' stata registrata sul server: il "
    "prossimo aggiornamento dello strumento la registrerebbe di nuovo.";
// How the server's record of a change cut short ends.
constexpr const char* kCompletedAfterInterruption = "COMPLETATA DOPO INTERRUZIONE";

}  // namespace

bool CalibExpiryUpdate::Fail(const std::string& error) {
    m_error = error;
    m_uses.log.WriteInstrLog("Err: " + platform::ReplaceAll(error, "\n", " "));
    return false;
}

LinkPort* CalibExpiryUpdate::TargetPort() const {
    return m_uses.host.ViewPresent() ? &m_uses.link.PortOf(LinkSide::Target) : nullptr;
}

std::optional<std::string> CalibExpiryUpdate::Ask(LinkPort& port, const std::string& command,
                                                  const std::string& replyKey, int attempts) {
    ExchangeRequest request = ExchangeRequest::Query(command, kReplyTimeoutMs, attempts);
    request.replyKey = replyKey;
    return m_uses.link.Direct().Exchange(port, request);
}

bool CalibExpiryUpdate::ReadFields(LinkPort& port, bool after) {
    for (FieldState& state : m_fields) {
        const std::string name = state.field->name;
        const auto reply = Ask(port, ProtectedQuery(name), ProtectedReplyKey(name));
        const auto value = reply ? ProtectedValue(*reply, name) : std::nullopt;
        if (!value)
            return false;
        (after ? state.after : state.inMeter) = *value;
    }
    return true;
}

bool CalibExpiryUpdate::ReadInstrument() {
    m_error.clear();
    m_fields.clear();
    for (const ProtectedField& field : ProtectedFields())
        m_fields.push_back(FieldState{&field, {}, {}, {}});
    LinkPort* port = TargetPort();
    if (!port || !port->IsOpen())
        return Fail(kUnreadable);
    using namespace command_code;
    // Each value only from a reply that carries its key: another query's answer is none.
    const auto identity = [this, port](int query, int answeredAs) -> std::optional<std::string> {
        const std::string key = IdentityReplyKey(answeredAs).value();
        const auto reply = Ask(*port, CommandText(query), key);
        return reply ? verification::IdentityValue(*reply, key) : std::nullopt;
    };
    const auto model = identity(kIdentificationProbe, kModelQuery);
    const auto serial = model ? identity(kSerialNumberQuery, kSerialNumberQuery) : std::nullopt;
    if (!serial || serial->empty())
        return Fail(kUnreadable);
    m_model = *model;
    m_serial = *serial;
    if (!ReadFields(*port, false))
        return Fail(kUnreadable);
    for (const FieldState& state : m_fields)
        m_uses.log.WriteInstrLog(
            platform::Format("Lettura %s: %s", state.field->name, state.inMeter.c_str()));
    return SettleInterruptedChange() && LookUpNewValues();
}

std::string CalibExpiryUpdate::JournalPath() const {
    return platform::JoinPath(m_uses.programDir, kExpiryJournalFile);
}

bool CalibExpiryUpdate::SettleInterruptedChange() {
    ExpiryJournal journal(JournalPath());
    std::optional<PendingChange> pending;
    if (!journal.Find(m_serial, pending))
        return Fail("ATTENZIONE:\nRegistro delle modifiche in corso illeggibile:\n" +
                    journal.Problem() + kNotDone);
    if (!pending)
        return true;
    // What the meter holds from the change is what it took before the run ended.
    std::string held;
    for (const JournalField& field : pending->fields) {
        for (const FieldState& state : m_fields) {
            if (field.name == state.field->name && field.after == state.inMeter)
                held += platform::Format("; %s %s -> %s", field.name.c_str(), field.before.c_str(),
                                         field.after.c_str());
        }
    }
    if (!held.empty()) {
        const std::string text =
            platform::Format("SN %s; TECNICO %s", m_serial.c_str(), pending->technician.c_str()) +
            held + "; " + kCompletedAfterInterruption;
        m_uses.log.WriteInstrLog("Modifica interrotta: " + text);
        // Kept until the server has it: the next run tries again.
        if (!m_uses.web.HttpLogUser(RecordLogName(), text))
            return Fail(platform::Format("ATTENZIONE:\nLa modifica dello strumento %s interrotta "
                                         "in precedenza non e' stata registrata sul server.",
                                         m_serial.c_str()) +
                        kNotDone);
    }
    if (!journal.Remove(m_serial)) {
        std::string error = "ATTENZIONE:\nRegistro delle modifiche in corso non aggiornabile:\n" +
                            journal.Problem();
        // Kept, the record just posted would be posted again by the next update.
        if (!held.empty())
            error += platform::Format(kRecordedAgain, m_serial.c_str());
        return Fail(error + kNotDone);
    }
    return true;
}

bool CalibExpiryUpdate::LookUpNewValues() {
    const auto setup = ReadSetupIni(platform::JoinPath(m_uses.programDir, kSetupIniFile));
    // A look-up that got no answer to go by ends the reading: a field kept or refused for
    // want of a date the server never gave would be an update that did not happen.
    auto serverFailure = [this](const char* certificate, const std::string& failure) {
        return Fail(platform::Format("ATTENZIONE:\nErrore del server: certificato di taratura %s "
                                     "%s non verificato:\n%s.",
                                     certificate, m_serial.c_str(), failure.c_str()) +
                    kNotDone);
    };
    auto answered = [&](const char* certificate) {
        if (m_uses.web.LastPost().kind == web::PostOutcome::Kind::Busy)
            return Fail(platform::Format(
                "ATTENZIONE:\nServer occupato: certificato di taratura %s %s non verificato.\n"
                "Riprovare piu' tardi.\nAggiornamento data di scadenza non eseguito.",
                certificate, m_serial.c_str()));
        if (const auto failure = web::PostFailure(m_uses.web.LastPost(), web::kCertDateKey))
            return serverFailure(certificate, *failure);
        return true;
    };
    // An answer that is neither a date nor the server's word for none is the server's fault,
    // not a missing certificate.
    auto notADate = [&](const char* certificate, const std::string& answer) {
        return serverFailure(certificate,
                             "il server ha risposto \"" + answer + "\", che non e' una data");
    };
    for (FieldState& state : m_fields) {
        switch (state.field->source) {
            case FieldSource::InstrumentCertificate: {
                const std::string answer = m_uses.web.HttpFindCertifDate(m_serial);
                if (!answered("dello strumento"))
                    return false;
                // Without the meter's own certificate there is nothing to update.
                if (platform::Trim(answer) == kCertificateNotFound)
                    return Fail(platform::Format(
                        "ATTENZIONE:\nCertificato di taratura dello strumento %s non trovato sul "
                        "server (%s).\nAggiornamento data di scadenza non eseguito.",
                        m_serial.c_str(), answer.c_str()));
                const auto date = CertificateDate(answer);
                if (!date)
                    return notADate("dello strumento", answer);
                state.fresh = *date;
                break;
            }
            case FieldSource::CalibratorCertificate: {
                const char* certificate = "del calibratore associato allo strumento";
                const std::string answer = m_uses.web.HttpFindCertifDateCalib(m_serial);
                if (!answered(certificate))
                    return false;
                // A meter without an associated calibrator keeps what it holds.
                if (platform::Trim(answer) == kCertificateNotFound)
                    break;
                const auto date = CertificateDate(answer);
                if (!date)
                    return notADate(certificate, answer);
                state.fresh = *date;
                break;
            }
            case FieldSource::SetupIni:
                if (const auto it = setup.find(state.field->setupKey); it != setup.end()) {
                    // Checked before anything is written: the meter takes the value as it is.
                    if (const auto problem = ValueProblem(*state.field, it->second))
                        return Fail(platform::Format(
                            "ATTENZIONE:\nValore di %s in setup.ini non valido: %s.\n"
                            "Aggiornamento data di scadenza non eseguito.",
                            state.field->setupKey, problem->c_str()));
                    state.fresh = it->second;
                }
                break;
        }
    }
    return true;
}

bool CalibExpiryUpdate::AnyChange() const {
    for (const FieldState& state : m_fields)
        if (state.Changes())
            return true;
    return false;
}

bool CalibExpiryUpdate::AnyWritten() const {
    for (const FieldState& state : m_fields)
        if (state.outcome == WriteOutcome::Written)
            return true;
    return false;
}

bool CalibExpiryUpdate::AnySent() const {
    for (const FieldState& state : m_fields)
        if (state.outcome != WriteOutcome::NotSent)
            return true;
    return false;
}

std::optional<std::string> CalibExpiryUpdate::WriteChangedFields(LinkPort& port) {
    for (FieldState& state : m_fields) {
        if (!state.Changes())
            continue;
        const std::string name = state.field->name;
        if (m_uses.unlockTarget() != kConfirmed)
            return "DUT: Sblocco scrittura dati protetti fallito.";
        state.outcome = WriteOutcome::Unconfirmed;
        // One attempt: a refused write has used its unlock up.
        const auto reply = Ask(port, ProtectedWrite(name, state.fresh), ProtectedReplyKey(name), 1);
        if (!reply || ProtectedValue(*reply, name) != state.fresh)
            return platform::Format("ATTENZIONE:\nScrittura di %s nello strumento fallita.",
                                    name.c_str());
        state.outcome = WriteOutcome::Written;
        m_uses.log.WriteInstrLog(platform::Format("Scrittura %s: %s -> %s", name.c_str(),
                                                  state.inMeter.c_str(), state.fresh.c_str()));
    }
    return std::nullopt;
}

bool CalibExpiryUpdate::WriteInstrument() {
    m_error.clear();
    m_leftForNextUpdate = false;
    for (FieldState& state : m_fields) {
        state.outcome = WriteOutcome::NotSent;
        state.after.clear();
    }
    LinkPort* port = TargetPort();
    if (!port || !port->IsOpen())
        return Fail("ATTENZIONE:\nPorta dello strumento da verificare chiusa.");
    ExpiryJournal journal(JournalPath());
    PendingChange change{m_serial, m_uses.technicianId, {}};
    for (const FieldState& state : m_fields)
        if (state.Changes())
            change.fields.push_back({state.field->name, state.inMeter, state.fresh});
    if (!journal.Keep(change))
        return Fail("ATTENZIONE:\nImpossibile registrare la modifica in corso:\n" +
                    journal.Problem() + kNotDone);
    std::optional<std::string> failure = WriteChangedFields(*port);

    // Read back also after a refusal, which may have come after the meter took the value (a
    // refusal and silence look alike here): what the meter holds is what gets recorded.
    const bool readBack = ReadFields(*port, true);
    if (!readBack) {
        if (!failure)
            failure = "ATTENZIONE:\nRilettura dei dati dello strumento fallita.";
    } else {
        for (FieldState& state : m_fields) {
            if (state.outcome == WriteOutcome::NotSent)
                continue;
            const bool acknowledged = state.outcome == WriteOutcome::Written;
            state.outcome =
                state.after == state.fresh ? WriteOutcome::Written : WriteOutcome::NotHeld;
            if (acknowledged && state.outcome != WriteOutcome::Written && !failure)
                failure = platform::Format("ATTENZIONE:\nLo strumento non ha memorizzato %s.",
                                           state.field->name);
        }
    }
    // A meter that was sent a write and could not be read back may hold any of it, acknowledged
    // or not (one busy with its own storage takes a write late): recorded now, an unanswered
    // write would be called unwritten. The next run reads what the meter holds and records
    // that. A meter known to hold nothing of the change leaves nothing to record.
    m_leftForNextUpdate = !readBack && AnySent();
    if (!m_leftForNextUpdate && !AnyWritten())
        journal.Remove(m_serial);
    if (failure)
        return Fail(*failure + WhatTheMeterHolds());
    return true;
}

std::string CalibExpiryUpdate::WhatTheMeterHolds() const {
    std::string written;
    std::string unconfirmed;
    std::string unwritten;
    for (const FieldState& state : m_fields) {
        if (!state.Changes())
            continue;
        std::string& list = state.outcome == WriteOutcome::Written       ? written
                            : state.outcome == WriteOutcome::Unconfirmed ? unconfirmed
                                                                         : unwritten;
        list += std::string("\n- ") + state.field->label;
    }
    if (written.empty() && unconfirmed.empty())
        return {};
    std::string text = "\n";
    if (!written.empty())
        text += "\nDati scritti nello strumento:" + written;
    if (!unconfirmed.empty())
        text += "\nDati non confermati (lo strumento potrebbe averli memorizzati):" + unconfirmed;
    if (!unwritten.empty())
        text += "\nDati non scritti:" + unwritten;
    return text;
}

std::string CalibExpiryUpdate::RecordLogName() const {
    return "calib_expiry_" + m_serial + ".txt";
}

std::string CalibExpiryUpdate::RecordText() const {
    std::string text =
        platform::Format("SN %s; TECNICO %s", m_serial.c_str(), m_uses.technicianId.c_str());
    bool incomplete = false;
    for (const FieldState& state : m_fields) {
        if (!state.Changes())
            continue;
        text += platform::Format("; %s %s -> %s", state.field->name, state.inMeter.c_str(),
                                 state.fresh.c_str());
        if (state.outcome != WriteOutcome::Written) {
            text += " NON SCRITTO";
            incomplete = true;
        }
    }
    if (incomplete)
        text += "; MODIFICA INCOMPLETA";
    return text;
}

bool CalibExpiryUpdate::RecordChange() {
    m_journalKept.clear();
    if (!m_uses.web.HttpLogUser(RecordLogName(), RecordText()))
        return false;
    ExpiryJournal journal(JournalPath());
    if (!journal.Remove(m_serial)) {
        m_journalKept = journal.Problem();
        m_uses.log.WriteInstrLog("Err: registro delle modifiche in corso non cancellato: " +
                                 m_journalKept);
    }
    return true;
}

}  // namespace maintenance
