#pragma once
// What the main view and its graph windows' host use of the program, none of it owned: the
// frame hands it to the view it builds. A view built without it (a test's) shows a recording of
// its own and reaches nothing else.

class ChartWindows;
class DataViewState;
class FrameDataFiles;
class FrameUi;
class MeterMode;

namespace acquisition {
class Recording;
}  // namespace acquisition

namespace records {
class SetupBlock;
}  // namespace records

struct ViewUses {
    // The recording the lists and graphs show, live or loaded.
    acquisition::Recording& recording;
    // The channel mode, live monitoring, data logging and scheduler mode.
    const MeterMode& mode;
    // The legend, the "Spectrum" windows, the equal-loudness contour and the charts' host.
    ChartWindows& charts;
    // The reader of a stored page, the navigator and the audio labels.
    FrameDataFiles& dataFiles;
    // The data-view commands' cross-reference switch and display-mode word, set when the view
    // is first shown.
    DataViewState& dataView;
    // The frame's title.
    FrameUi& ui;
    // The meter's setup as the record files keep it (a data file's, once one is opened), which
    // the parameter list describes.
    const records::SetupBlock& setupBlock;
};
