#pragma once
// What the main view's two lists of a recording show: the columns of each recording kind and
// the data list's cell texts, read on demand from the application's data buffer. The rows of
// a kind follow the shape of its records (RecordKindTraits::shape).

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "acquisition/data_buffer.h"
#include "acquisition/sample_timebase.h"
#include "ui/list_common.h"

class CInstrStatus;

namespace acquisition {

// The columns of a recording kind, by the shape of its records; none without a kind. Headings
// of the measured values come from `current` (SLM1_PAR ..., PROFILE_PARAM, SPECT_AUX_POND),
// a spectrum's from its band captions.
std::vector<ui::ListColumn> DataListColumns(std::optional<records::RecordKind> kind,
                                            const CInstrStatus& current);
// The column of a kind's rows that holds a record's status ("LAST") as the graph panels look
// for it ("QS4060" levels 4, other levels 6, profile 2); 0 for rows without one.
int StatusColumn(std::optional<records::RecordKind> kind, std::string_view model);

// Everything a cell's text depends on.
struct DataListSource {
    // The page in the data buffer; its layout is the kind of the cells.
    DataBufferView page;
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
    const Timebase* schedule = nullptr;
};

std::string DataListCellText(const DataListSource& source, int row, int column);

// The equal-loudness row: "ISOPHONE" in column 1, then from column 2 (20 Hz) on the contour's
// level at each of its bands, from 0 on; nothing where the contour has none.
std::string IsophoneCellText(int column,
                             const std::function<std::optional<double>(int band)>& contourLevel);

}  // namespace acquisition
