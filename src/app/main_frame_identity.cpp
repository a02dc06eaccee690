// The replies that identify the meter, and the setup values that do more than fill the
// records: the frame's own handlers of them, registered with the link's router beside the
// value table's family (SetupValueReplies), which stores every other query and acknowledges
// every setting.

#include "acquisition/data_set.h"
#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "app/main_frame.h"
#include "app/verification_workflow.h"
#include "link/command_codes.h"
#include "link/identity_replies.h"
#include "link/reply_router.h"
#include "link/setup_replies.h"
#include "link/state_replies.h"
#include "platform/text.h"

using namespace command_code;
using records::SetupBlock;

void CMainFrame::RegisterIdentityReplies(ReplyRouter& router) {
    router.Register(kModelQuery, [this](const CCommand&, const std::string& reply) {
        m_link.QueueFollowUps(::OnInstrModelReply(reply, Current(), Edited()));
        m_SetupBlock.SetField(SetupBlock::kModel, Current().m_strModel);
    });
    router.Register(kSerialNumberQuery, [this](const CCommand&, const std::string& reply) {
        m_setupValues.Store(kSerialNumberQuery, reply);
        const int op = Mode().PendingOp();
        if (op != kSetupOp && op != kNewSessionOp && !Mode().IsSchedulerMode())
            m_verification->ShowInstrInfoDlg();
        m_SetupBlock.SetField(SetupBlock::kPagingSize,
                              platform::Format("%.11d", TheApp().m_nPagingSize));
    });
    router.Register(kTimeQuery, [this](const CCommand&, const std::string& reply) {
        if (!m_setupValues.Store(kTimeQuery, reply))
            return;
        const auto clock =
            platform::DateTime::Parse(Current().m_strDate + " " + Current().m_strTime);
        m_dtInstrument = clock ? *clock : platform::DateTime();
    });
    router.Register(kOptionsQuery, [this](const CCommand&, const std::string& reply) {
        m_link.QueueFollowUps(::OnOptionsReply(reply, Current(), Edited()));
        m_SetupBlock.SetField(SetupBlock::kModel, Current().m_strModel);
    });
    router.Register(kExtendedRangeQuery, [this](const CCommand&, const std::string& reply) {
        m_setupValues.Store(kExtendedRangeQuery, reply);
        if (CKX9MonitorView* view = TheApp().m_pView)
            view->m_nExtendedRangeMark = 1;
    });
    router.Register(kClassQuery, [this](const CCommand&, const std::string& reply) {
        ::OnClassReply(reply, Current(), Edited());
    });

    router.Register(kAutoPowerOffQuery, [this](const CCommand&, const std::string& reply) {
        m_setupValues.Store(kAutoPowerOffQuery, reply);
        AppendInstrStatusText(reply);
    });
    router.Register(kInputGainQuery, [this](const CCommand&, const std::string& reply) {
        if (!m_setupValues.Store(kInputGainQuery, reply))
            return;
        if (CKX9MonitorView* view = TheApp().m_pView)
            view->m_nLevelScaleTop = acquisition::LevelScaleTop(Current().m_strInputGain,
                                                                Current().m_nExtendedRange != 0);
    });
    // The last reply of a whole setup read.
    router.Register(kDisplayContrastQuery, [this](const CCommand&, const std::string& reply) {
        m_setupValues.Store(kDisplayContrastQuery, reply);
        OnSetupInstrument();
    });
    router.Register(kEventTriggerQuery, [this](const CCommand&, const std::string& reply) {
        m_setupValues.Store(kEventTriggerQuery, reply);
        m_link.QueueFollowUps(EventTriggerQueries(Current().m_strEventTrigger));
    });
}
