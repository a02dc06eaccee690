// The layouts of recordings: sizes by kind, the time and level words, the setup block and its
// scheduler fields, page names; the bytes the writers produce checked by the Python reference.
#include <gtest/gtest.h>

#include <array>
#include <fstream>

#include "acquisition/data_buffer.h"
#include "acquisition_test_support.h"
#include "records/record_layout.h"
#include "support/record_kinds.h"
#include "support/test_env.h"

using namespace acquisition;
using namespace testkinds;

namespace {

void WriteFile(const std::string& name, const std::string& bytes) {
    std::ofstream(name, std::ios::binary) << bytes;
}

}  // namespace

TEST(RecordLayout, EachKindHasItsRecordAndPageSizes) {
    struct Case {
        records::RecordKind kind;
        const char* profileTime;
        int recordBytes;
        int samplesPerRecord;
        long long pageBytesOf1000;
        long long samplesIn1020;
    };
    for (const Case c :
         {Case{kSoundLevelMeter, "", 12, 1, 12020, 83}, Case{kProfile, "0.125s", 10, 4, 2520, 400},
          Case{kProfile, "0.25s", 6, 2, 3020, 333}, Case{kProfile, "0.5s", 4, 1, 4020, 250},
          Case{kProfile, "2s", 4, 1, 4020, 250}, Case{kOctave, "", 26, 1, 26020, 38},
          Case{kThirdOctave, "", 68, 1, 68020, 14}}) {
        SCOPED_TRACE(std::string(c.kind->name) + c.profileTime);
        const records::RecordLayout layout = records::RecordLayout::For(c.kind, c.profileTime);
        EXPECT_EQ(layout.RecordBytes(), c.recordBytes);
        EXPECT_EQ(layout.SamplesPerRecord(), c.samplesPerRecord);
        EXPECT_EQ(layout.PageBytes(1000), c.pageBytesOf1000);
        EXPECT_EQ(layout.SamplesInPage(1020), c.samplesIn1020);
        EXPECT_EQ(layout.SamplesInPage(layout.PageBytes(1000)), 1000);
        EXPECT_EQ(layout.SamplesInPage(19), 0);
    }
    // A profile page keeps whole records: an odd page size at 0.25 s loses its last sample.
    EXPECT_EQ(records::RecordLayout::For(kProfile, "0.25s").PageBytes(501), 20 + 3 * 500);
    EXPECT_EQ(records::RecordLayout::For(kProfile, "0.125s").PageBytes(7), 20 + 10);
    EXPECT_EQ(records::RecordLayout::For(records::RecordKind::OfChannelMode(7), "").RecordBytes(),
              0);
    EXPECT_FALSE(records::RecordLayout::For(std::nullopt, "").IsValid());
}

TEST(RecordLayout, TimeAndLevelWordsKeepTheirBitsAndMarks) {
    EXPECT_EQ(records::PackTimeWord(14, 5, 7), (14 << 12) | (5 << 6) | 7);
    const records::ElapsedTime wrapped = records::UnpackTimeWord(records::PackTimeWord(25, 61, 61));
    EXPECT_EQ(wrapped.hours, 9);
    EXPECT_EQ(wrapped.minutes, 61);
    EXPECT_EQ(wrapped.seconds, 61);
    EXPECT_EQ(records::TimeWordSeconds(records::PackTimeWord(1, 2, 3)), 3723);

    EXPECT_EQ(records::LevelWord(" 45.6"), 456);
    EXPECT_EQ(records::LevelWord("  ---"), records::kNoValue);
    EXPECT_EQ(records::LevelText(records::kNoValue), "---");
    EXPECT_EQ(records::LevelText(945), "94.5");
    EXPECT_EQ(records::LevelText(0), "0.0");
}

TEST(SetupBlock, FieldsArePaddedOrCutInPlaceAndTheRestStaysUnset) {
    records::SetupBlock block;
    EXPECT_EQ(block.Bytes(), std::string(500, '\xFF'));
    block.SetField(records::SetupBlock::kModel, "QS4060_r1");
    block.SetField(records::SetupBlock::kSerialNumber, "A123456789012345");
    block.SetField(records::SetupBlock::kIntegrationMode, "SINGLE");
    EXPECT_EQ(block.Field(0), "QS4060_r1  ");
    EXPECT_EQ(block.Text(0), "QS4060_r1");
    EXPECT_EQ(block.Field(1), "A1234567890");
    EXPECT_EQ(block.Bytes().substr(484, 11), "SINGLE     ");
    EXPECT_EQ(block.Text(2), "");
    EXPECT_EQ(block.Bytes().substr(495), std::string(5, '\xFF'));
    block.SetField(45, "X");
    block.SetField(-1, "X");
    EXPECT_EQ(block.Field(45), "");
    block.Fill(11, 0xFF);
    EXPECT_EQ(block.Field(0), "QS4060_r1  ");
    EXPECT_EQ(block.Field(1), std::string(11, '\xFF'));

    const std::vector<unsigned char> short499(499, ' ');
    EXPECT_FALSE(records::SetupBlock::FromBytes(short499));
}

TEST(SetupBlock, SchedulerFieldsReadAsTimesOfTheDayOrNone) {
    const records::ScheduleTime minute = records::ParseSchedulerField("00:01:00");
    EXPECT_TRUE(minute.IsValid());
    EXPECT_EQ(minute.WholeSeconds(), 60);
    EXPECT_EQ(records::ParseSchedulerField("23:59:59").WholeSeconds(), 86399);
    EXPECT_EQ(records::ParseSchedulerField("NO SCHED").status, records::ScheduleTime::kNull);
    EXPECT_EQ(records::ParseSchedulerField("00:00:00").status, records::ScheduleTime::kNull);
    for (const char* bad : {"ab:cd:ef", "24:00:00", "00:60:00", "00-01-00", "0:1:0", "",
                            "\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF"})
        EXPECT_EQ(records::ParseSchedulerField(bad).status, records::ScheduleTime::kInvalid) << bad;

    // Rounded to the nearest second, either way from zero.
    EXPECT_EQ((records::ScheduleTime{records::ScheduleTime::kValid, 59.6 / 86400}).WholeSeconds(),
              60);
    EXPECT_EQ((records::ScheduleTime{records::ScheduleTime::kValid, -59.6 / 86400}).WholeSeconds(),
              -60);
    EXPECT_EQ(records::SchedulerFieldText(records::ScheduleTime::FromSeconds(3661)), "01:01:01");
    EXPECT_EQ(records::SchedulerFieldText(records::ScheduleTime{}), "NO SCHED");
}

TEST(RecordLayout, PageNamesOfAnIndexArePlainFilesOfItsFolder) {
    EXPECT_TRUE(records::IsPlainPageName("RecFile_20240309_140507.rec"));
    for (const char* name :
         {"", "..", "../x.rec", "a/b.rec", "a\\b.rec", "/etc/passwd", "x..rec", "bad\x01name"})
        EXPECT_FALSE(records::IsPlainPageName(name)) << name;
    EXPECT_EQ(records::RecordPageName("20240309_140507"), "RecFile_20240309_140507.rec");
    EXPECT_TRUE(records::IsIndexFirstLine("INDEX FILE"));
    EXPECT_FALSE(records::IsIndexFirstLine("INDEX"));
}

TEST(DumpLayout, EachRecordTypeHasOneLengthToReadAndCheckAndOneTheFileKeeps) {
    using Bytes = std::vector<unsigned char>;
    auto sent = [](const Bytes& head, bool reportOrEvent) -> std::optional<int> {
        if (const auto size = records::DumpRecordSizeOf(head, reportOrEvent))
            return size->sent;
        return std::nullopt;
    };
    // A multi record with a profile of 3 samples, octave and extra data after a REPORT setup.
    Bytes multi = {0x02, 0, 0, 0x10, 0x86, 3};
    EXPECT_EQ(records::DumpSizeBytes(multi), 6);
    EXPECT_EQ(sent(multi, true), 5 + 2 * 3 + 1 + 22 + 482 + 2 + 3);
    EXPECT_EQ(sent(multi, false), 5 + 2 * 3 + 1 + 22 + 2 + 3);
    multi.resize(5);  // the profile's count not there yet
    EXPECT_FALSE(sent(multi, false));
    const Bytes slmProfile = {0x02, 0, 0, 0x13, 0x03, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2};
    EXPECT_EQ(records::DumpSizeBytes(slmProfile), 16);
    EXPECT_EQ(sent(slmProfile, false), 15 + 5 + 3);
    // Up to the type byte, and no further for a type that is none.
    EXPECT_EQ(records::DumpSizeBytes(Bytes{0x02, 0}), 4);
    EXPECT_EQ(records::DumpSizeBytes(Bytes{0x02, 0, 0, 0x70}), 4);
    EXPECT_EQ(records::DumpSizeBytes(Bytes{0x02, 0, 0, 0x40}), 5);

    struct Case {
        unsigned char type;
        unsigned char flags;
        std::optional<records::DumpRecordSize> size;
    };
    auto same = [](int n) { return std::optional(records::DumpRecordSize{n, n}); };
    for (const Case& c : {Case{0x00, 0x61, same(18)}, Case{0x00, 0x40, same(1302)},
                          Case{0x00, 0x10, {}}, Case{0x20, 0x1F, same(24)},
                          Case{0x20, 0x4F, same(15 + 2 + 5 + 2 + 14)}, Case{0x23, 0, same(21)},
                          Case{0x27, 0, same(27)}, Case{0x37, 0, records::DumpRecordSize{14, 12}},
                          Case{0x40, 0, records::DumpRecordSize{66, 67}}, Case{0x50, 0, same(1000)},
                          Case{0x60, 0, same(18)}, Case{0x80, 0, same(49)}, Case{0x90, 0, same(61)},
                          Case{0x70, 0, {}}, Case{0xA0, 0, {}}}) {
        SCOPED_TRACE(c.type);
        EXPECT_EQ(records::DumpRecordSizeOf(Bytes{0x02, 0, 0, c.type, c.flags}, false), c.size);
    }
    EXPECT_FALSE(records::DumpRecordSizeOf(Bytes{0x03, 0, 0, 0x40, 0}, false));
    // The longest record the types allow still fits the decoder's buffer.
    Bytes longest(16, 0);
    longest[0] = 0x02;
    longest[3] = 0x10;
    longest[4] = 0xFF;
    longest[15] = 255;
    EXPECT_EQ(sent(longest, true), 1589);
    EXPECT_LE(1589, records::kDumpRecordBufferBytes);

    // A pause's checksum is its 13th byte, and it keeps 12 bytes; an end record keeps 67.
    const Bytes pause = {0x02, 0, 0, 0x30, 1, 1, 1, 1, 1, 1, 1, 1, 0x3A, 0x03};
    EXPECT_TRUE(records::DumpChecksumHolds(pause, 14));
    EXPECT_FALSE(records::DumpChecksumHolds(Bytes(pause.begin(), pause.begin() + 12), 14));
    EXPECT_EQ(records::KeptDumpRecord(pause, {14, 12}),
              std::string(pause.begin(), pause.begin() + 12));
    const Bytes end(66, 0x41);
    EXPECT_TRUE(records::DumpChecksumHolds(end, 66));  // no checksum to hold
    EXPECT_EQ(records::KeptDumpRecord(end, {66, 67}), std::string(66, 'A') + '\xFF');
}

TEST(DumpLayout, LevelTextsOfTheRecordsSecondAndThirdBytes) {
    for (const auto& [word, text] :
         std::vector<std::pair<std::uint16_t, std::string>>{{5, "0.5"},
                                                            {0xFFFB, "-0.5"},
                                                            {1234, "123.4"},
                                                            {0, "0.0"},
                                                            {0xFB2E, "-123.4"},
                                                            {0x6C00, "_und"},
                                                            {0x6F00, "_ofl"},
                                                            {0x7200, "_err"},
                                                            {0x8000, "-3276.8"}})
        EXPECT_EQ(records::DumpLevelText(static_cast<unsigned char>(word >> 8),
                                         static_cast<unsigned char>(word & 0xFF)),
                  text)
            << word;
}

TEST(DataBufferView, SamplesAreReadByIndexNeverPastTheLoadedBytes) {
    const records::RecordLayout profile = records::RecordLayout::For(kProfile, "0.125s");
    std::string page(20, ' ');
    const std::vector<std::uint16_t> first = {1, 2, 3, 4};
    const std::vector<std::uint16_t> second = {5, 6, 7, 8};
    page += records::EncodeRecord(records::PackTimeWord(0, 0, 1), first) +
            records::EncodeRecord(records::PackTimeWord(0, 0, 2), second);
    std::vector<unsigned char> buffer(page.begin(), page.end());
    buffer.resize(100, 0xFF);
    const DataBufferView view(buffer, profile, static_cast<long long>(page.size()));
    ASSERT_EQ(view.SampleCount(), 8);
    EXPECT_EQ(view.Value(0, 0), 1);
    EXPECT_EQ(view.Value(5, 0), 6);
    EXPECT_EQ(view.TimeSeconds(3), 1);
    EXPECT_EQ(view.TimeSeconds(4), 2);
    EXPECT_FALSE(view.Value(8, 0));
    EXPECT_FALSE(view.Value(0, 1));
    EXPECT_FALSE(view.Value(-1, 0));
    EXPECT_EQ(view.StartText(), "");

    // Loaded bytes beyond the buffer count as the buffer.
    const DataBufferView spectrum(buffer, records::RecordLayout(kOctave), 1 << 30);
    EXPECT_EQ(spectrum.SampleCount(), (100 - 20) / 26);
    EXPECT_EQ(spectrum.Values(2).size(), 12u);
}

TEST(RecordLayoutGolden, TheWritersBytesAreThoseOfTheReference) {
    SKIP_WITHOUT("python3");
    testenv::ScratchFolder folder;
    records::SetupBlock block;
    block.SetField(records::SetupBlock::kModel, "QS4160_L0$1");
    block.SetField(records::SetupBlock::kSerialNumber, "A12345");
    block.SetField(records::SetupBlock::kAcquisitionMode, "THIRD OCTAV");
    block.SetField(records::SetupBlock::kPagingSize, "00000010000");
    block.SetField(records::SetupBlock::kIntegrationMode, "MULTI");  // gives way to the schedule
    WriteFile("head.bin", records::PageFileHead(block, records::ScheduleTime::FromSeconds(60),
                                                records::ScheduleTime::FromSeconds(3600),
                                                "2024/03/09 14:05:07 "));
    records::SetupBlock plain;
    plain.SetField(records::SetupBlock::kModel, "QS4060_00$1");
    WriteFile("unscheduled.bin",
              records::PageFileHead(plain, records::ScheduleTime{}, records::ScheduleTime{},
                                    "2024/12/31 23:59:59"));

    const std::vector<std::uint16_t> levels = {456, records::LevelWord("---"), 0, 1400, 65535};
    WriteFile("levels.bin", records::EncodeRecord(records::PackTimeWord(25, 61, 61), levels));
    std::vector<std::uint16_t> octave;
    for (int band = 0; band < 12; ++band)
        octave.push_back(static_cast<std::uint16_t>((700 + 10 * band) % 1400));
    octave[3] = records::kNoValue;
    WriteFile("octave.bin", records::EncodeRecord(records::PackTimeWord(1, 2, 3), octave));
    std::vector<std::uint16_t> third;
    for (int band = 0; band < 33; ++band)
        third.push_back(static_cast<std::uint16_t>(10 * band));
    WriteFile("third.bin", records::EncodeRecord(records::PackTimeWord(23, 59, 59), third));
    const std::vector<std::uint16_t> profile = {451, 452, records::kNoValue, 454};
    WriteFile("profile.bin", records::EncodeRecord(records::PackTimeWord(0, 0, 30), profile));
    // The filler byte 65 is set, whatever a buffer held before.
    auto end = records::IncompleteDumpRecord("12", 0x21);
    WriteFile("incomplete.bin", std::string(end.begin(), end.end()));
    end = records::IncompleteDumpRecord("0", 0x00);
    WriteFile("incomplete_first.bin", std::string(end.begin(), end.end()));
    WriteFile("index.kr9", records::IndexFileText({records::RecordPageName("20240309_140507"),
                                                   records::RecordPageName("20240309_150000")}));

    EXPECT_EQ(acqtest::RunReference("layout_reference.py", "check .", "check.txt"), 0)
        << folder.Read("check.txt");
}
