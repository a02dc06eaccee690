#include "verification/meter_commands.h"

#include "link/command.h"
#include "link/command_codes.h"
#include "link/direct_exchange.h"
#include "link/link_port.h"
#include "link/protocol_bytes.h"
#include "platform/operator.h"
#include "platform/text.h"

namespace verification {

namespace {

constexpr const char* kFailed = "-1";

// The prompts that stand for the start and stop of a meter the bench cannot command.
std::string OperatorPrompt(const std::string& command) {
    if (command == CommandText(command_code::kRunAcquisition))
        return "Avviare la misura sullo strumento da verificare.\nPremere OK";
    if (command == CommandText(command_code::kStopAcquisition))
        return "Fermare la misura sullo strumento da verificare.\nPremere OK";
    return std::string();
}

}  // namespace

std::string SendMeterCommand(cipher::BenchState& bench, cipher::BenchExchangeHost& host,
                             cipher::Meter meter, const std::string& command,
                             const std::string& statusQuery, const std::string& expected,
                             unsigned waitMs) {
    if (meter == cipher::Meter::Target && !bench.targetRemoteControl) {
        if (const std::string prompt = OperatorPrompt(command); !prompt.empty())
            platform::AfxMessageBox(prompt);
        return "1";
    }
    if (!host.WindowsPresent())
        return kFailed;
    LinkPort* port = host.Port(meter);
    if (!port || !port->IsOpen() || (command.empty() && statusQuery.empty()))
        return kFailed;
    const auto ask = [&](const std::string& text) {
        ExchangeRequest request = ExchangeRequest::Query(text, waitMs, kCommandAttempts);
        request.mayGoOn = [&bench] { return !bench.abortRequested; };
        return host.Exchange(meter, request);
    };

    std::string reply;
    if (!command.empty()) {
        const auto answer = ask(command);
        if (!answer)
            return kFailed;
        reply = *answer;
    }
    if (!expected.empty() || command.empty()) {
        const auto status = ask(statusQuery);
        if (!status)
            return kFailed;
        if (expected.empty())
            return protocol::CleanReply(*status);
        return platform::Contains(*status, expected) ? "1" : "0";
    }
    return protocol::CleanReply(reply);
}

}  // namespace verification
