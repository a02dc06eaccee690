// live_bench [--mode M] [--hours H] [--page-size S]
// Streams live records of channel mode M (3, third-octave spectra, by default) into the main
// frame for H simulated hours (1 by default) at the full rate of a 38400-baud wire: as many
// records as the wire carries, one after the other, with the frame's report-list trimming
// ticking between them as timer 12 would (every 20 ms of wire time). The records go the
// program's whole way: the link's router, the processor, the report list and the page
// files under $TMPDIR (else /tmp), pages of S records (1000 by default).
//
// Prints the CPU time the program spent per record, its share of the wire time (the fraction
// of one core that keeping up with the wire takes) and the most rows the report list held
// against what its trim allows (the page size, the 50 empty rows of a page end and a page
// that is being cut back).

#include <unistd.h>

#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

#include "app/frame_timers.h"
#include "app/frame_ui.h"
#include "app/kx9monitor_app.h"
#include "app/kx9monitor_view.h"
#include "app/live_recording.h"
#include "app/main_frame.h"
#include "live_records.h"

namespace fs = std::filesystem;

namespace {

constexpr double kWireBytesPerSecond = 38400.0 / 10;
constexpr double kTrimTickSeconds = 0.020;
const char* const kModeTexts[] = {"SLM", "PROFILE", "OCTAVE", "THIRD OCTAVE"};

// The frame's window as far as the view's report list goes; the view comes after the frame.
class ListUi : public FrameUi {
public:
    void SetView(CKX9MonitorView& view) { m_view = &view; }
    bool TrimReportList(int lastKeptRow, int rows) override {
        return !m_view || m_view->TrimReportList(lastKeptRow, rows);
    }

private:
    CKX9MonitorView* m_view = nullptr;
};

int Argument(int argc, char** argv, const std::string& name, int fallback) {
    for (int at = 1; at + 1 < argc; ++at)
        if (argv[at] == name)
            return std::atoi(argv[at + 1]);
    return fallback;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qt(argc, argv);
    const int mode = std::clamp(Argument(argc, argv, "--mode", 3), 0, 3);
    const int hours = std::max(Argument(argc, argv, "--hours", 1), 1);
    const int pageSize = std::max(Argument(argc, argv, "--page-size", 1000), 1);

    const char* tmp = std::getenv("TMPDIR");
    const fs::path folder =
        fs::path(tmp ? tmp : "/tmp") / ("kx9_live_bench_" + std::to_string(::getpid()));
    fs::create_directories(folder);

    CKX9MonitorApp app;
    app.m_strProgramDir = folder.string();
    app.m_nPagingSize = pageSize;
    app.m_InstrStatus.m_strModel = "QS4160_L0$1";
    app.m_InstrStatus.m_strDate = "2024/03/09";
    app.m_InstrStatus.m_strTime = "08:00:00";
    app.m_InstrStatus.m_strProfileTime = "0.125s";
    app.m_InstrStatus.m_strProfileSpectrumTime = "1s";
    ListUi ui;
    CMainFrame frame(nullptr, nullptr, &ui);
    CKX9MonitorView view(&frame.ViewUses());
    ui.SetView(view);
    view.OnInitialUpdate();

    // The meter confirms monitoring: the record files start.
    frame.SendCommand(95, kModeTexts[mode], "", -1, TRUE);
    frame.Link().SetReadyToSend(TRUE);
    frame.Link().SendNextCommand();
    frame.Link().OnReply(std::string("STT:MONITOR:") + kModeTexts[mode] + "\x03");
    MeterMode& meter = frame.Link().Mode();
    meter.ChooseChannel(*records::RecordKind::OfChannelMode(mode));
    if (!meter.BeginLive()) {
        std::fprintf(stderr, "the meter mode refused the live run\n");
        fs::remove_all(folder);
        return 1;
    }

    // One second of the meter's time per record keeps the stream free of losses; the wire
    // carries them as fast as it can.
    simmeter::LiveRecordStream stream(mode, 1, 4);
    const double recordBytes =
        static_cast<double>(simmeter::LiveRecordStream(mode, 1, 4).Next().size());
    const long long records =
        static_cast<long long>(hours * 3600.0 * kWireBytesPerSecond / recordBytes);
    const double ticksPerRecord = recordBytes / kWireBytesPerSecond / kTrimTickSeconds;

    int mostRows = 0;
    double ticks = 0;
    const std::clock_t start = std::clock();
    for (long long record = 0; record < records; ++record) {
        frame.Link().OnReply(stream.Next());
        mostRows = std::max(mostRows, view.m_ReportList.GetItemCount());
        for (ticks += ticksPerRecord; ticks >= 1; --ticks)
            if (frame.Timers().IsSet(FrameTimers::kReportTrim))
                frame.Timers().Expire(FrameTimers::kReportTrim);
        mostRows = std::max(mostRows, view.m_ReportList.GetItemCount());
    }
    const double cpu = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    frame.m_RecFile.Close();

    const double wireSeconds = static_cast<double>(records) * recordBytes / kWireBytesPerSecond;
    const int samplesPerRecord = mode == 1 ? 4 : 1;
    const int allowed =
        2 * pageSize + acquisition::LiveRecorder::kEmptyRowsAtPageEnd + samplesPerRecord;
    std::printf("mode %s, %lld records of %.0f bytes in %.0f s of wire time, pages of %d\n",
                kModeTexts[mode], records, recordBytes, wireSeconds, pageSize);
    std::printf("CPU per record:            %.1f us\n", cpu / static_cast<double>(records) * 1e6);
    std::printf("CPU / wire time:           %.4f\n", cpu / wireSeconds);
    std::printf("report rows at most:       %d of %d allowed (ratio %.2f)\n", mostRows, allowed,
                static_cast<double>(mostRows) / allowed);
    std::printf("pages written:             %d\n", frame.Live().Recorder().PageNumber() + 1);
    fs::remove_all(folder);
    return mostRows <= allowed ? 0 : 1;
}
