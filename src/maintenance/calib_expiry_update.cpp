#include "maintenance/calib_expiry_update.h"

#include "link/direct_exchange.h"
#include "link/serial_wnd.h"
#include "platform/files.h"
#include "platform/text.h"
#include "verification/instrument_connection.h"
#include "web/web_client.h"

namespace maintenance {

namespace {

// Each plain query or write ends with its reply's ETX, within this.
constexpr unsigned kReplyTimeoutMs = 1000;
constexpr const char* kModelQuery = "SET:INS:?";
constexpr const char* kModelKey = "SET:INSTR_MODEL:";
constexpr const char* kSerialQuery = "SET:INSTR_N:?";
constexpr const char* kSerialKey = "SET:INSTR_NUMBER:";

constexpr const char* kUnreadable =
    "ATTENZIONE:\nLettura dei dati dello strumento fallita.\nAggiornamento data di scadenza non "
    "eseguito.";
// What a form post answers once the server stayed busy through all its retries.
constexpr const char* kServerBusy = "ERROR";
constexpr const char* kConfirmed = "1";

}  // namespace

bool CalibExpiryUpdate::Fail(const std::string& error) {
    m_error = error;
    m_host.WriteInstrLog("Err: " + platform::ReplaceAll(error, "\n", " "));
    return false;
}

std::optional<std::string> CalibExpiryUpdate::Ask(CSerialMFC& port, const std::string& command,
                                                  int attempts) {
    return m_host.LinkExchange().Exchange(
        port, ExchangeRequest::Query(command, kReplyTimeoutMs, attempts));
}

bool CalibExpiryUpdate::ReadFields(CSerialMFC& port, bool after) {
    for (FieldState& state : m_fields) {
        const std::string name = state.field->name;
        const auto reply = Ask(port, ProtectedQuery(name));
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
    CSerialMFC* port = m_host.TargetPort();
    if (!port || !port->IsOpen())
        return Fail(kUnreadable);
    const auto model = Ask(*port, kModelQuery);
    const auto serial = model ? Ask(*port, kSerialQuery) : std::nullopt;
    if (!model || !platform::Contains(*model, kModelKey) || !serial)
        return Fail(kUnreadable);
    m_model = verification::IdentityValue(*model, kModelKey);
    m_serial = verification::IdentityValue(*serial, kSerialKey);
    if (m_serial.empty() || !ReadFields(*port, false))
        return Fail(kUnreadable);
    for (const FieldState& state : m_fields)
        m_host.WriteInstrLog(
            platform::Format("Lettura %s: %s", state.field->name, state.inMeter.c_str()));
    return LookUpNewValues();
}

bool CalibExpiryUpdate::LookUpNewValues() {
    web::WebClient& web = m_host.Web();
    const auto setup = ReadSetupIni(platform::JoinPath(m_host.ProgramDir(), kSetupIniFile));
    auto busy = [this](const char* certificate) {
        return Fail(platform::Format(
            "ATTENZIONE:\nServer occupato: certificato di taratura %s %s non verificato.\n"
            "Riprovare piu' tardi.\nAggiornamento data di scadenza non eseguito.",
            certificate, m_serial.c_str()));
    };
    for (FieldState& state : m_fields) {
        switch (state.field->source) {
            case FieldSource::InstrumentCertificate: {
                const std::string answer = web.HttpFindCertifDate(m_serial);
                if (answer == kServerBusy)
                    return busy("dello strumento");
                const auto date = CertificateDate(answer);
                // Without the meter's own certificate there is nothing to update.
                if (!date)
                    return Fail(platform::Format(
                        "ATTENZIONE:\nCertificato di taratura dello strumento %s non trovato sul "
                        "server (%s).\nAggiornamento data di scadenza non eseguito.",
                        m_serial.c_str(), answer.c_str()));
                state.fresh = *date;
                break;
            }
            case FieldSource::CalibratorCertificate: {
                const std::string answer = web.HttpFindCertifDateCalib(m_serial);
                // Busy is no answer: the calibrator's date would silently stay old.
                if (answer == kServerBusy)
                    return busy("del calibratore associato allo strumento");
                // A meter without an associated calibrator keeps what it holds.
                state.fresh = CertificateDate(answer).value_or("");
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
        if (state.written)
            return true;
    return false;
}

std::optional<std::string> CalibExpiryUpdate::WriteChangedFields(CSerialMFC& port) {
    for (FieldState& state : m_fields) {
        if (!state.Changes())
            continue;
        const std::string name = state.field->name;
        if (m_host.UnlockTargetCryp() != kConfirmed)
            return "DUT: Sblocco scrittura dati protetti fallito.";
        // One attempt: a refused write has used its unlock up.
        const auto reply = Ask(port, ProtectedWrite(name, state.fresh), 1);
        if (!reply || ProtectedValue(*reply, name) != state.fresh)
            return platform::Format("ATTENZIONE:\nScrittura di %s nello strumento fallita.",
                                    name.c_str());
        state.written = true;
        m_host.WriteInstrLog(platform::Format("Scrittura %s: %s -> %s", name.c_str(),
                                              state.inMeter.c_str(), state.fresh.c_str()));
    }
    return std::nullopt;
}

bool CalibExpiryUpdate::WriteInstrument() {
    m_error.clear();
    for (FieldState& state : m_fields) {
        state.written = false;
        state.after.clear();
    }
    CSerialMFC* port = m_host.TargetPort();
    if (!port || !port->IsOpen())
        return Fail("ATTENZIONE:\nPorta dello strumento da verificare chiusa.");
    std::optional<std::string> failure = WriteChangedFields(*port);

    // Read back also after a refusal, which may have come after the meter took the value:
    // what the meter holds is what gets recorded, and without a read-back what it
    // acknowledged.
    if (!ReadFields(*port, true)) {
        if (!failure)
            failure = "ATTENZIONE:\nRilettura dei dati dello strumento fallita.";
    } else {
        for (FieldState& state : m_fields) {
            if (!state.Changes())
                continue;
            const bool acknowledged = state.written;
            state.written = state.after == state.fresh;
            if (acknowledged && !state.written && !failure)
                failure = platform::Format("ATTENZIONE:\nLo strumento non ha memorizzato %s.",
                                           state.field->name);
        }
    }
    if (failure)
        return Fail(*failure + WrittenAndUnwritten());
    return true;
}

std::string CalibExpiryUpdate::WrittenAndUnwritten() const {
    std::string written;
    std::string unwritten;
    for (const FieldState& state : m_fields) {
        if (state.Changes())
            (state.written ? written : unwritten) += std::string("\n- ") + state.field->label;
    }
    if (written.empty())
        return {};
    std::string text = "\n\nDati scritti nello strumento:" + written;
    if (!unwritten.empty())
        text += "\nDati non scritti:" + unwritten;
    return text;
}

std::string CalibExpiryUpdate::RecordLogName() const {
    return "calib_expiry_" + m_serial + ".txt";
}

std::string CalibExpiryUpdate::RecordText() const {
    std::string text =
        platform::Format("SN %s; TECNICO %s", m_serial.c_str(), m_host.TechnicianId().c_str());
    bool incomplete = false;
    for (const FieldState& state : m_fields) {
        if (!state.Changes())
            continue;
        text += platform::Format("; %s %s -> %s", state.field->name, state.inMeter.c_str(),
                                 state.fresh.c_str());
        if (!state.written) {
            text += " NON SCRITTO";
            incomplete = true;
        }
    }
    if (incomplete)
        text += "; MODIFICA INCOMPLETA";
    return text;
}

bool CalibExpiryUpdate::RecordChange() {
    return m_host.Web().HttpLogUser(RecordLogName(), RecordText()) != FALSE;
}

}  // namespace maintenance
