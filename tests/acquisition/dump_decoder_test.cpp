// The memory-dump decoder against an in-memory port and a manual clock: what it asks the meter,
// what it hands over for the dump file, and how each failure ends. The records are built here
// byte by byte with their lengths written out, apart from the layout module.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "acquisition/dump_decoder.h"
#include "acquisition/dump_end_model.h"
#include "link/link_fakes.h"
#include "link/link_reply_state.h"
#include "link/listener_input.h"

using namespace acquisition;
using linktest::FakePort;
using linktest::ManualClock;

namespace {

using Lines = std::vector<std::string>;

// A record of `length` bytes: the level 30.0 dB, the type and flags, a body of `fill`, the
// checksum of what comes before it and an ETX at the end.
std::string Record(unsigned char type, unsigned char flags, int length, char fill = 'x') {
    std::string record(static_cast<size_t>(length), fill);
    record[0] = 0x02;
    record[1] = 0x01;
    record[2] = 0x2C;
    record[3] = static_cast<char>(type);
    record[4] = static_cast<char>(flags);
    unsigned sum = 0;
    for (int i = 0; i < length - 2; ++i)
        sum += static_cast<unsigned char>(record[static_cast<size_t>(i)]);
    record[static_cast<size_t>(length - 2)] = static_cast<char>(sum);
    record[static_cast<size_t>(length - 1)] = 0x03;
    return record;
}
std::string Start() {
    return Record(0x80, 0x00, 49);
}
std::string DateTime() {
    return Record(0x60, 0x00, 18);
}
std::string End() {
    return Record(0x40, 0x00, 66);
}
std::string Broken(std::string record) {
    record[6] ^= 0x55;
    return record;
}
// An end record as the file keeps it: the model "QS4060_A0$1" in bytes 45-46, one filler byte.
std::string Kept(std::string end) {
    end[45] = '2';
    end[46] = '2';
    return end + '\xFF';
}
std::string KeptEnd() {
    return Kept(End());
}
// The synthetic end after records whose level was 30.0 and flags `flags`.
std::string Incomplete(unsigned char flags = 0x00) {
    const auto end = IncompleteDumpRecord("30", flags);
    return std::string(end.begin(), end.end());
}

class FakeListenerInput : public ListenerInput {
public:
    FakeListenerInput(FakePort& port, ManualClock& clock) : m_port(port), m_clock(clock) {}
    LinkPort& Port() override { return m_port; }
    Wait WaitForInput(unsigned ms) override {
        return m_clock.WaitForInput(m_port, ms, false) ? Wait::Input : Wait::Timeout;
    }
    bool Pause(unsigned ms) override {
        m_clock.Sleep(ms);
        return true;
    }

private:
    FakePort& m_port;
    ManualClock& m_clock;
};

class RecordingHost : public DumpDecoderHost {
public:
    void AppendDumpBytes(std::string bytes) override { appended.push_back(std::move(bytes)); }
    void DumpProgress(int file, int record) override { progress.push_back({file, record}); }
    void DumpFinished(std::string message) override { finished.push_back(std::move(message)); }

    std::string File() const {
        std::string file;
        for (const std::string& bytes : appended)
            file += bytes;
        return file;
    }

    std::vector<std::string> appended;
    std::vector<std::pair<int, int>> progress;
    Lines finished;
};

class DumpDecoderTest : public ::testing::Test {
protected:
    void Begin(int files) {
        decoder.PrepareDownload();
        decoder.Start(files, "QS4060_A0$1", false);
        link->dumpMode = TRUE;
    }
    // Calls the decoder as the listener does, while dump mode lasts (or `calls` times).
    void Run(int calls = 1000) {
        for (int i = 0; i < calls && link->dumpMode; ++i)
            decoder.Decode(input);
    }
    Lines Asked() const { return port.Written(); }

    ManualClock clock;
    FakePort port{clock};
    FakeListenerInput input{port, clock};
    std::shared_ptr<LinkReplyState> link = std::make_shared<LinkReplyState>();
    RecordingHost host;
    DumpDecoder decoder{*link, host};
};

}  // namespace

TEST_F(DumpDecoderTest, ACleanFileIsAskedForRecordByRecordAndEndsWithoutANextRequest) {
    Begin(1);
    port.Arrive(Start());
    port.Expect("DMP:NE", DateTime()).Expect("DMP:NE", End());
    Run();
    EXPECT_EQ(Asked(), (Lines{"DMP:NE", "DMP:NE"}));
    EXPECT_EQ(host.File(), Start() + DateTime() + KeptEnd());
    EXPECT_EQ(host.finished, Lines{""});
    EXPECT_FALSE(link->dumpMode);
    EXPECT_EQ(host.progress, (std::vector<std::pair<int, int>>{{1, 1}, {1, 2}, {1, 3}}));
    EXPECT_EQ(port.purges, 2);
}

TEST_F(DumpDecoderTest, ARepeatedRecordIsWrittenOnceAndItsHeldPredecessorToo) {
    Begin(1);
    port.Arrive(Start());
    // The date record comes broken twice, then whole; a bad type once before the end.
    port.Expect("DMP:NE", Broken(DateTime()))
        .Expect("DMP:RE", Broken(DateTime()))
        .Expect("DMP:RE", DateTime())
        .Expect("DMP:NE", Record(0x70, 0x00, 20))
        .Expect("DMP:RE", End());
    Run();
    EXPECT_EQ(Asked(), (Lines{"DMP:NE", "DMP:RE", "DMP:RE", "DMP:NE", "DMP:RE"}));
    EXPECT_EQ(host.File(), Start() + DateTime() + KeptEnd());
    EXPECT_EQ(host.finished, Lines{""});
    // Each repeat waits a second first.
    EXPECT_EQ(clock.Now(), 3000u);
}

TEST_F(DumpDecoderTest, TheTenthFailureInARowEndsTheDownloadKeepingWhatCame) {
    // Refusals: "Download error" once, the held record written, the file closed.
    Begin(2);
    port.Arrive(Start());
    port.Expect("DMP:NE", std::string{0x15, 0x03}).Expect("DMP:RE", std::string{0x15, 0x03}, 0, 9);
    Run();
    EXPECT_EQ(Asked().size(), 1u + 9u);
    EXPECT_EQ(host.finished, Lines{"Download error"});
    EXPECT_EQ(host.File(), Start() + Incomplete());

    // Silence counts the same, ten seconds each.
    host = {};
    port.ClearTranscript();
    const auto start = clock.Now();
    Begin(1);
    Run();
    EXPECT_EQ(host.finished, Lines{"Download error"});
    EXPECT_EQ(clock.Now() - start, 10 * DumpDecoder::kSilenceMs + 9 * DumpDecoder::kRepeatPauseMs);
    EXPECT_EQ(host.File(), "");  // no file was open

    // Ten bad records: no error box, the file cut short is closed.
    host = {};
    Begin(1);
    port.Arrive(Start());
    port.Expect("DMP:NE", Broken(DateTime())).Expect("DMP:RE", Broken(DateTime()), 0, 9);
    Run();
    EXPECT_EQ(host.finished, Lines{""});
    EXPECT_EQ(host.File(), Start() + Incomplete());

    // A good record in between starts the count again.
    host = {};
    port.ClearTranscript();
    Begin(1);
    port.Arrive(Start());
    port.Expect("DMP:NE", Broken(DateTime()))
        .Expect("DMP:RE", Broken(DateTime()), 0, 8)
        .Expect("DMP:RE", DateTime())
        .Expect("DMP:NE", Broken(End()));  // no checksum: a changed end is still an end
    Run();
    EXPECT_EQ(host.finished, Lines{""});
    EXPECT_EQ(host.File(), Start() + DateTime() + Kept(Broken(End())));
}

TEST_F(DumpDecoderTest, AFileLeftWithoutItsEndIsClosedOnceBeforeTheNextStarts) {
    Begin(2);
    const std::string start = Record(0x80, 0x21, 49);
    port.Arrive(start);
    // The second start comes broken first: only one synthetic end, with the last record's
    // level and flags, goes before it.
    port.Expect("DMP:NE", Broken(start))
        .Expect("DMP:RE", start)
        .Expect("DMP:NE", End())
        .Expect("DMP:NE", "END OF DUMP\x03");
    Run();
    EXPECT_EQ(host.File(), start + Incomplete(0x21) + start + KeptEnd());
    EXPECT_EQ(host.finished, Lines{""});
    EXPECT_EQ(host.progress.back(), std::make_pair(2, 2));
}

TEST_F(DumpDecoderTest, TheEndOfTheDumpAndADumpErrorKeepTheHeldRecord) {
    // Fewer files than announced: the held end record is written, no synthetic end.
    Begin(3);
    port.Arrive(Start());
    port.Expect("DMP:NE", End())
        .Expect("DMP:NE",
                "\x03"
                "END OF DUMP\x03");
    Run();
    EXPECT_EQ(host.File(), Start() + KeptEnd());
    EXPECT_EQ(host.finished, Lines{""});

    // In the middle of a file: the held record, then the synthetic end.
    host = {};
    Begin(1);
    port.Arrive(Start());
    port.Expect("DMP:NE", "END OF DUMP");
    Run();
    EXPECT_EQ(host.File(), Start() + Incomplete());

    // A dump error flushes the same way but leaves the download on: the silence that follows
    // is repeated until the download ends.
    host = {};
    port.ClearTranscript();
    Begin(1);
    port.Arrive(Start());
    port.Expect("DMP:NE", "DUMP ERROR\x03");
    Run(2);
    EXPECT_TRUE(link->dumpMode);
    EXPECT_EQ(host.File(), Start() + Incomplete());
    port.Expect("DMP:RE", DateTime()).Expect("DMP:NE", End());
    Run();
    EXPECT_EQ(host.File(), Start() + Incomplete() + DateTime() + KeptEnd());
    EXPECT_EQ(Asked(), (Lines{"DMP:NE", "DMP:RE", "DMP:NE"}));
}

TEST_F(DumpDecoderTest, CancelAndInterruptionKeepEveryRecordThatCame) {
    // Cancelled: at once, the held record kept and its file closed.
    Begin(1);
    port.Arrive(Start());
    port.Expect("DMP:NE", DateTime());
    Run(1);
    decoder.RequestCancel();
    Run();
    EXPECT_EQ(host.File(), Start() + Incomplete());
    EXPECT_EQ(host.finished, Lines{""});
    EXPECT_TRUE(decoder.IsCancelRequested());
    EXPECT_EQ(Asked(), Lines{"DMP:NE"});

    // Interrupted by the application: what is held is written, nothing is told.
    host = {};
    port.Purge();
    Begin(1);
    EXPECT_FALSE(decoder.IsCancelRequested());
    port.Arrive(Start());
    Run(1);
    decoder.Interrupt();
    EXPECT_FALSE(link->dumpMode);
    EXPECT_EQ(host.File(), Start() + Incomplete());
    EXPECT_TRUE(host.finished.empty());
    decoder.Interrupt();  // no download: nothing
    EXPECT_EQ(host.appended.size(), 2u);
}

TEST_F(DumpDecoderTest, RecordLengthsFollowTheirFlagsAndTheSetupsThatCameBefore) {
    Begin(1);
    // A pause is read with its checksum and kept without it; 0xFF bytes are data; a multi
    // record with 0x80 carries 482 bytes more after a REPORT setup than before it.
    const std::string pause = Record(0x30, 0x00, 14);
    const std::string block = Record(0x50, 0xFF, 1000, '\xFF');
    auto withCount = [](int length) {
        std::string record(static_cast<size_t>(length), 'm');
        record[0] = 0x02;
        record[1] = 0x01;
        record[2] = 0x2C;
        record[3] = 0x10;
        record[4] = static_cast<char>(0x86);
        record[5] = 3;
        unsigned sum = 0;
        for (int i = 0; i < length - 2; ++i)
            sum += static_cast<unsigned char>(record[static_cast<size_t>(i)]);
        record[static_cast<size_t>(length - 2)] = static_cast<char>(sum);
        record[static_cast<size_t>(length - 1)] = 0x03;
        return record;
    };
    const std::string multiPlain = withCount(5 + 2 * 3 + 1 + 22 + 2 + 3);
    const std::string multiAfterReport = withCount(5 + 2 * 3 + 1 + 22 + 482 + 2 + 3);
    port.Arrive(Start());
    port.Expect("DMP:NE", pause)
        .Expect("DMP:NE", block)
        .Expect("DMP:NE", multiPlain)
        .Expect("DMP:NE", Record(0x23, 0x00, 21))
        .Expect("DMP:NE", multiAfterReport)
        .Expect("DMP:NE", End());
    Run();
    EXPECT_EQ(host.File(), Start() + pause.substr(0, 12) + block + multiPlain +
                               Record(0x23, 0x00, 21) + multiAfterReport + KeptEnd());
    EXPECT_EQ(Asked().size(), 6u);
}

TEST(DumpEndModel, TheModelTextNamesTheMeterInTheEndRecord) {
    struct Case {
        const char* model;
        bool extended;
        std::optional<char> byte45;
        std::optional<char> byte46;
    };
    for (const Case& c : {Case{"QS4160", false, '0', '0'}, Case{"QS4160_00$1", false, {}, {}},
                          Case{"QS4160_L0$1", true, '1', '0'}, Case{"QS4160_I0$0", false, '1', '3'},
                          Case{"QS4060_A0$1", false, '2', '2'}, Case{"QS4060_A1$1", true, '2', '3'},
                          Case{"QS4060_Z0$1", false, '2', {}}, Case{"QS4060_N0$1", true, '3', 'B'},
                          Case{"QS4060_b0$1", false, '4', '4'}, Case{"QS4060_g0$1", true, '5', '5'},
                          Case{"QS4060_r0$1", true, '5', 'B'}, Case{"XX9", false, {}, {}}}) {
        SCOPED_TRACE(c.model);
        const EndRecordModelCode code = EndRecordModelCodeOf(c.model, c.extended);
        EXPECT_EQ(code.byte45, c.byte45);
        EXPECT_EQ(code.byte46, c.byte46);
    }
    std::vector<unsigned char> record(66, 'e');
    StampEndRecordModel(record, "QS4060_Z0$1", false);
    EXPECT_EQ(record[45], '2');
    EXPECT_EQ(record[46], 'e');
}
