#include "verification/instrument_connection.h"

#include "link/command.h"
#include "link/command_codes.h"
#include "link/direct_exchange.h"
#include "link/identity_replies.h"
#include "link/link_session.h"
#include "link/link_side.h"
#include "link/port_record.h"
#include "link/protocol_bytes.h"
#include "link/serial_line_settings.h"
#include "platform/operator.h"
#include "platform/qt_text.h"
#include "platform/text.h"

namespace verification {

namespace {

constexpr unsigned kMonitorOffMs = 500;
constexpr unsigned kReplyWaitMs = 1000;
constexpr int kQueryAttempts = 3;

// A query (command_code) and the identity query whose reply key its reply carries.
struct IdentityQuery {
    int command;
    int answeredAs;
};
constexpr IdentityQuery kModel{command_code::kIdentificationProbe, command_code::kModelQuery};
constexpr IdentityQuery kFirmware{command_code::kFirmwareQuery, command_code::kFirmwareQuery};
constexpr IdentityQuery kSerial{command_code::kSerialNumberQuery, command_code::kSerialNumberQuery};
constexpr IdentityQuery kMicModel{command_code::kMicModelQuery, command_code::kMicModelQuery};
constexpr IdentityQuery kMicSerial{command_code::kMicNumberQuery, command_code::kMicNumberQuery};

// The meter's port, opened afresh with the settings of its record: a port left open by an
// earlier connect may be another COM port than the record names now. Nothing when it did not
// open.
LinkPort* OpenPort(BenchHost& host, const BenchTools& tools, LinkSide side) {
    const PortRecord& record = side == LinkSide::Reference ? tools.refRecord : tools.targetRecord;
    if (!host.ViewPresent() || tools.link.OpenPort(side, PortSettings::Instrument(record)) != 0)
        return nullptr;
    return &tools.link.PortOf(side);
}

class Identifier {
public:
    Identifier(DirectExchange& exchange, LinkPort& port) : m_exchange(exchange), m_port(port) {}

    // Stops a monitoring meter's stream of records before asking it anything: what it still
    // sends meanwhile goes with the purge before the first query.
    void Quiet() {
        ExchangeRequest request;
        request.text = CommandLine(command_code::kMonitorOff);
        request.waits = ExchangeRequest::Waits::Fixed;
        request.waitMs = kMonitorOffMs;
        m_exchange.Exchange(m_port, request);
    }

    // The value the meter gave; nothing when it gave no usable reply, or a reply that is not
    // the query's.
    std::optional<std::string> Ask(const IdentityQuery& query) {
        const std::string key = IdentityReplyKey(query.answeredAs).value();
        ExchangeRequest request =
            ExchangeRequest::Query(CommandText(query.command), kReplyWaitMs, kQueryAttempts);
        request.replyKey = key;
        const auto reply = m_exchange.Exchange(m_port, request);
        if (!reply)
            return std::nullopt;
        return IdentityValue(*reply, key);
    }

private:
    DirectExchange& m_exchange;
    LinkPort& m_port;
};

// The start of a setting's value as a message may quote it: printable characters only, and no
// more than a glance needs; "..." where the value goes on.
std::string ShortQuote(const std::string& value) {
    constexpr size_t kMaxQuoted = 16;
    size_t end = 0;
    while (end < value.size() && end < kMaxQuoted && value[end] >= 0x20 && value[end] <= 0x7E)
        ++end;
    return "\"" + value.substr(0, end) + (end < value.size() ? "..." : "") + "\"";
}

// Why the meter cannot serve the bench; empty when it can.
std::string Refusal(const std::string& model, const std::string& firmware) {
    if (model != kBenchModel)
        return "ATTENZIONE:\nModello strumento non supportato: " + model +
               "\nE' richiesto uno strumento " + kBenchModel + ".";
    if (firmware.empty())
        return "ATTENZIONE:\nVersione firmware dello strumento non riconosciuta.";
    return std::string();
}

}  // namespace

LinkPort* BenchPort(BenchHost& host, const BenchTools& tools, LinkSide side) {
    return host.ViewPresent() ? &tools.link.PortOf(side) : nullptr;
}

std::optional<std::string> IdentityValue(const std::string& reply, const std::string& key) {
    const int at = platform::Find(reply, key);
    if (at < 0)
        return std::nullopt;
    return protocol::CleanReply(platform::Mid(reply, at + static_cast<int>(key.size())));
}

std::string TargetSilentText(const BenchTools& tools) {
    const int com = tools.targetRecord.m_nComPort;
    const LinkPort& port = tools.link.PortOf(LinkSide::Target);
    // The device the open tried, not one the number would name now.
    const std::string device = platform::SystemNameToText(port.LastOpenDevice());
    std::string cause;
    switch (port.LastOpenFailure()) {
        case PortOpenFailure::None:
            return kTargetSilent;
        case PortOpenFailure::NoPort: {
            const std::string& text = tools.targetRecord.m_strComText;
            cause =
                "L'impostazione TARGET_INSTR_COM di port.ini non contiene un numero di porta "
                "utilizzabile" +
                (text.empty() ? std::string(".") : " (" + ShortQuote(text) + ").");
            break;
        }
        case PortOpenFailure::InUse:
            cause = platform::Format("La porta COM%d e' in uso da un altro programma.", com);
            break;
        case PortOpenFailure::NoPermission:
            cause = platform::Format(
                "L'utente non ha i permessi sul dispositivo %s della porta COM%d (di solito "
                "va aggiunto al gruppo dialout).",
                device.c_str(), com);
            break;
        case PortOpenFailure::Missing:
            cause = platform::Format("Il dispositivo %s della porta COM%d non esiste.",
                                     device.c_str(), com);
            break;
        case PortOpenFailure::Other:
            cause = platform::Format("La porta COM%d (%s) non puo' essere aperta.", com,
                                     device.c_str());
            break;
    }
    return std::string(kTargetSilent) + "\n" + cause;
}

BOOL ConnectInstrumentUnderTest(BenchHost& host, const BenchTools& tools,
                                BenchInstruments& instruments) {
    LinkPort* port = OpenPort(host, tools, LinkSide::Target);
    if (!port)
        return FALSE;
    Identifier identifier(tools.link.Direct(), *port);
    identifier.Quiet();
    const auto model = identifier.Ask(kModel);
    if (!model) {
        tools.link.ClosePort(LinkSide::Target);
        return FALSE;
    }
    InstrumentIdentity identity;
    identity.model = *model;
    identity.firmware = identifier.Ask(kFirmware).value_or(std::string());
    identity.serial = identifier.Ask(kSerial).value_or(std::string());
    identity.micModel = identifier.Ask(kMicModel).value_or(std::string());
    identity.micSerial = identifier.Ask(kMicSerial).value_or(std::string());

    std::string refusal = Refusal(identity.model, identity.firmware);
    if (refusal.empty() && identity.serial.empty())
        refusal = "ATTENZIONE:\nNumero di serie dello strumento da verificare non letto.";
    if (!refusal.empty()) {
        platform::AfxMessageBox(refusal, MB_ICONSTOP);
        identity = InstrumentIdentity{};
    }
    instruments.target = identity;
    return TRUE;
}

BOOL ConnectReferenceInstrument(BenchHost& host, const BenchTools& tools,
                                BenchInstruments& instruments) {
    LinkPort* port = OpenPort(host, tools, LinkSide::Reference);
    if (!port)
        return FALSE;
    Identifier identifier(tools.link.Direct(), *port);
    identifier.Quiet();
    const auto model = identifier.Ask(kModel);
    const auto firmware = model ? identifier.Ask(kFirmware) : std::nullopt;
    const auto serial = firmware ? identifier.Ask(kSerial) : std::nullopt;
    if (!serial || serial->empty()) {
        tools.link.ClosePort(LinkSide::Reference);
        return FALSE;
    }
    if (const std::string refusal = Refusal(*model, *firmware); !refusal.empty()) {
        platform::AfxMessageBox(refusal, MB_ICONSTOP);
        tools.link.ClosePort(LinkSide::Reference);
        return FALSE;
    }
    instruments.refSerial = *serial;
    return TRUE;
}

}  // namespace verification
