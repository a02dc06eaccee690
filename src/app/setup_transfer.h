#pragma once
// The meter's setup between the program and the meter: the replies that identify the meter
// and fill the setup records (the value table's family, and the handlers of the replies that do
// more: follow-up queries, the setup block, the verification data sheet, the view's range
// marks), the "Setup Instrument" sheet at the end of a whole read, and the send of the values
// the operator changed there. It registers its replies with the link's router, and what a
// refused class query and a read cut short by a time-out mean with the link's host, when it is
// built; it is the sheet's host itself.

#include <string>

#include "link/setup_value_replies.h"
#include "platform/date_time.h"
#include "setup/setup_host.h"

class CCommand;
class CInstrStatus;
class FrameLinkHost;
class FrameTimers;
class FrameUi;
class LinkSession;
class VerificationWorkflow;
class ViewLookup;

namespace records {
class SetupBlock;
}

class SetupTransfer : private setup::SetupHost {
public:
    // What the transfer uses, none of it owned.
    struct Uses {
        LinkSession& link;
        FrameLinkHost& linkHost;
        // A read abandoned during a download stops the download's progress (timer 4).
        FrameTimers& timers;
        // The setup wait box and the instrument status text.
        FrameUi& ui;
        // The setup as last read from the meter, and as the operator wants it.
        CInstrStatus& current;
        CInstrStatus& edited;
        // The program's setup block, which the replies fill.
        records::SetupBlock& setupBlock;
        // The verification data sheet, shown when the serial number comes outside a read.
        VerificationWorkflow& verification;
        // The view whose range marks the replies set and which names the measured parameters.
        const ViewLookup& views;
        // The samples of a record page, which the setup block tells.
        const int& pagingSize;
        // The folder of the custom settings.
        const std::string& programFolder;
    };

    explicit SetupTransfer(const Uses& uses);
    SetupTransfer(const SetupTransfer&) = delete;
    SetupTransfer& operator=(const SetupTransfer&) = delete;

    // Queues the setting command of every value the operator changed; the send tick says when
    // the last one went.
    void QueueSetupCommands();
    // The meter's clock as its last time reply told it; not valid when that reply was no date.
    const platform::DateTime& InstrumentClock() const { return m_instrumentClock; }

private:
    void RegisterReplies(ReplyRouter& router);
    // The last reply of a whole read: the sheet, when the read was the operator's.
    void OnSetupRead();
    // A command of a whole read went unanswered: the read is abandoned. False when a download
    // runs too, which its own time-out ends next.
    bool AbortRead(const CCommand& command);
    void AppendInstrStatusText(const std::string& text);

    // setup::SetupHost
    CInstrStatus& Current() override;
    CInstrStatus& Edited() override;
    std::string ParameterName(const std::string& stored) const override;
    std::string ProgramDir() const override;
    bool StopAcquisition() override;
    void SendSetup() override;

    Uses m_uses;
    // The value table's replies, which fill the setup records and the block.
    SetupValueReplies m_values;
    platform::DateTime m_instrumentClock;
};
