// The record kinds' table: the meter's numbers and a page file's mode texts mapped to kinds,
// and every row agreeing with the layouts, intervals and rates it stands for.
#include <gtest/gtest.h>

#include <set>

#include "acquisition/schedule_checks.h"
#include "acquisition/scheduler_form.h"
#include "records/record_kind.h"
#include "records/record_layout.h"
#include "support/record_kinds.h"

using namespace acquisition;

TEST(RecordKindTest, TheMetersNumbersAndModeTextsMapToTheirKinds) {
    ASSERT_EQ(records::RecordKind::All().size(), 4u);
    for (int mode = 0; mode < 4; ++mode) {
        const auto kind = records::RecordKind::OfChannelMode(mode);
        ASSERT_TRUE(kind);
        EXPECT_EQ(kind->ChannelMode(), mode);
        EXPECT_EQ(records::RecordKind::All()[static_cast<size_t>(mode)], *kind);
    }
    EXPECT_EQ(records::RecordKind::OfChannelMode(1)->Traits().name, "PROFILE");
    EXPECT_FALSE(records::RecordKind::OfChannelMode(-1));
    EXPECT_FALSE(records::RecordKind::OfChannelMode(4));

    // A later word wins: a third-octave text holds "OCTAVE" too; no word is a level recording.
    EXPECT_EQ(records::RecordKind::OfModeText("THIRD OCTAVE"), testkinds::kThirdOctave);
    EXPECT_EQ(records::RecordKind::OfModeText("THIRD OCTAV"), testkinds::kThirdOctave);
    EXPECT_EQ(records::RecordKind::OfModeText(" OCTAVE"), testkinds::kOctave);
    EXPECT_EQ(records::RecordKind::OfModeText("PROFILE"), testkinds::kProfile);
    EXPECT_EQ(records::RecordKind::OfModeText("SLM"), testkinds::kSoundLevelMeter);
    EXPECT_EQ(records::RecordKind::OfModeText(""), testkinds::kSoundLevelMeter);
    EXPECT_EQ(records::RecordKind::OfModeText("octave"), testkinds::kSoundLevelMeter);
}

TEST(RecordKindTest, EveryRowAgreesWithItsLayoutNameAndShape) {
    std::set<std::string_view> names;
    std::set<std::string_view> recordWords;
    for (const records::RecordKind kind : records::RecordKind::All()) {
        const records::RecordKindTraits& row = kind.Traits();
        SCOPED_TRACE(std::string(row.name));
        EXPECT_TRUE(names.insert(row.name).second);
        EXPECT_TRUE(recordWords.insert(row.recordWord).second);
        // A page file whose mode field holds the kind's name is read as that kind.
        EXPECT_EQ(records::RecordKind::OfModeText(row.name), kind);
        EXPECT_EQ(kind.IsSpectrum(), row.bands != records::BandSet::None);
        // A spectrum's last value is its overall level, labelled by the auxiliary weighting.
        if (kind.IsSpectrum()) {
            EXPECT_EQ(
                records::BandLabel(row.bands, row.valuesPerSample - 1, records::kNoBandShift, "W"),
                "W");
            EXPECT_EQ(
                records::BandLabel(row.bands, row.valuesPerSample, records::kNoBandShift, "W"),
                "-1");
        } else {
            EXPECT_EQ(records::BandLabel(row.bands, 0, records::kNoBandShift, "W"), "-1");
        }
        EXPECT_GT(row.valuesPerSample, 0);
        const records::RecordLayout layout(kind);
        EXPECT_EQ(layout.RecordBytes(), 2 + 2 * row.valuesPerSample);
        EXPECT_EQ(layout.ValuesPerSample(), row.valuesPerSample);
        // Grouped samples come with the profile time that groups them.
        if (row.samplesByProfileStep) {
            EXPECT_EQ(row.interval, records::IntervalSource::ProfileTime);
        }
        for (const records::MonitoringRate& rate : row.monitoringRates)
            EXPECT_GT(rate.baud, 1200) << rate.spectrumTime;
    }
}

TEST(RecordKindTest, EachKindSamplesAtItsOwnInterval) {
    EXPECT_EQ(records::IntervalSeconds(testkinds::kSoundLevelMeter, "0.125s", "2s"), 0.5);
    EXPECT_FALSE(records::IntervalSetting(testkinds::kSoundLevelMeter, "0.125s", "2s"));
    EXPECT_EQ(records::IntervalSeconds(testkinds::kProfile, "0.125s", "2s"), 0.125);
    EXPECT_EQ(records::IntervalSetting(testkinds::kProfile, "0.125s", "2s"), "0.125s");
    EXPECT_EQ(records::IntervalSeconds(testkinds::kOctave, "0.125s", "2s"), 2.0);
    EXPECT_EQ(records::IntervalSetting(testkinds::kThirdOctave, "0.125s", "2m"), "2m");
    // The scheduler counts the records of an acquisition by the same interval.
    EXPECT_EQ(ExpectedRecords(testkinds::kThirdOctave, 10, "0.125s", "2s"), 5);
    EXPECT_EQ(ExpectedRecords(testkinds::kProfile, 10, "0.125s", "2s"), 84);
}

TEST(RecordKindTest, EachChannelRadioOfTheSchedulerNamesAKindOfItsOwn) {
    std::set<int> modes;
    for (const ChannelRadio& radio : ChannelRadios()) {
        ASSERT_TRUE(records::RecordKind::OfChannelMode(radio.channelMode)) << radio.caption;
        EXPECT_TRUE(modes.insert(radio.Kind().ChannelMode()).second) << radio.caption;
    }
    EXPECT_EQ(modes.size(), records::RecordKind::All().size());
}
