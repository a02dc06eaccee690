// What a good reply means, by the code of the command it answers. Query replies fill both
// setup records (and the setup block) through the value table; acknowledgements make the
// meter's record take the edited value; the identity, state, recording and download replies
// have handlers of their own.

#include "acquisition/data_set.h"
#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "app/main_frame.h"
#include "link/command_codes.h"
#include "link/identity_replies.h"
#include "link/setup_replies.h"
#include "link/setup_value_table.h"
#include "link/state_replies.h"
#include "platform/operator.h"
#include "platform/text.h"

using namespace command_code;

namespace {

using acquisition::SetupBlock;
constexpr int kFactoryStep = 11;
constexpr int kElectricCalStep = 8;

}  // namespace

void CMainFrame::DispatchReply(const CCommand& command, const std::string& reply) {
    const int code = command.GetCode();
    switch (code) {
        case kModelQuery:
        case kSerialNumberQuery:
        case kFirmwareQuery:
        case kMicModelQuery:
        case kMicTypeQuery:
        case kMicNumberQuery:
        case kTimeQuery:
        case kOptionsQuery:
        case kExtendedRangeQuery:
        case kClassQuery:
            DispatchIdentityReply(code, reply);
            return;
        case kAutoPowerOffQuery:
            StoreSetupValue(code, reply);
            AppendInstrStatusText(reply);
            return;
        case kInputGainQuery:
            if (StoreSetupValue(code, reply))
                OnInputGainValue(Current().m_strInputGain);
            return;
        case kDisplayContrastQuery:
            StoreSetupValue(code, reply);
            OnSetupInstrument();  // the last reply of a whole-setup read
            return;
        case kEventTriggerQuery:
            StoreSetupValue(code, reply);
            QueueCommands(EventTriggerQueries(Current().m_strEventTrigger));
            return;
        case kAcquisitionQuery:
        case kDataLogKey:
        case kStopDataLogging:
        case kMonitorQuery:
        case kRunAcquisitionSlow:
        case kDisplayQuery:
        case kStopAcquisition:
        case kRunAcquisition:
        case kRecordingQuery:
            DispatchStateReply(code, reply);
            return;
        case kRecordFileStart:
            StartRecordFile(reply);
            return;
        case kDumpOn:
            OnDumpOnReply(reply);
            return;
        case kDumpClear:
            Warn("Clear memory successfull.", MB_ICONINFORMATION);
            return;
        case kDumpOff:
            OnDumpOffReply();
            return;
        case kPrintValueKey:
        case kGainQuery:
        case kElectricCalQuery:
        case kMicCalPrintValueKey:
        case kProtectionCodeQuery:
        case kFactoryCommand:
        case kElectricCalStepQuery:
            DispatchCalibrationReply(command, reply);
            return;
        default:
            break;
    }
    // Every other query and setting of the value table. The date and time settings have
    // nothing to acknowledge: their edited texts are emptied once sent.
    if (FindSetupValueByQuery(code))
        StoreSetupValue(code, reply);
    else if (FindSetupValueBySetCode(code))
        AcknowledgeSetting(code);
}

void CMainFrame::DispatchIdentityReply(int code, const std::string& reply) {
    switch (code) {
        case kModelQuery:
            OnInstrModelReply(reply);
            m_SetupBlock.SetField(SetupBlock::kModel, Current().m_strModel);
            break;
        case kSerialNumberQuery:
            StoreSetupValue(code, reply);
            if (m_nPendingOp != kSetupOp && m_nPendingOp != kNewSessionOp && !m_bSchedulerMode)
                m_verification.ShowInstrInfoDlg();
            m_SetupBlock.SetField(SetupBlock::kPagingSize,
                                  platform::Format("%.11d", TheApp().m_nPagingSize));
            break;
        case kFirmwareQuery:
            ParseInstrVersion(reply);
            break;
        case kMicModelQuery:
            ParseMicModelReply(reply);
            break;
        case kMicTypeQuery:
            ParseMicTypeReply(reply);
            break;
        case kMicNumberQuery:
            ParseMicNumberReply(reply);
            break;
        case kTimeQuery:
            if (StoreSetupValue(code, reply)) {
                const auto clock =
                    platform::DateTime::Parse(Current().m_strDate + " " + Current().m_strTime);
                m_dtInstrument = clock ? *clock : platform::DateTime();
            }
            break;
        case kOptionsQuery:
            QueueCommands(::OnOptionsReply(reply, Current(), Edited()));
            m_SetupBlock.SetField(SetupBlock::kModel, Current().m_strModel);
            break;
        case kExtendedRangeQuery:
            StoreSetupValue(code, reply);
            if (CKX9MonitorView* view = TheApp().m_pView)
                view->m_nExtendedRangeMark = 1;
            break;
        case kClassQuery:
            ::OnClassReply(reply, Current(), Edited());
            break;
        default:
            break;
    }
}

bool CMainFrame::StoreSetupValue(int code, const std::string& reply) {
    const auto stored = StoreQueryReply(code, reply, Current(), Edited());
    if (!stored)
        return false;
    if (stored->block >= 0)
        m_SetupBlock.SetField(stored->block, stored->text);
    return true;
}

void CMainFrame::AcknowledgeSetting(int code) {
    ::AcknowledgeSetting(code, Current(), Edited());
}

void CMainFrame::OnInputGainValue(const std::string& value) {
    if (CKX9MonitorView* view = TheApp().m_pView)
        view->m_nLevelScaleTop = acquisition::LevelScaleTop(value, Current().m_nExtendedRange != 0);
}

void CMainFrame::OnInstrModelReply(const std::string& reply) {
    QueueCommands(::OnInstrModelReply(reply, Current(), Edited()));
}

void CMainFrame::ParseInstrVersion(const std::string& reply) {
    StoreSetupValue(kFirmwareQuery, reply);
}

void CMainFrame::ParseMicModelReply(const std::string& reply) {
    StoreSetupValue(kMicModelQuery, reply);
}

void CMainFrame::ParseMicTypeReply(const std::string& reply) {
    StoreSetupValue(kMicTypeQuery, reply);
}

void CMainFrame::ParseMicNumberReply(const std::string& reply) {
    StoreSetupValue(kMicNumberQuery, reply);
}

// The replies that the microphone replacement and the guided electric calibration wait for.
void CMainFrame::DispatchCalibrationReply(const CCommand& command, const std::string& text) {
    std::string reply = text;
    switch (command.GetCode()) {
        case kPrintValueKey:
            if (m_bElectricCalRunning) {
                Wait(250);
                if (m_maintenance.ElectricCalibration().HasWindow())
                    m_maintenance.ElectricCalibration().SetPrintedValue(reply);
            }
            return;
        case kElectricCalStepQuery:
            reply = platform::TrimRight(reply);
            if (m_maintenance.MicCalibration().HasWindow()) {
                m_maintenance.MicCalibration().SetElectricCal(platform::Mid(reply, 10));
                m_maintenance.MicCalibration().SetStep(kElectricCalStep);
                m_maintenance.MicCalibration().NextStep();
            }
            return;
        default:
            break;
    }
    if (!m_maintenance.MicCalibration().HasWindow())
        return;
    switch (command.GetCode()) {
        case kGainQuery: {
            const std::string gain = platform::Trim(platform::Mid(reply, 9));
            if (platform::Contains(command.GetName(), ":0"))
                m_maintenance.MicCalibration().SetChannelGain(0, gain);
            else if (platform::Contains(command.GetName(), ":1"))
                m_maintenance.MicCalibration().SetChannelGain(1, gain);
            break;
        }
        case kElectricCalQuery:
            m_maintenance.MicCalibration().SetElectricCal(platform::Mid(reply, 10));
            break;
        case kMicCalPrintValueKey: {
            const std::string level = platform::TrimLeft(platform::Mid(reply, 8));
            const int blank = platform::Find(level, ' ');
            m_maintenance.MicCalibration().SetLevel(blank < 0 ? level
                                                              : platform::Left(level, blank));
            m_maintenance.MicCalibration().NextStep();
            break;
        }
        case kProtectionCodeQuery:
            m_maintenance.MicCalibration().SetProtectionCode(platform::Mid(reply, 14));
            break;
        case kFactoryCommand:
            m_maintenance.MicCalibration().SetStep(kFactoryStep);
            m_maintenance.MicCalibration().NextStep();
            break;
        default:
            break;
    }
}
