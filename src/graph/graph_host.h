#pragma once
// What a graph needs of the application: the time texts that label the horizontal ruler,
// which are the first column of the list that shows the graph's recording, and the state of
// the recording that its panel draws over the curves and its commands change. Every call but
// the first has the answer of a graph on its own (no recording, no marks), so that a graph
// shown outside the main view needs to give only its time texts.

#include <string>
#include <vector>

namespace graph {

struct GraphMarks;

// The program's state that decides what a panel draws and which commands it offers.
struct GraphContext {
    bool liveMonitoring = false;  // records are arriving and going to the live graph
    int selectedSegment = -1;     // the page shown; -1 the last (live) one
    // The list column whose "LAST" marks the panel highlights; 0 none.
    int statusColumn = 0;
    // The recording's points are channels' levels: a marker belongs to its channel's series
    // and the markers' read-out compares levels.
    bool channelLevels = false;
    std::string recordKind;      // of the loaded record ("SLM5", "OCTAVE", ...)
    bool absoluteTimes = false;  // list times are full date-times
    bool wideLine = false;       // draw the sixth series wide
    int underRangeLevel = 0;     // dB, written beside the "UR" series
};

// The main view's display switches that outlive a graph window.
enum class ViewSwitch { PointMarks, Axis, MarkersCleared };

class GraphHost {
public:
    virtual ~GraphHost() = default;
    // Column 0 of that row of the list in use (the live report list while the last segment is
    // shown, else the data list); empty for a row the list does not have.
    virtual std::string TimeLabel(int row) = 0;

    // --- what the panel draws and reads out
    virtual GraphContext Context() const { return {}; }
    // The application's marker, label and event tables; nullptr when there are none.
    virtual GraphMarks* Marks() { return nullptr; }
    // The rows among first..last of the list in use whose cell in `column` reads `status`.
    virtual std::vector<int> RowsWithStatus(int /*column*/, const std::string& /*status*/,
                                            int /*first*/, int /*last*/) {
        return {};
    }
    // The samples among first..last of the selected segment that begin an acquisition.
    virtual std::vector<int> ReportIntervalSamples(int /*first*/, int /*last*/) { return {}; }
    // The read-out of a panel pixel, given its coordinate text "x=..., y=...".
    virtual std::string FormatPointReadout(int /*x*/, int /*y*/, const std::string& coordinates) {
        return coordinates;
    }

    // --- what the graph's commands change in the program
    virtual bool GetViewSwitch(ViewSwitch /*which*/) const { return false; }
    virtual void SetViewSwitch(ViewSwitch /*which*/, bool /*on*/) {}
    // The zoom depth: one deeper after each zoom to a rectangle, 0 after zooming out.
    virtual void ZoomedIn() {}
    virtual void ZoomReset() {}
    // The graph window that shows the selected segment is hidden and shown again; nothing
    // when there is no such window.
    virtual void RefreshSegmentGraph() {}
    // A label was appended to the table: it is saved with the recording's labels and the
    // audio-label window refreshed, and shown when `showAudioLabels`.
    virtual void OnLabelAdded(bool /*showAudioLabels*/) {}
    // "Clear Labels": the audio-label window, which removes them, in its clearing mode.
    virtual void ClearLabels() {}
    // A double click in a panel: the view takes the record kind, the list selections go.
    virtual void OnPanelDoubleClick() {}
};

}  // namespace graph
