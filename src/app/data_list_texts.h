#pragma once
// What the main view's two lists of a recording show: the columns of each recording kind and
// the data list's cell texts, read on demand from the application's data buffer.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "ui/list_common.h"

class CInstrStatus;
namespace charts {
class IsophoneContour;
}

// Recording kinds; the frame's channel mode uses the same numbers (-1 none).
enum RecordingKind { kSoundLevelMeter = 0, kProfile = 1, kOctave = 2, kThirdOctave = 3 };

// The columns of a kind; none for a number that is no kind. Headings of the measured values
// come from `current` (SLM1_PAR ..., PROFILE_PARAM, SPECT_AUX_POND).
std::vector<ui::ListColumn> DataListColumns(int kind, const CInstrStatus& current);

// Everything a cell's text depends on.
struct DataListSource {
    int kind = -1;
    std::string model;
    std::string integrationTime;  // INTEGRATION_TIME: "10 s", "5 m", "1 h"
    std::string profileTime;      // PROFILE_TIME: "0.125s", "0.25s", "0.5s"
    std::string instrumentDate;   // DATE and TIME, bare or after "Instr.Date: "/"Instr.Time: "
    std::string instrumentTime;
    // The loaded page: a 20-byte head, then records of 16-bit words.
    std::span<const unsigned char> buffer;
    long long selectedPage = 0;
    long long recordsPerPage = 0;
    // Full time stamps in the time column; in scheduler mode the frame formats them.
    bool absoluteTimes = false;
    bool schedulerMode = false;
    std::function<std::string(int row)> sampleTime;
    // The status of a spectrum record (kinds 2 and 3), as the data format gives it.
    std::function<std::string(int row)> recordStatus;
};

std::string DataListCellText(const DataListSource& source, int row, int column);

// The band levels of spectrum record `row` (kind 2 or 3) of the loaded page: the words after
// its time word; fewer when the buffer ends inside the record, none for another kind or row.
std::vector<uint16_t> SpectrumRecordLevels(std::span<const unsigned char> buffer, int kind,
                                           int row);

// The equal-loudness row: "ISOPHONE" in column 1, then the contour's level at each band from
// column 2 (20 Hz) on.
std::string IsophoneCellText(int column, const charts::IsophoneContour& contour);

// The integration interval in seconds; 0 when the text holds none.
long long IntegrationSeconds(const std::string& text);
