#include "app/setup_transfer.h"

#include "acquisition/data_set.h"
#include "app/frame_link_host.h"
#include "app/frame_timers.h"
#include "app/frame_ui.h"
#include "app/kx9monitor_view.h"
#include "app/verification_workflow.h"
#include "app/view_lookup.h"
#include "link/command_codes.h"
#include "link/identity_replies.h"
#include "link/instr_status.h"
#include "link/link_session.h"
#include "link/reply_router.h"
#include "link/setup_replies.h"
#include "link/setup_send.h"
#include "link/state_replies.h"
#include "platform/operator.h"
#include "platform/text.h"
#include "records/record_layout.h"
#include "setup/setup_instrument.h"

using namespace command_code;
using records::SetupBlock;

SetupTransfer::SetupTransfer(const Uses& uses)
    : m_uses(uses), m_values(uses.current, uses.edited, [this](int field, const std::string& text) {
          m_uses.setupBlock.SetField(field, text);
      }) {
    RegisterReplies(m_uses.link.Router());
    // Meters that do not know their class refuse the query; that is an answer too.
    m_uses.linkHost.AddGivenUpTaker([this](const CCommand& command, bool) {
        if (command.GetCode() != kClassQuery)
            return false;
        m_uses.current.m_strClass = "-1";
        m_uses.edited.m_strClass = "-1";
        return true;
    });
    m_uses.linkHost.AddTimeOutTaker([this](const CCommand& command) {
        return m_uses.link.Mode().PendingOp() == kSetupOp && AbortRead(command);
    });
}

void SetupTransfer::RegisterReplies(ReplyRouter& router) {
    // The value table's family first: the handlers below take their codes over.
    m_values.Register(router);
    router.Register(kModelQuery, [this](const CCommand&, const std::string& reply) {
        m_uses.link.QueueFollowUps(::OnInstrModelReply(reply, m_uses.current, m_uses.edited));
        m_uses.setupBlock.SetField(SetupBlock::kModel, m_uses.current.m_strModel);
    });
    router.Register(kSerialNumberQuery, [this](const CCommand&, const std::string& reply) {
        m_values.Store(kSerialNumberQuery, reply);
        const MeterMode& mode = m_uses.link.Mode();
        const int op = mode.PendingOp();
        if (op != kSetupOp && op != kNewSessionOp && !mode.IsSchedulerMode())
            m_uses.verification.ShowInstrInfoDlg();
        m_uses.setupBlock.SetField(SetupBlock::kPagingSize,
                                   platform::Format("%.11d", m_uses.pagingSize));
    });
    router.Register(kTimeQuery, [this](const CCommand&, const std::string& reply) {
        if (!m_values.Store(kTimeQuery, reply))
            return;
        const auto clock =
            platform::DateTime::Parse(m_uses.current.m_strDate + " " + m_uses.current.m_strTime);
        m_instrumentClock = clock ? *clock : platform::DateTime();
    });
    router.Register(kOptionsQuery, [this](const CCommand&, const std::string& reply) {
        m_uses.link.QueueFollowUps(::OnOptionsReply(reply, m_uses.current, m_uses.edited));
        m_uses.setupBlock.SetField(SetupBlock::kModel, m_uses.current.m_strModel);
    });
    router.Register(kExtendedRangeQuery, [this](const CCommand&, const std::string& reply) {
        m_values.Store(kExtendedRangeQuery, reply);
        if (CKX9MonitorView* view = m_uses.views.Current())
            view->m_nExtendedRangeMark = 1;
    });
    router.Register(kClassQuery, [this](const CCommand&, const std::string& reply) {
        ::OnClassReply(reply, m_uses.current, m_uses.edited);
    });

    router.Register(kAutoPowerOffQuery, [this](const CCommand&, const std::string& reply) {
        m_values.Store(kAutoPowerOffQuery, reply);
        AppendInstrStatusText(reply);
    });
    router.Register(kInputGainQuery, [this](const CCommand&, const std::string& reply) {
        if (!m_values.Store(kInputGainQuery, reply))
            return;
        if (CKX9MonitorView* view = m_uses.views.Current())
            view->m_nLevelScaleTop = acquisition::LevelScaleTop(
                m_uses.current.m_strInputGain, m_uses.current.m_nExtendedRange != 0);
    });
    // The last reply of a whole setup read.
    router.Register(kDisplayContrastQuery, [this](const CCommand&, const std::string& reply) {
        m_values.Store(kDisplayContrastQuery, reply);
        OnSetupRead();
    });
    router.Register(kEventTriggerQuery, [this](const CCommand&, const std::string& reply) {
        m_values.Store(kEventTriggerQuery, reply);
        m_uses.link.QueueFollowUps(EventTriggerQueries(m_uses.current.m_strEventTrigger));
    });
}

void SetupTransfer::AppendInstrStatusText(const std::string& text) {
    m_uses.ui.SetInstrStatusText(m_uses.ui.GetInstrStatusText() + text);
}

void SetupTransfer::QueueSetupCommands() {
    ::QueueSetupCommands(m_uses.current, m_uses.edited, m_uses.link.Sender());
    m_uses.link.Mode().OnSetupQueued();
    // When nothing changed the queue is empty already: the tick says so at once.
    m_uses.link.WakeSendTick();
}

void SetupTransfer::OnSetupRead() {
    if (m_uses.ui.IsSetupWaitBoxShown())
        m_uses.ui.EndSetupWaitBox();
    MeterMode& mode = m_uses.link.Mode();
    if (mode.PendingOp() != kSetupOp)
        return;
    m_uses.link.SetReadyToSend(TRUE);
    // The read is over whatever the operator does; a send sets the operation again.
    mode.EndPendingOp();
    setup::RunSetupInstrument(*this, mode);
}

bool SetupTransfer::AbortRead(const CCommand& command) {
    FrameUi& ui = m_uses.ui;
    const std::string timeoutText =
        platform::Format("Command %d : Timeout Expired", command.GetCode());
    // The read is over before the operator hears of it: a reply that comes while the box is
    // up finds no read to end, and the wait box it would destroy is gone already.
    if (ui.IsSetupWaitBoxShown())
        ui.EndSetupWaitBox();
    MeterMode& mode = m_uses.link.Mode();
    m_uses.link.DeleteAllCommands();
    mode.EndPendingOp();
    m_uses.link.SetReadyToSend(TRUE);
    platform::AfxMessageBox("Comunication error: setup abort", MB_ICONEXCLAMATION);
    if (mode.IsDownloading())
        m_uses.timers.Kill(FrameTimers::kDownloadProgress);
    platform::AfxMessageBox(timeoutText);
    return !mode.IsDownloading();
}

CInstrStatus& SetupTransfer::Current() {
    return m_uses.current;
}

CInstrStatus& SetupTransfer::Edited() {
    return m_uses.edited;
}

std::string SetupTransfer::ParameterName(const std::string& stored) const {
    const CKX9MonitorView* view = m_uses.views.Current();
    return view ? view->GetParameterName(stored) : stored;
}

std::string SetupTransfer::ProgramDir() const {
    return m_uses.programFolder;
}

bool SetupTransfer::StopAcquisition() {
    return m_uses.link.ConfirmAcquisitionStop();
}

void SetupTransfer::SendSetup() {
    m_uses.link.Mode().BeginSetupTransfer();
    QueueSetupCommands();
    m_uses.ui.ShowSetupWaitBox("Sending Setup parameters to instrument...\r\nPlease wait.");
}
