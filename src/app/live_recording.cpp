#include "app/live_recording.h"

#include "app/frame_timers.h"
#include "app/frame_ui.h"
#include "app/kx9monitor_app.h"

namespace {
constexpr int kReportTrimRowsPerTick = 100;
}  // namespace

LiveRecording::LiveRecording(const Uses& uses)
    : m_timers(uses.timers),
      m_ui(uses.ui),
      m_reports(uses.views),
      m_displays(uses.views),
      m_spectrum(uses.liveSpectra),
      m_recorder(acquisition::LiveRecorder::Uses{
          .host = *this,
          .pages = uses.pages,
          .reports = m_reports,
          .displays = m_displays,
          .spectrum = m_spectrum,
          .lossNotice = uses.lossNotice,
          .notices = uses.notices,
          .file = uses.recordFile,
          .recording = uses.recording,
          .mode = uses.mode,
          .header = uses.setupBlock,
          .recordFolder = uses.recordFolder,
      }) {
    m_timers.OnExpiry(FrameTimers::kReportTrim, [this] { TrimReportList(); });
}

LiveRecording::~LiveRecording() {
    m_timers.OnExpiry(FrameTimers::kReportTrim, nullptr);
}

acquisition::LiveSetup LiveRecording::Setup() const {
    const CKX9MonitorApp& app = TheApp();
    const CInstrStatus& current = app.m_InstrStatus;
    return {
        .model = current.m_strModel,
        .date = current.m_strDate,
        .time = current.m_strTime,
        .profileTime = current.m_strProfileTime,
        .spectrumTime = current.m_strProfileSpectrumTime,
        .pageSize = app.m_nPagingSize,
    };
}

void LiveRecording::StartReportTrim() {
    m_timers.Set(FrameTimers::kReportTrim, FrameTimers::kReportTrimTickMs);
}

void LiveRecording::TrimReportList() {
    if (m_ui.TrimReportList(m_recorder.RowCounter(), kReportTrimRowsPerTick)) {
        m_ui.SetReportTrimFinished();
        m_timers.Kill(FrameTimers::kReportTrim);
    }
}
