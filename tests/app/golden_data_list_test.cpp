// Golden data-list rows: a data file of each recording kind (levels of both families, a profile,
// octaves, third octaves, and a scheduled recording whose acquisition time is no multiple of its
// spectrum interval) opened in the program, and every page's rows as the data list shows them:
// the headings, then each row's image, its time as elapsed and as a full date-time, and the
// texts of its other columns.
//
// The rows are kept in tests/app/golden/data_list_rows.txt; KX9_UPDATE_GOLDEN=1 writes it again
// instead of comparing (support/golden_file.h).
#include <gtest/gtest.h>

#include "app/frame_data_files.h"
#include "platform/text.h"
#include "records/record_layout.h"
#include "support/golden_file.h"
#include "view_test_support.h"

using namespace viewtest;
using golden::Lines;
using records::SetupBlock;

namespace {

struct Recording {
    const char* model;
    const char* mode;  // the setup block's acquisition mode: the recording's kind
    records::RecordKind kind;
    const char* profileTime;
    const char* spectrumTime;
    int pageSize;
    long long acquisitionSeconds;  // 0: not scheduled
    long long repetitionSeconds;
};

// The setup block of a page file of `recording`, the scheduler fields in its last bytes.
std::string Head(const Recording& recording, const std::string& start) {
    SetupBlock block;
    block.SetField(SetupBlock::kModel, recording.model);
    block.SetField(SetupBlock::kSerialNumber, "A12345");
    block.SetField(SetupBlock::kDate, "2024/01/31");
    block.SetField(SetupBlock::kTime, "23:59:58");
    block.SetField(SetupBlock::kProfileTime, recording.profileTime);
    block.SetField(SetupBlock::kSpectrumTime, recording.spectrumTime);
    const char* params[] = {"Leq:A", "LFmx:A", "Lpk:C", "LSmn:A", "L1"};
    for (int slm = 0; slm < 5; ++slm)
        block.SetField(SetupBlock::kSlm1Param + slm, params[slm]);
    block.SetField(SetupBlock::kSpectAuxWeighting, "LAeq");
    block.SetField(SetupBlock::kAcquisitionMode, recording.mode);
    block.SetField(SetupBlock::kPagingSize, platform::Format("%.11d", recording.pageSize));
    const auto time = [&recording](long long seconds) {
        return recording.acquisitionSeconds ? records::ScheduleTime::FromSeconds(seconds)
                                            : records::ScheduleTime{};
    };
    return records::PageFileHead(block, time(recording.acquisitionSeconds),
                                 time(recording.repetitionSeconds), start);
}

// `records` records from record `first` on, a second apart; their values differ from record to
// record and value to value, and one is missing.
std::string Records(const Recording& recording, int first, int records) {
    const auto layout = records::RecordLayout::For(recording.kind, recording.profileTime);
    std::string bytes;
    for (int record = first; record < first + records; ++record) {
        std::vector<std::uint16_t> values;
        for (int value = 0; value + 1 < layout.WordsPerRecord(); ++value)
            values.push_back(
                record == 1 && value == 2
                    ? records::kNoValue
                    : static_cast<std::uint16_t>(300 + (37 * record + 11 * value) % 900));
        bytes += records::EncodeRecord(
            records::PackTimeWord(record / 3600, (record / 60) % 60, record % 60), values);
    }
    return bytes;
}

// A page's start text as the files keep it: 20 characters.
std::string Start(const std::string& text) {
    std::string start = text;
    start.resize(records::kPageStartBytes, ' ');
    return start;
}

class GoldenDataListTest : public ViewTest {
protected:
    GoldenDataListTest() { view.OnInitialUpdate(); }

    // One file of pages of `counts` records each.
    void WriteSingle(const std::string& name, const Recording& recording,
                     const std::vector<int>& counts) {
        std::string file = Head(recording, "2024/01/31 23:59:58");
        for (size_t page = 0, first = 0; page < counts.size(); first += counts[page++]) {
            if (page > 0)
                file +=
                    Start(platform::Format("2024/01/31 23:59:%.2d", 58 + static_cast<int>(page)));
            file += Records(recording, static_cast<int>(first), counts[page]);
        }
        folder.Write(name, file);
    }
    // An index and a page file for each page of `counts` records.
    void WriteIndexed(const std::string& name, const Recording& recording,
                      const std::vector<int>& counts) {
        std::vector<std::string> pages;
        for (size_t page = 0, first = 0; page < counts.size(); first += counts[page++]) {
            pages.push_back(name + "_p" + std::to_string(page) + ".rec");
            const std::string start =
                platform::Format("2024/03/09 14:%.2d:07", 5 + static_cast<int>(page));
            folder.Write(
                pages.back(),
                Head(recording, start) + Records(recording, static_cast<int>(first), counts[page]));
        }
        folder.Write(name + ".kr9", records::IndexFileText(pages));
    }

    // Opens `file` and answers what the data list shows of each of its pages.
    Lines Shown(const std::string& file) {
        Lines lines{"== " + file};
        frame.DataFiles().Reader().OpenSessionFile(folder.File(file));
        for (int row = 0; row + 1 < view.m_PageList.GetItemCount(); row += 2) {
            view.m_PageList.SetAllRowStates(ui::RVS_ALL, ui::RVS_UNSELECTED);
            view.m_PageList.SetRowStates(row, ui::RVS_SELECTED);
            view.OnClickList1602();
            lines.push_back("-- " + view.m_PageList.GetItemText(row, 0) + " " +
                            platform::Trim(view.m_PageList.GetItemText(row + 1, 0)));
            AppendRows(lines);
        }
        return lines;
    }

    // An empty text shows as "" so that no line ends in blanks.
    static std::string Cell(const std::string& text) { return text.empty() ? "\"\"" : text; }

    void AppendRows(Lines& lines) {
        const ui::VirtualListCtrl& list = view.m_DataList;
        std::string headings = "image | time | date-time";
        for (int column = 1; column < list.GetColumnCount(); ++column)
            headings += " | " + Cell(list.Column(column).heading);
        lines.push_back(headings);
        for (int row = 0; row < list.GetItemCount(); ++row) {
            frame.m_recording.SetAbsoluteTimes(true);
            const std::string dateTime = list.GetItemText(row, 0);
            frame.m_recording.SetAbsoluteTimes(false);
            std::string line = std::to_string(view.DataListRowImage(row)) + " | " +
                               Cell(list.GetItemText(row, 0)) + " | " + Cell(dateTime);
            for (int column = 1; column < list.GetColumnCount(); ++column)
                line += " | " + Cell(list.GetItemText(row, column));
            lines.push_back(line);
        }
    }
};

}  // namespace

TEST_F(GoldenDataListTest, TheRowsOfEachRecordingKindAsTheDataListShowsThem) {
    using testkinds::kOctave;
    const Recording levels4160 = {"QS4160_L0$1", "SLM", kSoundLevelMeter, "0.5s", "1s", 3, 0, 0};
    const Recording levels4060 = {"QS4060_rn1$1", "SLM", kSoundLevelMeter, "0.5s", "1s", 3, 0, 0};
    const Recording profile = {"QS4160_L0$1", "PROFILE", kProfile, "0.125s", "1s", 8, 0, 0};
    const Recording octave = {"QS4160_L0$1", "OCTAVE", kOctave, "0.5s", "1s", 3, 0, 0};
    const Recording third = {"QS4060_c0$1", "THIRD OCTAV", kThirdOctave, "0.5s", "0.5s", 2, 0, 0};
    // Five seconds of acquisition every minute, a spectrum every two seconds.
    const Recording scheduled = {"QS4160_L0$1", "OCTAVE", kOctave, "0.5s", "2s", 4, 5, 60};
    WriteSingle("levels_qs4160.kr9", levels4160, {3, 2});
    WriteSingle("levels_qs4060.kr9", levels4060, {3});
    WriteSingle("profile.kr9", profile, {2, 1});
    WriteSingle("octave.kr9", octave, {3});
    WriteSingle("third.kr9", third, {2});
    WriteIndexed("scheduled", scheduled, {4, 3});

    Lines all;
    for (const char* file : {"levels_qs4160.kr9", "levels_qs4060.kr9", "profile.kr9", "octave.kr9",
                             "third.kr9", "scheduled.kr9"}) {
        SCOPED_TRACE(file);
        const Lines shown = Shown(file);
        EXPECT_GT(shown.size(), 3u);
        all.insert(all.end(), shown.begin(), shown.end());
    }
    EXPECT_TRUE(frame.m_recording.IsScheduled());
    EXPECT_TRUE(golden::MatchesGolden("tests/app/golden/data_list_rows.txt", all));
}
