// The memory-dump decoder against an in-memory port and a manual clock: what it asks the meter,
// what it hands over for the dump file, and how each failure ends. The records are built here
// byte by byte with their lengths written out, apart from the layout module.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "acquisition/dump_decoder.h"
#include "acquisition/dump_end_model.h"
#include "acquisition/dump_records.h"
#include "link/link_fakes.h"
#include "link/link_reply_state.h"
#include "link/listener_input.h"

using namespace acquisition;
using linktest::FakePort;
using linktest::ManualClock;

namespace {

using Lines = std::vector<std::string>;

using acqtest::DumpRecord;

std::string Start() {
    return DumpRecord(0x80, 0x00, 49);
}
std::string DateTime() {
    return DumpRecord(0x60, 0x00, 18);
}
std::string End() {
    return DumpRecord(0x40, 0x00, 66);
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
    const auto end = records::IncompleteDumpRecord("30", flags);
    return std::string(end.begin(), end.end());
}

class FakeListenerInput : public ListenerInput {
public:
    FakeListenerInput(FakePort& port, ManualClock& clock)
        : ListenerInput(port), m_port(port), m_clock(clock) {}
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

TEST_F(DumpDecoderTest, ARepeatedRecordIsWrittenOnceAndItsHeldPredecessorToo) {
    Begin(1);
    port.Arrive(Start());
    // The date record comes broken twice, then whole; a bad type once before the end.
    port.Expect("DMP:NE", Broken(DateTime()))
        .Expect("DMP:RE", Broken(DateTime()))
        .Expect("DMP:RE", DateTime())
        .Expect("DMP:NE", DumpRecord(0x70, 0x00, 20))
        .Expect("DMP:RE", End());
    Run();
    EXPECT_EQ(Asked(), (Lines{"DMP:NE", "DMP:RE", "DMP:RE", "DMP:NE", "DMP:RE"}));
    EXPECT_EQ(host.File(), Start() + DateTime() + KeptEnd());
    EXPECT_EQ(host.finished, Lines{""});
    // Each repeat waits a second first.
    EXPECT_EQ(clock.Now(), 3000u);
}

TEST_F(DumpDecoderTest, TheTenthFailureInARowEndsTheDownloadKeepingWhatCame) {
    // Silence: "Download error" once, ten seconds each; no file was open.
    Begin(1);
    Run();
    EXPECT_EQ(host.finished, Lines{"Download error"});
    EXPECT_EQ(clock.Now(), 10 * DumpDecoder::kSilenceMs + 9 * DumpDecoder::kRepeatPauseMs);
    EXPECT_EQ(host.File(), "");
    EXPECT_EQ(Asked(), Lines(9, "DMP:RE"));

    // Ten bad records: no error box, the file cut short is closed.
    host = {};
    port.ClearTranscript();
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
    const std::string start = DumpRecord(0x80, 0x21, 49);
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

TEST_F(DumpDecoderTest, TheEndOfTheDumpInAFileKeepsTheHeldRecordAndClosesTheFile) {
    Begin(1);
    port.Arrive(Start());
    port.Expect("DMP:NE", "END OF DUMP");
    Run();
    EXPECT_EQ(host.File(), Start() + Incomplete());
    EXPECT_EQ(host.finished, Lines{""});
}

TEST_F(DumpDecoderTest, AnInterruptionKeepsWhatCameAndTellsNothing) {
    Begin(1);
    port.Arrive(Start());
    Run(1);
    decoder.Interrupt();
    EXPECT_FALSE(link->dumpMode);
    EXPECT_EQ(host.File(), Start() + Incomplete());
    EXPECT_TRUE(host.finished.empty());
    decoder.Interrupt();  // no download: nothing
    EXPECT_EQ(host.appended.size(), 2u);
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
