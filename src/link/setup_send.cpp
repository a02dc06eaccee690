#include "link/setup_send.h"

#include <initializer_list>

#include "link/command_table.h"
#include "link/model_rules.h"
#include "link/setup_value_table.h"
#include "platform/text.h"

namespace {

using namespace model_rules;

class SetupSender {
public:
    SetupSender(const CInstrStatus& current, CInstrStatus& edited, const SendCommandFn& send)
        : m_current(current), m_edited(edited), m_send(send) {}

    void Send(std::initializer_list<int> setCodes) {
        for (int code : setCodes)
            Send(code);
    }

    void Send(int setCode) {
        const SetupValueRow* row = FindSetupValueBySetCode(setCode);
        const auto command = FindCommandRow(setCode);
        if (!row || !row->text || !command)
            return;
        std::string& edited = m_edited.*row->text;
        const std::string& current = m_current.*row->text;
        const bool skipEmpty = row->clearedAfterSend && edited.empty();
        if (!skipEmpty && Changed(row->change, current, edited)) {
            if (command->argument == CommandArgument::First)
                m_send(setCode, edited, row->name, -1, FALSE);
            else
                m_send(setCode, row->name, edited, -1, FALSE);
        }
        if (row->clearedAfterSend)
            edited.clear();
    }

    // Stored octave and third-octave spectra of reports or events, by what the model stores.
    void SendBands(const std::string& model, int octaves, int thirdOctaves) {
        if (ReportsStoreThirdOctaves(model))
            Send({octaves, thirdOctaves});
        else if (ReportsStoreOctavesOnly(model))
            Send(octaves);
    }

    void SendTrigger(bool externalPolarity) {
        const std::string& trigger = m_edited.m_strEventTrigger;
        if (trigger == "LEV")
            Send({184, 188, 190, 192, 194});
        else if (trigger == "MAN")
            Send(194);
        else if (trigger == "EXT" && externalPolarity)
            Send(186);
    }

private:
    static bool Changed(ChangeTest test, const std::string& current, const std::string& edited) {
        if (test == ChangeTest::CurrentContains)
            return !platform::Contains(current, edited);
        return current != edited;
    }

    const CInstrStatus& m_current;
    CInstrStatus& m_edited;
    const SendCommandFn& m_send;
};

}  // namespace

void QueueSetupCommands(CInstrStatus& current, CInstrStatus& edited, const SendCommandFn& send) {
    current.m_nDateTimeFlag = 0;
    edited.m_nDateTimeFlag = 0;
    const std::string model = current.m_strModel;
    SetupSender s(current, edited, send);

    s.Send({9, 10, 50, 54, 57, 58, 59, 60, 61, 62, 63, 64, 65, 66, 67, 68, 69});
    if (HasSpectrum(model))
        s.Send(73);
    s.Send({82, 89, 91, 84, 53, 130, 128});

    if (HasReports(model)) {
        s.Send({207, 200, 144, 146, 148, 150, 152, 154, 156, 162});
        s.SendBands(model, 158, 160);
        s.Send({164, 166, 168, 170, 172, 182});
        s.SendTrigger(false);
        s.Send({174, 180});
        s.SendBands(model, 176, 178);
        s.Send(196);
    }

    if (!IsQS4160(model))
        return;
    s.Send({51, 52, 55, 56, 70, 71, 72, 74, 75, 76});
    if (edited.m_strAutoStore == "OFF") {
        s.Send({78, 79, 80, 81});
        if (IsQS4160WithReports(model)) {
            if (HasShortLeqAndFft(model))
                s.Send({202, 204, 198});
            s.Send({200, 144, 146, 148, 150, 152, 154, 156, 158, 160, 162,
                    164, 166, 168, 170, 172, 174, 176, 178, 180, 182});
            s.SendTrigger(true);
            s.Send(196);
        }
    }
    s.Send(93);
}
