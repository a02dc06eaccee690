// The live record processors: rows, losses and pages as the meter's records arrive, the page
// files read back with the data-set reader, and a recording that cannot be written.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "acquisition/data_buffer.h"
#include "acquisition/data_set.h"
#include "acquisition/live_recorder.h"
#include "acquisition/loose_data_dlg.h"
#include "link/link_reply_state.h"
#include "link/meter_mode.h"
#include "live_records.h"
#include "platform/clock.h"
#include "platform/date_time.h"
#include "platform/files.h"
#include "support/record_kinds.h"
#include "support/test_env.h"

using namespace acquisition;

namespace {

// The program's side of a live recording: its setup, its lists and displays, and what it tells
// the operator.
class FakeLiveHost : public LiveRecorderHost,
                     public PageListView,
                     public ReportListView,
                     public LiveDisplays,
                     public LiveSpectrumWindow,
                     public OperatorNotices {
public:
    LiveSetup Setup() const override { return setup; }

    // The report list.
    int ReportRowCount() const override { return static_cast<int>(rows.size()); }
    void InsertReportRow(int row, const std::string& time) override {
        rows.insert(rows.begin() + row, std::vector<std::string>{time});
    }
    void SetReportText(int row, int column, const std::string& text) override {
        std::vector<std::string>& cells = rows.at(static_cast<size_t>(row));
        cells.resize(std::max(cells.size(), static_cast<size_t>(column) + 1));
        cells[static_cast<size_t>(column)] = text;
    }
    bool FollowsLastRow() const override { return follows; }
    void SetFollowsLastRow() override { follows = true; }
    void ShowReportRow(int row) override { shownRow = row; }
    void InsertEmptyReportRows(int count) override {
        rows.insert(rows.begin(), static_cast<size_t>(count), std::vector<std::string>{""});
    }
    void StartReportTrim() override {
        ++trims;
        if (onTrim)
            onTrim();
    }

    // The page list.
    int RowCount() const override { return static_cast<int>(pageRows.size()); }
    void Clear() override { pageRows.clear(); }
    void SetRowText(int row, const std::string& text) override {
        pageRows.at(static_cast<size_t>(row)) = text;
    }
    void AppendRow(const std::string& text, int) override { pageRows.push_back(text); }
    void SelectFirstRow() override {}
    void ShowLastRow() override {}
    void SetPageStartText(const std::string& text) override { pageStart = text; }

    // The live displays and the live "Spectrum" window.
    void AddLiveRecord(int, const std::vector<std::string>& levels) override {
        livePoints += static_cast<int>(levels.size());
    }
    void AddLiveGraphPoint(int, const std::string&) override { ++livePoints; }
    bool ShowsLiveSpectrum() const override { return true; }
    void RearrangeGraphWindows(const std::string&) override { ++rearranged; }
    void ClearLiveChart() override {}
    void RepaintLiveGraph() override {}
    bool HasWindow() const override { return spectrumWindow; }
    void Hide() override { ++spectrumHidden; }
    void AddRow(std::span<const std::uint16_t> bands) override {
        spectra.emplace_back(bands.begin(), bands.end());
    }
    void ClearRows() override { spectra.clear(); }

    void LogScheduler(const std::string& text) override { log.push_back(text); }
    void BeginSchedulerLog(const std::string& text) override { log.assign({text}); }
    void Warn(const std::string& text, unsigned) override { warnings.push_back(text); }

    LiveSetup setup;
    // The program's setup block, the head of every page file.
    records::SetupBlock header;
    std::string folder;
    std::vector<std::vector<std::string>> rows;
    bool follows = true;
    int shownRow = -1;
    int trims = 0;
    std::function<void()> onTrim;
    std::vector<std::string> pageRows{"CURR. PAGE", "2024/03/09 14:00:00 "};
    std::string pageStart;
    int livePoints = 0;
    int rearranged = 0;
    bool spectrumWindow = false;
    int spectrumHidden = 0;
    std::vector<std::vector<std::uint16_t>> spectra;
    std::vector<std::string> log;
    std::vector<std::string> warnings;
};

const char* ModeText(int mode) {
    static const char* texts[] = {"SLM", "PROFILE", "OCTAVE", "THIRD OCTAVE"};
    return texts[mode];
}

class LiveRecorderTest : public ::testing::Test {
protected:
    LiveRecorderTest() {
        platform::Clock::SetFixedNow(platform::DateTime::FromParts(2024, 3, 9, 14, 0, 0).Seconds());
        host.folder = scratch.Path();
        host.setup.model = "QS4160_L0$1";
        host.setup.date = "Instr.Date: 2024/03/09";
        host.setup.time = "Instr.Time: 14:00:00";
        host.setup.spectrumTime = "1s";
        host.setup.profileTime = "0.5s";
    }
    ~LiveRecorderTest() override { platform::Clock::SetFixedNow(std::nullopt); }

    // What the frame does when monitoring starts: the index and the first page file.
    void Start(int mode, long long pageSize) {
        host.setup.pageSize = pageSize;
        host.header.SetField(records::SetupBlock::kModel, host.setup.model);
        host.header.SetField(records::SetupBlock::kAcquisitionMode, ModeText(mode));
        host.header.SetField(records::SetupBlock::kProfileTime, host.setup.profileTime);
        host.header.SetField(records::SetupBlock::kPagingSize,
                             std::to_string(recorder.PageSize(testkinds::KindOfMode(mode))));
        ASSERT_TRUE(platform::WriteFileAtomic(scratch.File("RecFile.kr9"),
                                              records::IndexFileText({"RecFile_first.rec"})));
        ASSERT_TRUE(file.Create(scratch.File("RecFile_first.rec")));
        ASSERT_TRUE(file.Write(records::PageFileHead(host.header, {}, {}, "2024/03/09 14:00:00 ")));
        recorder.Reset();
        recorder.BeginRecording();
    }
    void Feed(int mode, const std::string& record) {
        recorder.ProcessRecord(testkinds::KindOfMode(mode), record);
    }
    // Whether the lost-data notice showed since the last look; it is hidden again, as its OK
    // does.
    bool LossShown() {
        const bool shown = lossNotice.IsWindowVisible();
        lossNotice.ShowWindow(false);
        return shown;
    }
    // Every sample of every page of the recording, as the reader loads them.
    std::vector<std::vector<std::uint16_t>> ReadBack(std::vector<int>* times = nullptr) {
        file.Close();
        const std::string index = scratch.File("RecFile.kr9");
        const DataSetListing listing = ListDataSet(index);
        EXPECT_FALSE(listing.failure) << listing.failure.value_or("");
        std::vector<std::vector<std::uint16_t>> samples;
        std::vector<unsigned char> buffer(records::kDataBufferSize);
        for (size_t page = 0; page < listing.pages.size(); ++page) {
            const RecordingSetup& setup = listing.Setup(page);
            const PageLoad load =
                LoadPage(index, static_cast<int>(page), setup.Layout(), setup.pageSize, buffer);
            EXPECT_FALSE(load.failure) << load.failure.value_or("");
            const DataBufferView view(buffer, setup.Layout(), load.bytes);
            for (long long sample = 0; sample < view.SampleCount(); ++sample) {
                samples.push_back(view.Values(sample));
                if (times)
                    times->push_back(view.TimeSeconds(sample).value_or(-1));
            }
        }
        return samples;
    }

    testenv::ScratchFolder scratch;
    FakeLiveHost host;
    RecordFile file;
    Recording recording;
    LinkReplyState listeners;
    MeterMode mode{listeners};
    CLooseDataDlg lossNotice;
    LiveRecorder recorder{{
        .host = host,
        .pages = host,
        .reports = host,
        .displays = host,
        .spectrum = host,
        .lossNotice = lossNotice,
        .notices = host,
        .file = file,
        .recording = recording,
        .mode = mode,
        .header = host.header,
        .recordFolder = host.folder,
    }};
};

}  // namespace

TEST_F(LiveRecorderTest, EveryModeRecordsPagesThatTheReaderReadsBack) {
    for (const int mode : {0, 1, 2, 3}) {
        SCOPED_TRACE(ModeText(mode));
        host = FakeLiveHost{};
        host.folder = scratch.Path();
        host.setup.date = "2024/03/09";
        host.setup.time = "14:00:00";
        host.setup.model = "QS4160_L0$1";
        host.setup.spectrumTime = "1s";
        host.setup.profileTime = mode == 1 ? "0.125s" : "0.5s";
        const int perRecord = mode == 1 ? 4 : 1;
        Start(mode, 200);
        simmeter::LiveRecordStream stream(mode, 1, perRecord);
        const int records = 530 / perRecord;
        for (int record = 0; record < records; ++record)
            Feed(mode, stream.Next());

        const auto samples = ReadBack();
        ASSERT_EQ(samples.size(), static_cast<size_t>(records * perRecord));
        for (int record = 0; record < records; ++record) {
            const std::vector<int> values = stream.Values(record);
            for (int sample = 0; sample < perRecord; ++sample) {
                const auto& stored = samples[static_cast<size_t>(record * perRecord + sample)];
                if (mode == 1) {
                    ASSERT_EQ(stored, std::vector<std::uint16_t>{static_cast<std::uint16_t>(
                                          values[static_cast<size_t>(sample)])});
                } else {
                    ASSERT_EQ(stored, std::vector<std::uint16_t>(values.begin(), values.end()));
                }
            }
        }
        EXPECT_EQ(recorder.PageNumber(), 2);
        EXPECT_TRUE(host.warnings.empty());
        EXPECT_EQ(host.livePoints, mode < 2 ? records * (mode == 0 ? 5 : 4) : 0);
        // The list holds the current page's rows, the old ones after 50 empty ones until trimmed.
        EXPECT_EQ(recorder.RowCounter(), records * perRecord - 400);
        EXPECT_EQ(host.trims, 2);
    }
}

TEST_F(LiveRecorderTest, AGapLongerThanTheIntervalIsALossOfZeros) {
    host.setup.spectrumTime = "0.5s";  // a loss needs more than one second
    mode.EnterSchedulerMode();
    host.spectrumWindow = true;
    Start(2, 1000);
    simmeter::LiveRecordStream stream(2, 1);
    Feed(2, stream.Next());
    Feed(2, stream.Next());
    EXPECT_FALSE(LossShown());
    stream.Skip(3);
    Feed(2, stream.Next());  // 00:00:05 after 00:00:01
    EXPECT_TRUE(LossShown());
    EXPECT_EQ(host.log, std::vector<std::string>{"WARNING: Loss data detected."});
    EXPECT_EQ(host.spectrumHidden, 1);
    ASSERT_EQ(host.rows.size(), 4u);
    EXPECT_EQ(host.rows[2], (std::vector<std::string>{"00:00:05", "0", "0", "0", "0", "0", "0", "0",
                                                      "0", "0", "0", "0", "0"}));
    EXPECT_EQ(host.rows[3][0], "00:00:05");
    EXPECT_EQ(host.spectra.size(), 4u);
    EXPECT_EQ(host.spectra[2], std::vector<std::uint16_t>(12, 0));

    std::vector<int> times;
    const auto samples = ReadBack(&times);
    ASSERT_EQ(samples.size(), 4u);
    EXPECT_EQ(samples[2], std::vector<std::uint16_t>(12, 0));
    EXPECT_EQ(times, (std::vector<int>{0, 1, 0, 5}));  // a lost record's time word is 0 too

    // With "2m" only a gap beyond two minutes is one.
    host.setup.spectrumTime = "2m";
    Start(2, 1000);
    simmeter::LiveRecordStream slow(2, 60);
    Feed(2, slow.Next());
    Feed(2, slow.Next());
    Feed(2, slow.Next());
    EXPECT_FALSE(LossShown());
    slow.Skip(2);
    Feed(2, slow.Next());
    EXPECT_TRUE(LossShown());
}

TEST_F(LiveRecorderTest, LevelAndProfileLossesFillTheirColumnsAndSamples) {
    host.setup.model = "QS4060_00$1";
    Start(0, 200);
    simmeter::LiveRecordStream levels(0, 1);
    Feed(0, levels.Next());
    levels.Skip(1);
    Feed(0, levels.Next());  // two seconds: more than the fixed second
    EXPECT_TRUE(LossShown());
    EXPECT_EQ(host.rows[1], (std::vector<std::string>{"00:00:02", "0", "0", "0"}));
    Feed(0, simmeter::LiveErrorRecord());
    EXPECT_EQ(host.rows.back(), (std::vector<std::string>{"00:00:02", "0", "0", "0", "0", "0"}));
    EXPECT_EQ(ReadBack().size(), 4u);

    host = FakeLiveHost{};
    host.folder = scratch.Path();
    host.setup.date = "2024/03/09";
    host.setup.time = "14:00:00";
    host.setup.profileTime = "0.25s";
    Start(1, 200);
    simmeter::LiveRecordStream profile(1, 1, 2);
    Feed(1, profile.Next());
    profile.Skip(2);
    Feed(1, profile.Next());
    EXPECT_TRUE(LossShown());
    EXPECT_EQ(host.rows.size(), 6u);  // two samples, two lost, two
    EXPECT_EQ(host.livePoints, 6);
    EXPECT_EQ(ReadBack().size(), 6u);
}

TEST_F(LiveRecorderTest, TruncatedAndLevelLessRecordsNeverRepeatLevels) {
    Start(3, 200);
    simmeter::LiveRecordStream stream(3, 1);
    Feed(3, stream.Next());
    const std::string cut = stream.NextTruncated(90);  // a few bands only
    Feed(3, cut);
    Feed(3, "SPECTRUM =  00:00:02\r\nOVERLOAD\x03");  // no levels: no row, no record
    const auto samples = ReadBack();
    ASSERT_EQ(samples.size(), 2u);
    const std::vector<int> values = stream.Values(1);
    int kept = 0;
    while (kept < 33 && samples[1][static_cast<size_t>(kept)] != records::kNoValue) {
        EXPECT_EQ(samples[1][static_cast<size_t>(kept)], values[static_cast<size_t>(kept)]);
        ++kept;
    }
    EXPECT_GT(kept, 0);
    EXPECT_LT(kept, 33);
    for (int band = kept; band < 33; ++band)
        EXPECT_EQ(samples[1][static_cast<size_t>(band)], records::kNoValue);
    EXPECT_EQ(recorder.TotalRecords(), 3);

    // A third-octave run drops the meter's repeated first spectrum once it is going.
    for (int record = 0; record < 10; ++record)
        Feed(3, stream.Next());
    const size_t rows = host.rows.size();
    Feed(3, simmeter::LiveSpectrumRecord(0, stream.Values(0)));
    EXPECT_EQ(host.rows.size(), rows);
}

TEST_F(LiveRecorderTest, PagesClosedInOneSecondGetTheirOwnNamesAndNoPageSizeStillPages) {
    Start(2, 0);
    EXPECT_EQ(recorder.PageSize(testkinds::KindOfMode(2)), LiveRecorder::kDefaultPageSize);
    simmeter::LiveRecordStream stream(2, 1);
    for (int record = 0; record < 3 * 200 + 1; ++record)
        Feed(2, stream.Next());
    EXPECT_EQ(scratch.Read("RecFile.kr9"),
              "INDEX FILE\r\nRecFile_first.rec\r\nRecFile_20240309_140000.rec\r\n"
              "RecFile_20240309_140000_1.rec\r\nRecFile_20240309_140000_2.rec\r\n");
    EXPECT_EQ(host.pageRows,
              (std::vector<std::string>{"PAGE 0", "2024/03/09 14:00:00 ", "PAGE 1",
                                        "2024/03/09 14:03:19 ", "PAGE 2", "2024/03/09 14:06:39 ",
                                        "CURR PAGE", "2024/03/09 14:09:59 "}));
    EXPECT_EQ(recording.Time().SegmentStarts(), (std::vector<unsigned>{200, 400, 600}));
    EXPECT_EQ(ReadBack().size(), 601u);
    // A page size beyond the data buffer is held to what it takes.
    host.setup.pageSize = 1000000;
    EXPECT_EQ(recorder.PageSize(testkinds::KindOfMode(3)), (3000000 - 20) / 68);
}

TEST_F(LiveRecorderTest, ANewPageIsNamedAfterTheMomentItsStartTextTells) {
    Start(2, 2);
    // The clock turns to the next second while the old page is being closed.
    host.onTrim = [] {
        platform::Clock::SetFixedNow(platform::DateTime::FromParts(2024, 3, 9, 14, 0, 1).Seconds());
    };
    simmeter::LiveRecordStream stream(2, 1);
    Feed(2, stream.Next());
    Feed(2, stream.Next());
    ASSERT_EQ(host.trims, 1);
    EXPECT_EQ(scratch.Read("RecFile.kr9"),
              "INDEX FILE\r\nRecFile_first.rec\r\nRecFile_20240309_140000.rec\r\n");
    EXPECT_EQ(scratch.Read("RecFile_20240309_140000.rec")
                  .substr(records::SetupBlock::kSize, records::kPageStartBytes),
              "2024/03/09 14:00:00 ");
}

TEST_F(LiveRecorderTest, ARecordingThatCannotBeWrittenStopsWithOneMessageAndRowsGoOn) {
    Start(0, 200);
    simmeter::LiveRecordStream stream(0, 1);
    for (int record = 0; record < 10; ++record)
        Feed(0, stream.Next());
    // The index went away (another program, a full disk): the next page cannot be listed.
    std::filesystem::remove(scratch.File("RecFile.kr9"));
    for (int record = 0; record < 450; ++record)
        Feed(0, stream.Next());
    ASSERT_EQ(host.warnings.size(), 1u);
    EXPECT_NE(host.warnings[0].find("RecFile.kr9"), std::string::npos);
    EXPECT_TRUE(recorder.Failed());
    EXPECT_EQ(recorder.TotalRecords(), 460);
    EXPECT_EQ(recorder.PageNumber(), 2);
    EXPECT_FALSE(platform::FileExists(scratch.File("RecFile.kr9")));

    // A run whose first page could not be made records nothing and says nothing more.
    file.Close();
    recorder.BeginRecording();
    Feed(0, stream.Next());
    EXPECT_EQ(host.warnings.size(), 1u);
}
