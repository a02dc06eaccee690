#pragma once
// What the data-acquisition side needs of the application: its data buffer, the instrument
// setup that a recording brings, and the frame's and view's windows that show a loaded
// recording.

#include <optional>
#include <string>

#include "acquisition/data_buffer.h"
#include "acquisition/data_set.h"
#include "records/record_layout.h"

namespace acquisition {

class AcquisitionHost {
public:
    virtual ~AcquisitionHost() = default;

    // --- the application's shared data
    virtual PageBuffer DataBuffer() = 0;
    virtual void SetDataLoaded() = 0;

    // --- the frame and the view
    // A data file is being opened: the data-file flag, the model "QS4160", the frame's title
    // for `path`, both setup records reset, the lists and graph series emptied, the first bar
    // chart hidden.
    virtual void BeginDataFile(const std::string& path) = 0;
    // The setup a recording was made with becomes the current one: the model, date and time,
    // measured parameters, profile and spectrum times, the channel mode, the level scale and
    // the page size.
    virtual void TakeRecordingSetup(const RecordingSetup& setup) = 0;
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;

    // The data list shown, the report list hidden, and the graph windows, bar charts, legend
    // and navigator as a recording of `kind` has them.
    virtual void ShowLoadedDataViews(std::optional<records::RecordKind> kind) = 0;
    // The data list's row count, then every row drawn again.
    virtual void SetDataListCount(long long rows) = 0;
    // A page is in the data buffer: the 3-D window, graph windows and navigator follow it.
    virtual void OnPageLoaded(std::optional<records::RecordKind> kind, long long samples) = 0;
    // The audio-label window: made when missing, its list refreshed, shown when the labels
    // hold audio labels and hidden otherwise.
    virtual void UpdateAudioLabelWindow(bool hasAudioLabels) = 0;
    // The scheduler log window (dialog 377) of a scheduled recording; showing it gives it the
    // data file's path and does nothing when it was never made.
    virtual void CreateSchedulerLogWindow() = 0;
    virtual void ShowSchedulerLogWindow(const std::string& path) = 0;
};

}  // namespace acquisition
