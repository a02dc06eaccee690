#pragma once
// What the main view's two lists of a recording show: the columns of each recording kind and
// the data list's cell texts, read on demand from the application's data buffer.

#include <string>
#include <vector>

#include "acquisition/data_buffer.h"
#include "acquisition/sample_timebase.h"
#include "ui/list_common.h"

class CInstrStatus;
namespace charts {
class IsophoneContour;
}

// The columns of a recording kind (acquisition::RecordingKind); none for a number that is no
// kind. Headings of the measured values come from `current` (SLM1_PAR ..., PROFILE_PARAM,
// SPECT_AUX_POND).
std::vector<ui::ListColumn> DataListColumns(int kind, const CInstrStatus& current);

// Everything a cell's text depends on.
struct DataListSource {
    // The page in the data buffer; its layout is the kind of the cells.
    acquisition::DataBufferView page;
    std::string model;
    std::string integrationTime;  // INTEGRATION_TIME: "10 s", "5 m", "1 h"
    std::string profileTime;      // PROFILE_TIME: "0.125s", "0.25s", "0.5s"
    std::string instrumentDate;   // DATE and TIME, bare or after "Instr.Date: "/"Instr.Time: "
    std::string instrumentTime;
    long long selectedPage = 0;
    long long recordsPerPage = 0;
    // Full time stamps in the time column: from the timebase of a scheduled recording, else
    // from the instrument's clock.
    bool absoluteTimes = false;
    const acquisition::Timebase* schedule = nullptr;
};

std::string DataListCellText(const DataListSource& source, int row, int column);

// The equal-loudness row: "ISOPHONE" in column 1, then the contour's level at each band from
// column 2 (20 Hz) on.
std::string IsophoneCellText(int column, const charts::IsophoneContour& contour);

// The integration interval in seconds; 0 when the text holds none.
long long IntegrationSeconds(const std::string& text);
