#pragma once
// What the operator and the acquisition side mark on recorded data, as the program keeps it:
// the two measurement markers, the text labels and the event spans, each a text of fields
// joined by "#". This is the one place that builds and reads those texts; the tables
// themselves belong to the application and are shared by every graph window.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace graph {

struct GraphMarks {
    // At most two: marker A, then marker B; A may be empty when B was set first.
    std::vector<std::string> markers;
    // "record#kind#x text#y text#text#second text".
    std::vector<std::string> labels;
    // The start and the end of each event: "record#sample".
    std::vector<std::string> eventStarts;
    std::vector<std::string> eventEnds;
    // The record whose labels are shown (-1: none).
    int currentRecord = -1;
};

constexpr int kMarkerA = 0;
constexpr int kMarkerB = 1;

// One marker: the sample it stands on and the read-out text of that sample, whose fields are
// the time and the level (level mode adds "$" and the channel's series number).
struct Marker {
    long long sample = 0;
    std::string readout;

    std::string Time() const;
    std::string Level() const;
    // The read-out's fields after the level, joined again by "#".
    std::string Rest() const;
    // The digit after the last "$", or -1.
    int Channel() const;
};

// "digits#read-out".
std::string MakeMarker(const std::string& sampleDigits, const std::string& readout);
// Nothing for an empty entry or one whose digits are not a sample number that fits.
std::optional<Marker> ParseMarker(std::string_view text);
// Marker A is stored at entry 0 (the table grows to one entry when empty); marker B at entry
// 1 of a table of exactly two. Other indices change nothing.
void StoreMarker(std::vector<std::string>& markers, int which, const std::string& text);
// Both markers are set and readable.
bool HasBothMarkers(const std::vector<std::string>& markers);

// The sample digits of a coordinate text "x=12 , y=50.00 dB": the text between the first "="
// and the first ",", without its last character, cut to its leading digits.
std::string SampleDigits(std::string_view coordinates);
// "x=%s, y=%s".
std::string CoordinateText(const std::string& x, const std::string& y);

struct GraphLabel {
    int record = -1;
    std::string kind;
    std::string xText;
    std::string yText;
    std::string text;
    std::string second;
};

// "%d#%s#%s#%s#%s#%s". A "#", CR or LF inside a text becomes a blank, so that the record keeps
// its six fields and its line in the label file.
std::string MakeLabelRecord(const GraphLabel& label);
// Missing trailing fields read as empty; nothing without the four that place the label.
std::optional<GraphLabel> ParseLabelRecord(std::string_view record);

struct EventSpan {
    int startRecord = 0;
    long long startSample = 0;
    int endRecord = 0;
    long long endSample = 0;
};

// Nothing when either end is not "record#sample".
std::optional<EventSpan> ParseEventSpan(std::string_view start, std::string_view end);

// The leading number of a text, as C's atof reads it but in every locale the same: 0 when
// there is none.
double LeadingNumber(std::string_view text);

// What the read-out shows while both markers are set: their times and levels and the
// difference from A to B, shorter for channels' levels. `current` is the read-out of the
// cursor's position; `absoluteTimes` says the times are full date-times ("%Y/%m/%d
// %H:%M:%S"), else times of day ("%H:%M:%S").
std::string MarkerComparison(const Marker& a, const std::string& timeA, const Marker& b,
                             const std::string& timeB, const std::string& current,
                             bool channelLevels, bool absoluteTimes);
// The time from A to B as "%H:%M:%S" (hours counted on past a day, "-" before a negative one);
// empty when either time cannot be read.
std::string TimeDifference(std::string_view timeA, std::string_view timeB, bool absoluteTimes);

}  // namespace graph
