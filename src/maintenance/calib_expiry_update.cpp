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
    for (FieldState& state : m_fields) {
        switch (state.field->source) {
            case FieldSource::InstrumentCertificate: {
                const std::string answer = web.HttpFindCertifDate(m_serial);
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
            case FieldSource::CalibratorCertificate:
                // A meter without an associated calibrator keeps what it holds.
                state.fresh = CertificateDate(web.HttpFindCertifDateCalib(m_serial)).value_or("");
                break;
            case FieldSource::SetupIni:
                if (const auto it = setup.find(state.field->setupKey); it != setup.end())
                    state.fresh = it->second;
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

bool CalibExpiryUpdate::WriteInstrument() {
    m_error.clear();
    CSerialMFC* port = m_host.TargetPort();
    if (!port || !port->IsOpen())
        return Fail("ATTENZIONE:\nPorta dello strumento da verificare chiusa.");
    for (const FieldState& state : m_fields) {
        if (!state.Changes())
            continue;
        const std::string name = state.field->name;
        if (m_host.UnlockTargetCryp() != "1")
            return Fail("DUT: Sblocco scrittura dati protetti fallito.");
        // One attempt: a refused write has used its unlock up.
        const auto reply = Ask(*port, ProtectedWrite(name, state.fresh), 1);
        if (!reply || ProtectedValue(*reply, name) != state.fresh)
            return Fail(platform::Format("ATTENZIONE:\nScrittura di %s nello strumento fallita.",
                                         name.c_str()));
        m_host.WriteInstrLog(platform::Format("Scrittura %s: %s -> %s", name.c_str(),
                                              state.inMeter.c_str(), state.fresh.c_str()));
    }
    if (!ReadFields(*port, true))
        return Fail("ATTENZIONE:\nRilettura dei dati dello strumento fallita.");
    for (const FieldState& state : m_fields) {
        if (state.Changes() && state.after != state.fresh)
            return Fail(platform::Format("ATTENZIONE:\nLo strumento non ha memorizzato %s.",
                                         state.field->name));
    }
    return true;
}

std::string CalibExpiryUpdate::RecordLogName() const {
    return "calib_expiry_" + m_serial + ".txt";
}

std::string CalibExpiryUpdate::RecordText() const {
    std::string text =
        platform::Format("SN %s; TECNICO %s", m_serial.c_str(), m_host.TechnicianId().c_str());
    for (const FieldState& state : m_fields) {
        if (state.Changes())
            text += platform::Format("; %s %s -> %s", state.field->name, state.inMeter.c_str(),
                                     state.fresh.c_str());
    }
    return text;
}

bool CalibExpiryUpdate::RecordChange() {
    return m_host.Web().HttpLogUser(RecordLogName(), RecordText()) != FALSE;
}

}  // namespace maintenance
