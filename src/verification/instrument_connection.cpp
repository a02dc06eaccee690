#include "verification/instrument_connection.h"

#include "link/command.h"
#include "link/command_codes.h"
#include "link/direct_exchange.h"
#include "link/identity_replies.h"
#include "link/port_record.h"
#include "link/protocol_bytes.h"
#include "link/serial_wnd.h"
#include "platform/operator.h"
#include "platform/text.h"

namespace verification {

namespace {

constexpr unsigned kMonitorOffMs = 500;
constexpr unsigned kReplyWaitMs = 1000;
constexpr int kQueryAttempts = 3;
constexpr int kPortQueueBytes = 2048;

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

// Opens the port afresh with the record's settings: a port left open by an earlier connect
// may be another COM port than the record names now.
bool OpenPort(platform::MessageTarget& owner, CSerialMFC& port, const PortRecord& record) {
    if (port.IsOpen())
        port.Close();
    const std::string device = record.m_nComPort < 10
                                   ? platform::Format("COM%d", record.m_nComPort)
                                   : platform::Format("\\\\.\\COM%d", record.m_nComPort);
    if (port.Open(device, &owner, 0, 0, kPortQueueBytes, kPortQueueBytes) != ERROR_SUCCESS)
        return false;
    const int baud = record.m_nBaudRate > 0 ? record.m_nBaudRate : kPortIniBaudRate;
    if (port.Setup(baud, 8, CSerial::NoParity, CSerial::OneStopBit) != ERROR_SUCCESS) {
        port.Close();
        return false;
    }
    return true;
}

class Identifier {
public:
    Identifier(DirectExchange& exchange, CSerialMFC& port) : m_exchange(exchange), m_port(port) {}

    // Stops a monitoring meter's stream of records before asking it anything: what it still
    // sends meanwhile goes with the purge before the first query.
    void Quiet() {
        ExchangeRequest request;
        request.text = CommandLine(command_code::kMonitorOff);
        request.waits = ExchangeRequest::Waits::Fixed;
        request.waitMs = kMonitorOffMs;
        m_exchange.Exchange(m_port, request);
    }

    // The value the meter gave; nothing when it gave no usable reply, or (keyRequired) a reply
    // that is not the query's.
    std::optional<std::string> Ask(const IdentityQuery& query, bool keyRequired = false) {
        const std::string key = IdentityReplyKey(query.answeredAs);
        const auto reply = m_exchange.Exchange(
            m_port,
            ExchangeRequest::Query(CommandText(query.command), kReplyWaitMs, kQueryAttempts));
        if (!reply || (keyRequired && !platform::Contains(*reply, key)))
            return std::nullopt;
        return IdentityValue(*reply, key);
    }

private:
    DirectExchange& m_exchange;
    CSerialMFC& m_port;
};

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

std::string IdentityValue(const std::string& reply, const std::string& key) {
    const int at = platform::Find(reply, key);
    const std::string value =
        at < 0 ? reply : platform::Mid(reply, at + static_cast<int>(key.size()));
    return protocol::CleanReply(value);
}

BOOL ConnectInstrumentUnderTest(BenchHost& host, const BenchTools& tools,
                                BenchInstruments& instruments) {
    CSerialMFC* port = host.TargetPort();
    if (!port || !OpenPort(tools.portOwner, *port, host.TargetPortRecord()))
        return FALSE;
    Identifier identifier(tools.exchange, *port);
    identifier.Quiet();
    const auto model = identifier.Ask(kModel, true);
    if (!model) {
        port->Close();
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
    CSerialMFC* port = host.RefPort();
    if (!port || !OpenPort(tools.portOwner, *port, host.RefPortRecord()))
        return FALSE;
    Identifier identifier(tools.exchange, *port);
    identifier.Quiet();
    const auto model = identifier.Ask(kModel, true);
    const auto firmware = model ? identifier.Ask(kFirmware) : std::nullopt;
    const auto serial = firmware ? identifier.Ask(kSerial) : std::nullopt;
    if (!serial || serial->empty()) {
        port->Close();
        return FALSE;
    }
    if (const std::string refusal = Refusal(*model, *firmware); !refusal.empty()) {
        platform::AfxMessageBox(refusal, MB_ICONSTOP);
        port->Close();
        return FALSE;
    }
    instruments.refSerial = *serial;
    return TRUE;
}

}  // namespace verification
