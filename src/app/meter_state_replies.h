#pragma once
// The replies about the meter's state: acquisition, datalogging, monitoring, its screen and its
// recorder. They move the meter mode, feed the instrument status dialog, answer the meter's
// screens with key presses, show the monitoring options and move a scheduled run on; they keep
// the status poll (timer 9) and the recording mark's blink on the title (timer 6) going, whose
// jobs they register with their replies when they are built.

#include <string>

class CElectricCalibrationDlg;
class CInstrStatus;
class FrameNotices;
class FrameTimers;
class FrameUi;
class LinkSession;
class ReplyRouter;

namespace acquisition {
class SchedulerRun;
}
namespace records {
class SetupBlock;
}

class MeterStateReplies {
public:
    // Screen-state replies answered with key presses in a row before the program stops trying
    // to reach the measurement screen: a meter stuck on one screen would keep the link busy.
    static constexpr int kMaxDisplayRounds = 50;

    // What the replies use, none of it owned.
    struct Uses {
        LinkSession& link;
        FrameTimers& timers;
        // The title, the status dialog, the setup wait box and the view's graph windows.
        FrameUi& ui;
        FrameNotices& notices;
        // The setup as last read from the meter, and as the operator wants it.
        CInstrStatus& current;
        CInstrStatus& edited;
        // The monitoring options' page size: the program's, and the setup block's field.
        int& pagingSize;
        records::SetupBlock& setupBlock;
        // A scheduled run, which the monitoring state moves on, and the guided programs'
        // window, which reads the meter's screens.
        acquisition::SchedulerRun& run;
        CElectricCalibrationDlg& guidedPrograms;
    };

    explicit MeterStateReplies(const Uses& uses);
    ~MeterStateReplies();
    MeterStateReplies(const MeterStateReplies&) = delete;
    MeterStateReplies& operator=(const MeterStateReplies&) = delete;

private:
    void RegisterReplies(ReplyRouter& router);
    void OnAcquisitionStateReply(const std::string& reply);
    void OnDisplayStateReply(const std::string& reply);
    void OnDisplayReply(const std::string& reply);
    void OnMonitorStateReply(const std::string& reply);
    // The monitoring options (CSelCHMonitorDlg): the channel mode, and the page size chosen.
    void ShowMonitoringOptions();
    // The meter logs, or not: both setup records and the mode say so.
    void NoteDataLogging(bool on);
    void AppendInstrStatusText(const std::string& text);
    // Timer 6: the title's recording mark on and off while the meter logs.
    void OnRecordingBlinkTimer();
    // Timer 9: the meter's state asked again.
    void OnStatusPollTimer();

    Uses m_uses;
};
