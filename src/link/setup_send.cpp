#include "link/setup_send.h"

#include "link/command_table.h"
#include "link/setup_value_table.h"
#include "platform/text.h"

namespace {

bool Changed(ChangeTest test, const std::string& current, const std::string& edited) {
    if (test == ChangeTest::CurrentContains)
        return !platform::Contains(current, edited);
    return current != edited;
}

void SendIfChanged(const OrderStep& step, const CInstrStatus& current, CInstrStatus& edited,
                   const SendCommandFn& send) {
    const SetupValueRow& row = *step.row;
    const auto command = FindCommandRow(step.code);
    if (!row.text || !command)
        return;
    std::string& text = edited.*row.text;
    const bool skipEmpty = row.clearedAfterSend && text.empty();
    if (!skipEmpty && Changed(row.change, current.*row.text, text)) {
        if (command->argument == CommandArgument::First)
            send(step.code, text, row.name, -1, FALSE);
        else
            send(step.code, row.name, text, -1, FALSE);
    }
    if (row.clearedAfterSend)
        text.clear();
}

}  // namespace

void QueueSetupCommands(CInstrStatus& current, CInstrStatus& edited, const SendCommandFn& send) {
    current.m_nDateTimeFlag = 0;
    edited.m_nDateTimeFlag = 0;
    for (const OrderStep& step : SetupOrderSteps(SetupOrder::Send, current.m_strModel, &edited))
        SendIfChanged(step, current, edited, send);
}
