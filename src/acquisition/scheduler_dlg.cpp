#include "acquisition/scheduler_dlg.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <utility>

#include "acquisition/operator_notices.h"
#include "link/command_codes.h"
#include "link/instr_status.h"
#include "link/link_session.h"
#include "link/meter_mode.h"
#include "link/port_record.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/operator.h"
#include "platform/text.h"
#include "sound/audio_file_list.h"
#include "ui/hooked_dialog.h"

namespace acquisition {

namespace {

using platform::Contains;

constexpr const char* kRecordIndex = "RecFile.kr9";
constexpr const char* kOldRecordIndex = "RecFileOLD.kr9";
constexpr const char* kSchedulerIndex = "Scheduler.kr9";
constexpr const char* kResultNotCopied =
    "WARNING: Unable to copy RecFile.kr9 to Scheduler.kr9 (%s).\nThe run's records are in "
    "RecFile.kr9; Scheduler.kr9 is not this run's.";
constexpr size_t kStampLength = 19;  // "%Y/%m/%d %H:%M:%S"
constexpr unsigned kStopWaitMs = 500;
constexpr unsigned kFileOpenWaitMs = 2000;
constexpr unsigned kDiskMeasureWaitMs = 500;
constexpr std::uint64_t kDiskThresholdMb = 1000;
constexpr long long kAudioReserveMb = 300;
constexpr long long kAudioMbPerSecond = 5;

// Queried when the window opens; a QS4160 also tells its profile, spectrum, datalogging and
// report settings.
constexpr std::array kOpeningQueries = {command_code::kIntegrationTimeQuery,
                                        command_code::kIntegrationModeQuery};
constexpr std::array kQS4160Queries = {
    command_code::kProfileTimeQuery,       command_code::kSpectrumTimeQuery,
    command_code::kProfileDataloggerQuery, command_code::kSlmDataloggerQuery,
    command_code::kOctaveDataloggerQuery,  command_code::kThirdOctaveDataloggerQuery,
    command_code::kReportTimeQuery};
// The spectrum time a meter without the QS4160's spectrum settings samples at.
constexpr const char* kFixedSpectrumTime = "0.5";

bool IsStampedLine(const std::string& line) {
    return line.size() > kStampLength + 1 && line[4] == '/' && line[7] == '/' &&
           line[kStampLength] == ':' && line[kStampLength + 1] == ' ';
}

records::ScheduleTime TimeOf(const PickerSpan& span) {
    return span ? records::ScheduleTime::FromSeconds(*span) : records::ScheduleTime{};
}

}  // namespace

int SchedulerLogImage(const std::string& line) {
    const bool stamped = IsStampedLine(line);
    const std::string text = stamped ? line.substr(kStampLength + 2) : line;
    int image = -1;
    if (Contains(text, "WARNING"))
        image = CSchedulerDlg::kWarningImage;
    if (Contains(text, stamped ? "Start Monitoring" : "Start"))
        image = CSchedulerDlg::kStartImage;
    if (Contains(text, "Pause") || Contains(text, "Stop"))
        image = CSchedulerDlg::kPauseImage;
    return image;
}

CSchedulerDlg::CSchedulerDlg(const Uses& uses)
    : m_uses(uses), m_host(uses.host), m_mode(uses.link.Mode()) {
    m_LogList.InsertColumn(0, "Scheduler Report", ui::LVCFMT_LEFT, 500);
    const platform::DateTime now = platform::DateTime::Now();
    ScheduleSettings& settings = m_form.Settings();
    settings.start = settings.stop = settings.calibration = now;
}

CSchedulerDlg::~CSchedulerDlg() {
    DestroyWindow();
}

void CSchedulerDlg::OnInitDialog() {
    for (const int code : kOpeningQueries)
        Queue(code);
    const std::string model = m_uses.current.m_strModel;
    if (Contains(model, "QS4160")) {
        for (const int code : kQS4160Queries)
            Queue(code);
    } else {
        m_uses.edited.m_strProfileSpectrumTime = kFixedSpectrumTime;
    }
    m_form.Initialise(platform::DateTime::Now(), model);
    m_ConnSpan = ConnectionLead(ReadLink());
    m_CalSpan = kCalibrationLead;
    ShowForm();
}

void CSchedulerDlg::OnInstrSetup() {
    m_uses.session.QueueSetupQueries();
}

void CSchedulerDlg::OnChannel(records::RecordKind kind) {
    Settings().channel = kind;
    m_mode.ChooseChannel(kind);
}

void CSchedulerDlg::OnContinuousAcquisition() {
    m_form.OnContinuousAcquisition();
    if (Settings().continuous)
        m_AcqSpan = m_RepSpan = std::nullopt;
}

void CSchedulerDlg::OnDataLogging() {
    ScheduleSettings& settings = Settings();
    const CInstrStatus& current = m_uses.current;
    const CInstrStatus& edited = m_uses.edited;
    if (Contains(current.m_strModel, "QS4160") && edited.m_strSlmDatalogger == "OFF" &&
        edited.m_strProfDatalogger == "OFF" && edited.m_strOctDatalogger == "OFF" &&
        edited.m_strToctDatalogger == "OFF") {
        platform::AfxMessageBox("ERROR: No channel selected for datalogging");
        m_form.RefuseDataLogging();
        return;
    }
    if (!settings.dataLogging) {
        m_form.OnDataLoggingOff();
        return;
    }
    if (platform::AfxMessageBox("Do you want to clear instrument memory ?",
                                MB_YESNO | MB_ICONEXCLAMATION) == IDYES)
        Queue(command_code::kDumpClear);
    const std::string integration = IntegrationTimeText(current.m_strIntegrationTime);
    if (current.m_strIntegrationMode == "SINGLE" && integration != "00 s" &&
        platform::AfxMessageBox(
            platform::Format("WARNING: Instrument integration time is %s.\nDatalogging and "
                             "monitor will stop after this time.\nConfirm selction ?",
                             integration.c_str()),
            MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return;
    if ((Contains(current.m_strModel, "QS4160_L") || Contains(current.m_strModel, "QS4160_G")) &&
        (current.m_strReportTime != "OFF" || current.m_strEventTrigger != "OFF"))
        m_form.DisablePauseOptions();
    m_form.OnDataLoggingOn();
}

void CSchedulerDlg::OnStopAcqAtPause() {
    m_form.OnStopAtPause();
}

void CSchedulerDlg::OnPowerOffAtPause() {
    m_form.OnPowerOffAtPause();
}

void CSchedulerDlg::OnDownloadLoggedData() {
    if (Settings().download)
        platform::AfxMessageBox("When scheduler finish it will download alla data from instrument",
                                MB_ICONINFORMATION);
}

void CSchedulerDlg::OnAudioRecording() {
    if (!Settings().audioRecording)
        return;
    const std::string& folder = m_uses.programFolder;
    m_DiskSpaceMonitor.StartMonitoring(folder, kDiskThresholdMb, nullptr, 0, 0);
    m_host.WaitWithMessages(kDiskMeasureWaitMs);
    const long long freeMb = static_cast<long long>(m_DiskSpaceMonitor.GetFreeSpace() / 1000000);
    m_DiskSpaceMonitor.StopMonitoring();
    // Below the reserve nothing can be recorded: no negative space or time is shown.
    const long long usableMb = std::max<long long>(freeMb - kAudioReserveMb, 0);
    const int minutes = static_cast<int>(usableMb / kAudioMbPerSecond);
    m_nAvailableRecMinutes = minutes;
    platform::AfxMessageBox(
        platform::Format("WARNING\nAudio recording need 5MB\\sec.\nDisk Space: %lld MB.\nAvailable "
                         "Rec Time: %d min.",
                         usableMb, minutes),
        MB_ICONINFORMATION);
    DeleteEarlierAudioFiles();
}

void CSchedulerDlg::OnCalDisabled() {
    m_form.OnCalDisabled();
}

void CSchedulerDlg::OnCalAtDate() {
    m_form.OnCalAtDate();
}

void CSchedulerDlg::OnCalAlways() {
    Settings().confirmMode = kCalAlways;
    m_form.OnConfirmMode();
}

void CSchedulerDlg::OnCalIfErrorExceeds() {
    Settings().confirmMode = kCalIfErrorExceeds;
    m_form.OnConfirmMode();
}

StartSetup CSchedulerDlg::ReadStartSetup() const {
    const CInstrStatus& current = m_uses.current;
    const CInstrStatus& edited = m_uses.edited;
    return {.model = current.m_strModel,
            .spectrumTime = current.m_strProfileSpectrumTime,
            .integrationTime = current.m_strIntegrationTime,
            .editedReportTime = edited.m_strReportTime,
            .editedIntegrationMode = edited.m_strIntegrationMode,
            .editedProfileTime = edited.m_strProfileTime,
            .editedSpectrumTime = edited.m_strProfileSpectrumTime};
}

StartLink CSchedulerDlg::ReadLink() const {
    return {.baudRate = m_uses.referencePort.m_nBaudRate, .modem = m_uses.modemLink == 1};
}

void CSchedulerDlg::TakeTimes(const ScheduleTimes& times) {
    m_NextStart = times.nextStart;
    m_Stop = times.stop;
    m_AcqSpan = times.acqSpan;
    m_RepSpan = times.repSpan;
    m_CalDate = times.calDate;
    m_CalInterval = times.calInterval;
    m_ConnSpan = times.connSpan;
    m_CalSpan = times.calSpan;
}

void CSchedulerDlg::OnOK() {
    m_host.FollowLastReportRow();
    Queue(command_code::kDateQuery);
    Queue(command_code::kTimeQuery);
    if (!Contains(m_uses.current.m_strModel, "QS4160"))
        m_uses.edited.m_strProfileSpectrumTime = kFixedSpectrumTime;
    ScheduleSettings& settings = Settings();
    if (settings.continuous)
        settings.acquisitionTime = settings.repetitionTime = std::nullopt;

    const StartLink link = ReadLink();
    const ScheduleTimes times = ComposeTimes(settings, link);
    TakeTimes(times);
    if (settings.channel)
        m_mode.ChooseChannel(*settings.channel);
    const StartSetup setup = ReadStartSetup();
    if (const auto refusal = CheckStart(settings, times, setup, link, platform::DateTime::Now())) {
        platform::AfxMessageBox(refusal->text, refusal->type);
        return;
    }
    m_nExpected = ExpectedRecords(*settings.channel, m_AcqSpan, setup.editedProfileTime,
                                  setup.editedSpectrumTime);
    Activate();
}

void CSchedulerDlg::Activate() {
    m_LogList.DeleteAllItems();
    m_uses.notices.BeginSchedulerLog("Scheduler Activated");
    m_mode.EnterSchedulerMode();

    // The record file of the last run is kept as the old one; an index that could not be kept
    // is not emptied.
    const std::string& folder = m_uses.programFolder;
    const std::string index = platform::JoinPath(folder, kRecordIndex);
    if (!platform::FileExists(index) || !CopyProgramFile(kRecordIndex, kOldRecordIndex))
        platform::WriteFileAtomic(index, "");

    m_mode.OnRunStarted();
    m_uses.link.WriteCommand(LinkSide::Reference, command_code::kStopAcquisition);
    m_uses.session.StopMonitoring();

    m_form.ShowRunning();
    ShowForm();
    m_uses.liveTimebase.SetScheduleTimes(AcquisitionTime(), RepetitionTime());
    m_uses.run.Start(Plan());
    if (Settings().channel && Settings().channel->IsSpectrum())
        m_host.PrepareLiveSpectrumWindow();

    if (m_bAudioRecordingSwitch) {
        DeleteEarlierAudioFiles();
        m_host.ShowBenchForSchedulerRecording();
    }
}

bool CSchedulerDlg::ConfirmStop() {
    return platform::AfxMessageBox("WARNING: Confirm stop scheduler ?",
                                   MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
}

void CSchedulerDlg::StopMeterAcquisition() {
    Queue(command_code::kStopAcquisition);
    platform::Clock::Sleep(kStopWaitMs);
    if (Settings().dataLogging) {
        Queue(command_code::kEnterKey);
        platform::Clock::Sleep(kStopWaitMs);
    }
}

void CSchedulerDlg::OnCancel() {
    if (!m_mode.IsSchedulerRunning()) {
        ShowWindow(false);
        return;
    }
    if (!ConfirmStop())
        return;
    m_mode.OnRunStopped();
    m_uses.run.Stop();
    SetCaption(kCaption);
    m_uses.notices.LogScheduler("Stop Scheduler by user");
    EnableScheduleControls();
    if (Settings().powerOffAtPause) {
        m_mode.EndLive();
        StopMeterAcquisition();
        m_uses.link.WriteCommand(LinkSide::Reference, command_code::kPowerOff);
    }
    if (m_mode.IsLinkActive())
        StopMonitoring();
    m_uses.liveFile.Close();
    ShowRunResult();
    platform::Clock::Sleep(kFileOpenWaitMs);
    EndRun();
}

void CSchedulerDlg::OnClose() {
    if (!m_mode.IsSchedulerRunning()) {
        DestroyWindow();
        return;
    }
    if (!ConfirmStop())
        return;
    m_uses.notices.LogScheduler("Stop Scheduler by user");
    m_mode.OnRunStopped();
    SetCaption(kCaption);
    m_uses.run.Stop();
    m_mode.EndLive();
    StopMeterAcquisition();
    EndRun();
}

void CSchedulerDlg::AddLogRow(const std::string& line) {
    if (!HasWindow())
        return;
    const int row = m_LogList.InsertItem(m_LogList.GetItemCount(), line, SchedulerLogImage(line));
    m_LogList.EnsureVisible(row);
}

records::ScheduleTime CSchedulerDlg::AcquisitionTime() const {
    return TimeOf(m_AcqSpan);
}

records::ScheduleTime CSchedulerDlg::RepetitionTime() const {
    return TimeOf(m_RepSpan);
}

void CSchedulerDlg::EnableScheduleControls() {
    m_form.ShowStopped(m_uses.current.m_strModel);
    ShowForm();
}

void CSchedulerDlg::StopMonitoring() {
    m_uses.run.StopMonitoring();
}

SchedulePlan CSchedulerDlg::Plan() const {
    const ScheduleSettings& settings = Settings();
    SchedulePlan plan;
    if (settings.channel)
        plan.channel = *settings.channel;
    plan.continuous = settings.continuous || !m_AcqSpan || !m_RepSpan;
    plan.dataLogging = settings.dataLogging;
    plan.stopAcqAtPause = settings.stopAtPause;
    plan.powerOffAtPause = settings.powerOffAtPause;
    plan.download = settings.download;
    plan.calDisabled = settings.calDisabled;
    plan.calBefore = settings.calBefore;
    plan.calAfter = settings.calAfter;
    plan.calAtDate = settings.calAtDate;
    plan.nextStart = m_NextStart.Seconds();
    plan.stop = m_Stop.Seconds();
    plan.acqSeconds = m_AcqSpan.value_or(0);
    plan.repSeconds = m_RepSpan.value_or(0);
    plan.connSeconds = m_ConnSpan;
    plan.calDate = m_CalDate.Seconds();
    plan.calIntervalSeconds = m_CalInterval.value_or(0);
    plan.calSeconds = m_CalSpan;
    plan.expected = m_nExpected;
    return plan;
}

void CSchedulerDlg::OpenSchedulerFile() {
    m_host.OpenSchedulerFile();
}

void CSchedulerDlg::ShowRunResult() {
    const std::optional<std::string> failure = CopyProgramFile(kRecordIndex, kSchedulerIndex);
    m_host.ResetViewForScheduler();
    if (!failure) {
        OpenSchedulerFile();
        return;
    }
    m_resultNotCopied = platform::Format(kResultNotCopied, failure->c_str());
    m_uses.notices.LogScheduler(*m_resultNotCopied);
}

void CSchedulerDlg::OnRunEnded() {
    EnableScheduleControls();
    EndRun();
}

void CSchedulerDlg::EndRun() {
    m_mode.OnRunStopped();
    m_uses.run.Stop();
    SetCaption(kCaption);
    m_mode.LeaveSchedulerMode();
    // Told only now: a box must not hold up the end of a run that nobody may be watching.
    if (const std::optional<std::string> text = std::exchange(m_resultNotCopied, std::nullopt))
        platform::AfxMessageBox(*text, MB_ICONEXCLAMATION);
}

void CSchedulerDlg::Queue(int code) {
    m_uses.link.SendCommand(code, "", "");
}

void CSchedulerDlg::DeleteEarlierAudioFiles() {
    const std::string& folder = m_uses.programFolder;
    const std::string list = platform::JoinPath(folder, sound::kAudioFileList);
    if (!platform::FileExists(list))
        return;
    if (platform::AfxMessageBox(
            "WARNING: The audio files of the previous recordings will be deleted.\nConfirm ?",
            MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return;
    for (const std::string& file : sound::EarlierRecordings(folder))
        platform::RemoveFile(file);
    platform::RemoveFile(list);
}

std::optional<std::string> CSchedulerDlg::CopyProgramFile(const char* from, const char* to) const {
    const std::string& folder = m_uses.programFolder;
    const auto content = platform::ReadWholeFile(platform::JoinPath(folder, from));
    if (!content)
        return std::string(from) + ": " + std::strerror(errno);
    if (!platform::WriteFileAtomic(platform::JoinPath(folder, to), *content))
        return std::string(to) + ": " + std::strerror(errno);
    return std::nullopt;
}

}  // namespace acquisition
