#include "maintenance/calibration_replies.h"

#include "link/command.h"
#include "link/command_codes.h"
#include "link/reply_router.h"
#include "maintenance/calibration_protocol.h"
#include "maintenance/electric_calibration_dlg.h"
#include "maintenance/mic_calib_dlg.h"
#include "platform/text.h"

namespace maintenance {

namespace {

using namespace command_code;

// `handler` runs only while the wizard's window is open.
ReplyRouter::Handler ToWizard(CMicCalibDlg& wizard, ReplyRouter::Handler handler) {
    return [&wizard, handler](const CCommand& command, const std::string& reply) {
        if (wizard.HasWindow())
            handler(command, reply);
    };
}

}  // namespace

void RegisterCalibrationReplies(ReplyRouter& router, CMicCalibDlg& wizard,
                                CElectricCalibrationDlg& programs) {
    router.Register(kPrintValueKey, [&programs](const CCommand&, const std::string& reply) {
        programs.TakePrintedValue(reply);
    });
    router.Register(
        kGainQuery, ToWizard(wizard, [&wizard](const CCommand& command, const std::string& reply) {
            const std::string gain = platform::Trim(meter::ValueAfter(reply, meter::kGainReply));
            if (command.GetName() == meter::kChannel0)
                wizard.SetChannelGain(0, gain);
            else if (command.GetName() == meter::kChannel1)
                wizard.SetChannelGain(1, gain);
        }));
    router.Register(kElectricCalQuery,
                    ToWizard(wizard, [&wizard](const CCommand&, const std::string& reply) {
                        wizard.SetElectricCal(meter::ValueAfter(reply, meter::kElectricCalReply));
                    }));
    router.Register(kElectricCalStepQuery,
                    ToWizard(wizard, [&wizard](const CCommand&, const std::string& reply) {
                        wizard.SetElectricCal(meter::ValueAfter(platform::TrimRight(reply),
                                                                meter::kElectricCalReply));
                        wizard.SetStep(MicReplacement::kElectricRead);
                        wizard.NextStep();
                    }));
    router.Register(kMicCalPrintValueKey,
                    ToWizard(wizard, [&wizard](const CCommand&, const std::string& reply) {
                        wizard.SetLevel(meter::PrintedValue(reply));
                        wizard.NextStep();
                    }));
    router.Register(
        kProtectionCodeQuery,
        ToWizard(wizard, [&wizard](const CCommand&, const std::string& reply) {
            wizard.SetProtectionCode(meter::ValueAfter(reply, meter::kProtectionCodeReply));
        }));
    for (const int write : {kGainWrite, kMicNumberWrite, kFactoryCommand})
        router.Register(write,
                        ToWizard(wizard, [&wizard](const CCommand& command, const std::string&) {
                            wizard.OnWriteAnswered(command.GetCode(), command.GetName());
                        }));
}

}  // namespace maintenance
