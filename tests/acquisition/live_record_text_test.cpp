// The live record texts read into what a row shows and a page stores: every offset checked, a
// cut-off record giving missing values rather than a neighbour's level.
#include <gtest/gtest.h>

#include "acquisition/live_record_text.h"
#include "live_records.h"

using namespace acquisition;

namespace {

std::vector<std::uint16_t> Words(const std::vector<int>& tenths) {
    std::vector<std::uint16_t> words;
    for (const int value : tenths)
        words.push_back(value == simmeter::kMissing ? records::kNoValue
                                                    : static_cast<std::uint16_t>(value));
    return words;
}

}  // namespace

TEST(LiveRecordText, LevelRecordsGiveFiveLevelsAndTheirMarker) {
    const LiveRecordText plain = ParseLevelRecord(
        simmeter::LiveLevelRecord(3725, {456, 1000, simmeter::kMissing, 5, 781}), 5);
    ASSERT_TRUE(plain.elapsed);
    EXPECT_EQ(ElapsedText(*plain.elapsed), "01:02:05");
    EXPECT_TRUE(plain.hasLevels);
    EXPECT_EQ(plain.levelTexts, (std::vector<std::string>{"45.6", "100.0", "---", "0.5", "78.1"}));
    EXPECT_EQ(plain.words, Words({456, 1000, simmeter::kMissing, 5, 781}));
    EXPECT_EQ(plain.marker, "");

    EXPECT_EQ(ParseLevelRecord(simmeter::LiveLevelRecord(1, {1, 2, 3, 4, 5}, true), 5).marker, "");
    const LiveRecordText last =
        ParseLevelRecord(simmeter::LiveLevelRecord(1, {1, 2, 3, 4, 5}, false, true), 5);
    EXPECT_EQ(last.marker, "LAST");
    EXPECT_EQ(last.levelTexts.back(), "0.5");

    const LiveRecordText error = ParseLevelRecord(simmeter::LiveErrorRecord(), 5);
    EXPECT_TRUE(error.hasLevels);
    EXPECT_FALSE(error.elapsed);
    EXPECT_EQ(error.levelTexts, std::vector<std::string>(5, "0"));
    EXPECT_EQ(error.words, std::vector<std::uint16_t>(5, 0));
}

TEST(LiveRecordText, CutOffRecordsGiveMissingValuesNeverRepeatedOnes) {
    const std::string whole = simmeter::LiveLevelRecord(10, {401, 402, 403, 404, 405});
    const LiveRecordText cut = ParseLevelRecord(whole.substr(0, 17) + "\x03", 5);  // ...\t40.1\t40.
    EXPECT_EQ(cut.levelTexts, (std::vector<std::string>{"40.1", "---", "---", "---", "---"}));
    EXPECT_EQ(cut.words, Words({401, simmeter::kMissing, simmeter::kMissing, simmeter::kMissing,
                                simmeter::kMissing}));

    // No tab: no record at all, however garbled.
    EXPECT_FALSE(ParseLevelRecord("00:00:1\x03", 5).hasLevels);
    EXPECT_FALSE(ParseLevelRecord("", 5).hasLevels);
    // A garbled time is no time, the levels still count.
    const LiveRecordText garbled = ParseLevelRecord("0a:00:01\t45.0\x03", 5);
    EXPECT_FALSE(garbled.elapsed);
    EXPECT_TRUE(garbled.hasLevels);

    const std::vector<int> bands = simmeter::LiveRecordStream(2, 1).Values(0);
    const std::string spectrum = simmeter::LiveSpectrumRecord(5, bands);
    for (size_t length = 0; length < spectrum.size(); ++length) {
        SCOPED_TRACE(length);
        const LiveRecordText part = ParseSpectrumRecord(spectrum.substr(0, length), 12);
        if (!part.hasLevels)
            continue;
        ASSERT_EQ(part.words.size(), 12u);
        // Once one is missing every later one is, and none holds another band's level.
        bool missing = false;
        for (size_t band = 0; band < 12; ++band) {
            missing = missing || part.words[band] == records::kNoValue;
            EXPECT_EQ(part.words[band], missing ? records::kNoValue : bands[band]);
        }
    }
}

TEST(LiveRecordText, SpectrumRecordsGiveTimeMarkerAndEveryBand) {
    simmeter::LiveRecordStream stream(3, 1);
    std::vector<int> bands = stream.Values(7);
    bands[4] = simmeter::kMissing;
    const LiveRecordText record =
        ParseSpectrumRecord(simmeter::LiveSpectrumRecord(7322, bands, "Door"), 33);
    ASSERT_TRUE(record.elapsed);
    EXPECT_EQ(ElapsedText(*record.elapsed), "02:02:02");
    EXPECT_EQ(record.marker, "Door");
    EXPECT_EQ(record.words, Words(bands));
    EXPECT_EQ(record.levelTexts[4], "---");

    const LiveRecordText noLevels = ParseSpectrumRecord("SPECTRUM =  00:00:01\r\nOVERLOAD\x03", 12);
    EXPECT_FALSE(noLevels.hasLevels);
    EXPECT_TRUE(noLevels.elapsed);
    // A reply too short to carry a time carries none.
    EXPECT_FALSE(ParseSpectrumRecord(" =  00:00:01[dB]\r\n", 12).elapsed);
}

TEST(LiveRecordText, ProfileRecordsGiveTheirSamples) {
    const LiveRecordText record =
        ParseProfileRecord(simmeter::LiveProfileRecord(2, {655, simmeter::kMissing, 640, 601}), 4);
    EXPECT_EQ(record.levelTexts, (std::vector<std::string>{"65.5", "---", "64.0", "60.1"}));
    EXPECT_EQ(record.words, Words({655, simmeter::kMissing, 640, 601}));
    EXPECT_EQ(ParseProfileRecord(simmeter::LiveProfileRecord(2, {655}), 2).words,
              Words({655, simmeter::kMissing}));
}
