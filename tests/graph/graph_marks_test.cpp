// The texts of markers, labels and events, the marker comparison read-out and the limits the
// "General" page shows.
#include <gtest/gtest.h>

#include "graph/graph_marks.h"
#include "graph/graph_property_pages.h"

using namespace graph;

TEST(GraphMarksTest, MarkersAreStoredAtTheirPlaceAndAnEmptyOneIsNoSampleZero) {
    std::vector<std::string> markers;
    StoreMarker(markers, kMarkerB, MakeMarker("120", "10:00:02#61.5#$1"));
    ASSERT_EQ(markers.size(), 2u);
    EXPECT_EQ(markers[kMarkerA], "");
    EXPECT_FALSE(ParseMarker(markers[kMarkerA]));
    EXPECT_FALSE(HasBothMarkers(markers));

    StoreMarker(markers, kMarkerA, MakeMarker("7", "10:00:00#40.0#$0"));
    EXPECT_EQ(markers.size(), 2u);
    ASSERT_TRUE(HasBothMarkers(markers));
    const Marker b = *ParseMarker(markers[kMarkerB]);
    EXPECT_EQ(b.sample, 120);
    EXPECT_EQ(b.Time(), "10:00:02");
    EXPECT_EQ(b.Level(), "61.5");
    EXPECT_EQ(b.Rest(), "$1");
    EXPECT_EQ(b.Channel(), 1);

    std::vector<std::string> single;
    StoreMarker(single, kMarkerA, "3#x");
    StoreMarker(single, kMarkerA, "4#x");
    EXPECT_EQ(single, std::vector<std::string>{"4#x"});
    StoreMarker(single, 2, "5#x");  // no third marker
    EXPECT_EQ(single.size(), 1u);

    // Digits that are no sample number, or one too large to hold, mark nothing.
    for (const char* text : {"#x", "12a#x", "-3#x", "99999999999999999999#x", ""})
        EXPECT_FALSE(ParseMarker(text)) << text;
    EXPECT_EQ(ParseMarker("5")->readout, "");
    EXPECT_EQ(ParseMarker("5#x=5 , y=1")->Channel(), -1);
}

TEST(GraphMarksTest, TheSampleDigitsComeFromTheXPartOfTheCoordinates) {
    EXPECT_EQ(SampleDigits(CoordinateText("12 ", "50.00 dB")), "12");
    EXPECT_EQ(SampleDigits("x=12.75 s, y=1"), "12");
    EXPECT_EQ(SampleDigits("x=-3 , y=1"), "");
    EXPECT_EQ(SampleDigits("x=5"), "");       // no comma
    EXPECT_EQ(SampleDigits("y, x=5 ,"), "");  // comma before the equals sign
    EXPECT_EQ(SampleDigits("x=,"), "");
}

TEST(GraphMarksTest, ALabelKeepsItsSixFieldsWhateverIsTypedIntoIt) {
    const std::string record =
        MakeLabelRecord({3, "SLM5", "12 ", "50.00 d#B", "door #2\r\nslam", "rec\n1"});
    EXPECT_EQ(record, "3#SLM5#12 #50.00 d B#door  2  slam#rec 1");
    EXPECT_EQ(std::count(record.begin(), record.end(), '\n'), 0);
    const std::optional<GraphLabel> label = ParseLabelRecord(record);
    ASSERT_TRUE(label);
    EXPECT_EQ(label->record, 3);
    EXPECT_EQ(label->yText, "50.00 d B");
    EXPECT_EQ(label->text, "door  2  slam");
    EXPECT_EQ(label->second, "rec 1");

    EXPECT_EQ(ParseLabelRecord("4#OCTAVE#1#2")->text, "");
    EXPECT_FALSE(ParseLabelRecord("4#OCTAVE#1"));
    EXPECT_FALSE(ParseLabelRecord("x#OCTAVE#1#2"));

    const std::optional<EventSpan> span = ParseEventSpan("2#100", "3#5");
    ASSERT_TRUE(span);
    EXPECT_EQ(span->startRecord, 2);
    EXPECT_EQ(span->endSample, 5);
    EXPECT_FALSE(ParseEventSpan("2", "3#5"));
    EXPECT_FALSE(ParseEventSpan("2#1", "3#x"));
}

TEST(GraphMarksTest, TimesAreReadOnlyWhereTheTextHasThem) {
    EXPECT_EQ(TimeDifference("10:00:05", "11:02:07", false), "01:02:02");
    EXPECT_EQ(TimeDifference("11:02:07", "10:00:05", false), "-01:02:02");
    EXPECT_EQ(TimeDifference("10:00:0", "11:02:07", false), "");  // seven characters
    EXPECT_EQ(TimeDifference("", "", false), "");
    EXPECT_EQ(TimeDifference("ab:cd:ef", "11:02:07", false), "");
    EXPECT_EQ(TimeDifference("2024/02/28 23:00:00", "2024/03/01 01:00:30", true), "26:00:30");
    EXPECT_EQ(TimeDifference("2024/02/30 23:00:00", "2024/03/01 01:00:30", true), "");
    EXPECT_EQ(TimeDifference("2024/02/28 23:00", "2024/03/01 01:00:30", true), "");
}

TEST(GraphMarksTest, TheComparisonShowsBothMarkersAndTheirDifference) {
    const Marker a{10, "10:00:00.500#40.04#$0"};
    const Marker b{20, "10:00:10#52.5#$2"};
    EXPECT_EQ(MarkerComparison(a, "10:00:00.500", b, "10:00:10", "cur", true, false),
              "A: 10:00:00.500  40.0 dB\rB: 10:00:10  52.5 dB\r\rB-A: 00:00:10   12.5 dB"
              " (-500ms)");
    EXPECT_EQ(MarkerComparison(a, "10:00:00", b, "10:00:10.500", "cur", false, false),
              "Curr: cur\r\rA:10:00:00  40.0 dB $0\rB: 10:00:10.500  52.5 dB $2\r\r"
              "B-A: 00:00:10   12.5 dB  (+500ms)");
    EXPECT_EQ(MarkerComparison(a, "", b, "", "cur", false, true),
              "Curr: cur\r\rA:   40.0 dB $0\rB:   52.5 dB $2\r\rB-A:    12.5 dB ");
}

TEST(GraphMarksTest, NumbersAreReadTheSameInEveryLocale) {
    EXPECT_EQ(LeadingNumber(" 50.25 dB"), 50.25);
    EXPECT_EQ(LeadingNumber("+3"), 3);
    EXPECT_EQ(LeadingNumber("-0.5x"), -0.5);
    EXPECT_EQ(LeadingNumber("dB"), 0);
    EXPECT_EQ(LeadingNumber(""), 0);
}

TEST(GraphMarksTest, TheGeneralPageCutsLimitsWithoutRounding) {
    EXPECT_EQ(CutLimit(-3.75, 0), -3);
    EXPECT_EQ(CutLimit(12.9, 0), 12);
    EXPECT_EQ(CutLimit(-3.75, 1), -3.7);
    EXPECT_EQ(CutLimit(12.9, 1), 12.9);
    EXPECT_EQ(CutLimit(0.99, 1), 0.9);
    EXPECT_EQ(CutLimit(1e20, 0), 1e20);
}
