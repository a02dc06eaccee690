// Memory downloads from the simulated meter over its pseudo-terminal, from the frame's start of
// the download to the reply to "DMP:OFF": the dump file is read back record by record and
// compared with what the meter sent, for every record type and for each fault of the meter.
// The golden transcript of one download is tests/app/golden/memory_download.txt;
// KX9_UPDATE_GOLDEN=1 writes it again instead of comparing (support/golden_file.h).
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

#include <span>

#include "acquisition/dump_end_model.h"
#include "app/frame_boxes.h"
#include "app/monitoring_session.h"
#include "frame_test_support.h"
#include "meter_dump.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "records/record_layout.h"
#include "support/golden_file.h"

using namespace frametest;
using simmeter::DumpFault;

namespace {

using Records = std::vector<std::string>;

constexpr const char* kModel = "QS4060_A0$1";

std::span<const unsigned char> Bytes(const std::string& text) {
    return {reinterpret_cast<const unsigned char*>(text.data()), text.size()};
}

// The records as the dump file keeps them.
Records Kept(const Records& sent) {
    Records kept;
    bool reportOrEvent = false;
    for (const std::string& record : sent) {
        const auto size = records::DumpRecordSizeOf(Bytes(record), reportOrEvent);
        std::string bytes = records::KeptDumpRecord(Bytes(record), *size);
        const int type = records::DumpRecordTypeOf(static_cast<unsigned char>(record[3]));
        if (type == records::kDumpEnd)
            acquisition::StampEndRecordModel(
                {reinterpret_cast<unsigned char*>(bytes.data()), bytes.size()}, kModel, false);
        reportOrEvent =
            type == records::kDumpSetupReport || type == records::kDumpSetupEvent ||
            (reportOrEvent && type != records::kDumpStart && type != records::kDumpExtendedStart);
        kept.push_back(bytes);
    }
    return kept;
}

// The synthetic end after a record of that level text and flags byte.
std::string Incomplete(const char* level, unsigned char flags) {
    const auto end = records::IncompleteDumpRecord(level, flags);
    return std::string(end.begin(), end.end());
}

// Every file the process writes stops growing at `bytes` (the test's output too, until it goes).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : m_signal(::signal(SIGXFSZ, SIG_IGN)) {
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        ::signal(SIGXFSZ, m_signal);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_saved{};
    sighandler_t m_signal;
};

class DumpDownloadTest : public FrameLinkTest {
protected:
    DumpDownloadTest() {
        app.m_InstrStatus.m_strModel = kModel;
        app.m_InstrStatus.m_strSerialNumber = "A12345";
        platform::SetShellRecorder([this](const platform::ShellRequest& request) {
            shell.push_back(request.path);
            return true;
        });
    }
    ~DumpDownloadTest() override { platform::SetShellRecorder(nullptr); }

    // The meter holds `records` and says it holds `files` files.
    void Hold(const Records& records, int files,
              const std::function<void(simmeter::MeterDump&)>& faults = {}) {
        meter.Modify([&](simmeter::MeterState& state) {
            state.dumpFiles = files;
            state.dump = {};
            state.dump.records = records;
            if (faults)
                faults(state.dump);
        });
        confirm = platform::Format(
            "File to download: %d.\nDownload Time: 00:01:30.\n\n"
            "Confirm download ?",
            files);
    }
    // Starts the download and confirms it.
    void StartDownload() {
        OpenLink();
        op.ExpectBox(confirm, IDYES);
        frame.Session().OpenDumpFile();
    }
    // Until the reply to "DMP:OFF" was handled, `boxes` boxes shown in all.
    void FinishDownload(size_t boxes) {
        ASSERT_TRUE(PumpUntil(
            [&] {
                const auto lines = meter.Lines();
                return op.Shown().size() == boxes && QueueIdle() && !frame.Mode().IsDownloading() &&
                       !lines.empty() && lines.back() == "DMP:OFF";
            },
            20000));
        // Whatever the meter still had to say has been said.
        ASSERT_TRUE(PumpUntil([&] { return meter.AllAnswered(); }));
    }
    // The download as a whole: it ended with "Download Complete", no viewer started.
    void Download() {
        StartDownload();
        op.ExpectBox(std::string("Download Complete\n\nThe memory was saved in ") +
                     app.ProgramPath(acquisition::DumpFile::kFileName));
        FinishDownload(2);
        EXPECT_TRUE(shell.empty());
    }
    std::string DumpFileBytes() const { return folder.Read(acquisition::DumpFile::kFileName); }
    Records FileRecords() const { return simmeter::SplitDumpFile(DumpFileBytes()); }
    simmeter::MeterDump MeterSide() {
        simmeter::MeterDump dump;
        meter.Modify([&](simmeter::MeterState& state) { dump = state.dump; });
        return dump;
    }
    size_t Asked(const std::string& line) const {
        const auto lines = meter.Lines();
        return static_cast<size_t>(std::count(lines.begin(), lines.end(), line));
    }

    std::string confirm;
    std::vector<std::string> shell;
};

}  // namespace

TEST_F(DumpDownloadTest, EveryRecordTypeReachesTheDumpFileWholeAndInOrder) {
    const Records records = simmeter::EveryRecordTypeDump();
    Hold(records, 2);
    Download();
    std::string header = "\xBA" + std::string(kModel) + " A12345 V2.0 ";
    header.resize(64, '\xFF');
    EXPECT_EQ(DumpFileBytes().substr(0, 64), header);
    EXPECT_EQ(FileRecords(), Kept(records));
    // The frame asks for the first record, the decoder for the others; the last end record
    // goes at once: no request follows it.
    EXPECT_EQ(Asked("DMP:NE"), records.size());
    EXPECT_EQ(Asked("DMP:RE"), 0u);
    EXPECT_EQ(frame.DumpHost().Progress().file, 2);
    EXPECT_EQ(frame.DumpHost().Progress().line, 3);
    EXPECT_EQ(app.m_strCurrentFile, app.ProgramPath(acquisition::DumpFile::kFileName));
}

TEST_F(DumpDownloadTest, BadChecksumsRefusalsAndSilenceAreRepeatedAndEachRecordWrittenOnce) {
    const Records records = simmeter::EveryRecordTypeDump();
    Hold(records, 2, [](simmeter::MeterDump& dump) {
        dump.faults[1] = {DumpFault::BadChecksum, DumpFault::BadChecksum, DumpFault::BadChecksum};
        dump.faults[4] = {DumpFault::Refusal, DumpFault::BadChecksum};
        dump.faults[9] = {DumpFault::Silence};
        dump.faults[14] = {DumpFault::BadChecksum, DumpFault::Refusal, DumpFault::Silence};
    });
    Download();
    EXPECT_EQ(FileRecords(), Kept(records));
    EXPECT_EQ(Asked("DMP:RE"), 3u + 2u + 1u + 3u);
    EXPECT_EQ(MeterSide().sent.size(), records.size());
}

TEST_F(DumpDownloadTest, FewerFilesThanAnnouncedEndWithTheMetersEndOfDump) {
    const Records records = simmeter::EveryRecordTypeDump();
    Hold(records, 3);
    Download();
    EXPECT_EQ(FileRecords(), Kept(records));
    EXPECT_EQ(Asked("DMP:NE"), records.size() + 1);
}

TEST_F(DumpDownloadTest, ADumpErrorClosesTheOpenFileAndTheDownloadGoesOn) {
    const Records records = simmeter::EveryRecordTypeDump();
    Hold(records, 2, [](simmeter::MeterDump& dump) { dump.dumpErrorAt = 5; });
    Download();
    const Records kept = Kept(records);
    Records expected(kept.begin(), kept.begin() + 5);
    // The synthetic end takes the level and flags of the last record read ("_und", 0).
    expected.push_back(Incomplete("_und", 0x00));
    expected.insert(expected.end(), kept.begin() + 5, kept.end());
    EXPECT_EQ(FileRecords(), expected);
    EXPECT_EQ(Asked("DMP:RE"), 1u);
}

TEST_F(DumpDownloadTest, TenRefusalsInARowEndWithOneErrorAndTheFileClosed) {
    const Records records = simmeter::EveryRecordTypeDump();
    Hold(records, 2, [](simmeter::MeterDump& dump) {
        dump.faults[2] = std::deque<DumpFault>(10, DumpFault::Refusal);
    });
    StartDownload();
    op.ExpectBox("Download error").ExpectBox("Download Complete");
    FinishDownload(3);
    EXPECT_EQ(op.types[1], static_cast<unsigned>(MB_ICONSTOP));
    const Records kept = Kept(records);
    EXPECT_EQ(FileRecords(), (Records{kept[0], kept[1], Incomplete("-0.5", 0x4F)}));
    EXPECT_EQ(Asked("DMP:RE"), 9u);
}

TEST_F(DumpDownloadTest, ACancelledDownloadKeepsWhatCameAndClosesTheFile) {
    const Records records = simmeter::EveryRecordTypeDump();
    Hold(records, 2, [](simmeter::MeterDump& dump) { dump.faults[3] = {DumpFault::Silence}; });
    StartDownload();
    ASSERT_TRUE(PumpUntil([&] { return Asked("DMP:NE") == 4; }));
    op.ExpectBox("Confirm stop downloading ?", IDYES).ExpectBox("Download Complete");
    frame.Boxes().m_DownloadStatusDlg.OnCancelDownload();
    FinishDownload(3);
    const Records kept = Kept(records);
    EXPECT_EQ(FileRecords(), (Records{kept[0], kept[1], kept[2], Incomplete("0.5", 0x10)}));
    EXPECT_EQ(Asked("DMP:RE"), 0u);
}

TEST_F(DumpDownloadTest, AFullDiskStopsTheDownloadWithOneMessageAndWholeRecordsOnly) {
    const Records records = simmeter::EveryRecordTypeDump();
    Hold(records, 2);
    {
        // The file may not grow past its header, the start record and 10 bytes.
        const FileSizeLimit limit(64 + records[0].size() + 10);
        // A meter of the pace of a real one leaves the failure time to stop it.
        meter.DelayNext("DMP:NE", 250, -1);
        // Someone reads the box while the meter answers the request it had when the download
        // stopped: that answer is not the reply to "DMP:OFF", which goes out after the box.
        op.SetShownHandler([&](const std::string& text) {
            if (!platform::Contains(text, "error writing dump file"))
                return;
            const auto link = Link().SharedState();
            linktest::AwaitAnswered([&] { return !link->dumpMode && meter.AllAnswered(); });
        });
        StartDownload();
        op.ExpectBox("error writing dump file (code 27)");
        FinishDownload(2);
    }
    EXPECT_EQ(op.types[1], static_cast<unsigned>(MB_ICONSTOP));
    EXPECT_EQ(FileRecords(), Records{Kept(records)[0]});
    // Not a complete download: nothing is opened, no current file.
    EXPECT_TRUE(shell.empty());
    EXPECT_EQ(app.m_strCurrentFile, "");
    EXPECT_LT(Asked("DMP:NE"), records.size());
}

// The golden transcript of a memory download with a bad checksum, a refusal, a silence and a
// "DUMP ERROR" on the way. Each record the meter sends shows as its length and CRC-32.
TEST_F(DumpDownloadTest, GoldenTranscriptOfAMemoryDownload) {
    const Records records = simmeter::EveryRecordTypeDump();
    Hold(records, 2, [](simmeter::MeterDump& dump) {
        dump.faults[1] = {DumpFault::BadChecksum};
        dump.faults[4] = {DumpFault::Refusal};
        dump.faults[9] = {DumpFault::Silence};
        dump.dumpErrorAt = 12;
    });
    Download();
    EXPECT_EQ(Asked("DMP:RE"), 4u);
    EXPECT_TRUE(golden::MatchesGolden("tests/app/golden/memory_download.txt", meter.Transcript()));
}
