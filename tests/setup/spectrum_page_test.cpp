// The "Spectrum" page on its model: the lists by model variant, the type and mean rules, and
// what leaving the page stores.
#include "setup/spectrum_page.h"

#include <gtest/gtest.h>

#include "fake_setup_host.h"

using namespace setup::spectrum_ids;
using setup::SpectrumPage;
using setuptest::FakeSetupHost;
using Entries = std::vector<std::string>;

namespace {

const Entries kEverySteps = {"0.5s", "1s", "2s", "5s",  "10s", "20s", "30s",
                             "1m",   "2m", "5m", "10m", "20m", "30m", "1h"};

class SpectrumPageTest : public ::testing::Test {
protected:
    // The page of a meter of `model`, with `edit` applied to the edited setup before it shows.
    SpectrumPage& Open(const std::string& model,
                       const std::function<void(CInstrStatus&)>& edit = {}) {
        host.ReadAs(model);
        setuptest::FillAsMeter(host.current);
        host.edited = host.current;
        if (edit)
            edit(host.edited);
        page.OnInitDialog();
        page.OnSetActive();
        return page;
    }
    std::optional<std::string> Shown(int list) const { return page.Controls().SelectedText(list); }
    setup::PageControls& c() { return page.Controls(); }
    CInstrStatus& edited() { return host.edited; }

    FakeSetupHost host;
    SpectrumPage page{host};
};

}  // namespace

TEST_F(SpectrumPageTest, AQS4060HasOneStepALinearMeanAndNoFft) {
    Open("QS4060_00$1");
    EXPECT_EQ(c().Entries(kStep), (Entries{"0.5s"}));
    EXPECT_EQ(c().Entries(kType), (Entries{"AVERAGE"}));
    EXPECT_EQ(c().Entries(kMean), (Entries{"LIN"}));
    EXPECT_EQ(Shown(kAuxWeighting), "A");
    for (int id : {kType, kStep, kMean})
        EXPECT_FALSE(c().IsEnabled(id)) << id;
    for (int id : {kMeanWeight, kMeanWeightLabel, kBandShift, kFftBand, kFftBandLabel, kFftGroup})
        EXPECT_FALSE(c().IsShown(id)) << id;

    c().SelectPrefix(kAuxWeighting, "C");
    const CInstrStatus before = host.edited;
    EXPECT_TRUE(page.OnKillActive());
    EXPECT_EQ(setuptest::Differences(before, host.edited), "SPECT_AUX_POND");
    EXPECT_EQ(edited().m_strSpectAuxWeighting, "C");
}

TEST_F(SpectrumPageTest, AQS4160OffersEveryTypeAndItsVariantsTheirFftBand) {
    Open("QS4160_L0$1", [](CInstrStatus& s) {
        s.m_strSpectType = "MAXIMUM";
        s.m_strSpectMean = "EXP";
        s.m_strSpectMeanWeighting = "SLOW";
        s.m_strProfileSpectrumTime = "10m";
        s.m_strFftBand = "MF";
    });
    EXPECT_EQ(c().Entries(kType), (Entries{"AVERAGE", "MULTISP", "MAXIMUM", "MINIMUM"}));
    EXPECT_EQ(c().Entries(kStep), kEverySteps);
    EXPECT_EQ(Shown(kType), "MAXIMUM");
    EXPECT_EQ(Shown(kStep), "10m");
    EXPECT_EQ(Shown(kMean), "EXP");
    EXPECT_EQ(Shown(kMeanWeight), "SLOW");
    EXPECT_EQ(Shown(kFftBand), "MF");
    EXPECT_EQ(c().Text(kBandShift), "Band Shift: OFF");

    c().SelectPrefix(kFftBand, "HF");
    c().SelectPrefix(kType, "MINIMUM");
    ASSERT_TRUE(page.OnKillActive());
    EXPECT_EQ(edited().m_strFftBand, "HF");
    EXPECT_EQ(edited().m_strSpectType, "MINIMUM");
    EXPECT_EQ(edited().m_strProfileSpectrumTime, "10m");

    // The band shift line shows the meter's setting, never the edited one.
    SpectrumPage other(host);
    host.current.m_strHalfBandShift = "ON";
    host.edited.m_strHalfBandShift = "OFF";
    other.OnInitDialog();
    other.OnSetActive();
    EXPECT_EQ(other.Controls().Text(kBandShift), "Band Shift: ON");
}

TEST_F(SpectrumPageTest, FftBandByVariant) {
    for (const char* model : {"QS4160_I0$1", "QS4160_M0$1"}) {
        SpectrumPage variant(host);
        host.ReadAs(model);
        variant.OnInitDialog();
        variant.OnSetActive();
        for (int id : {kFftBand, kFftBandLabel, kFftGroup})
            EXPECT_FALSE(variant.Controls().IsShown(id)) << model;
        host.edited.m_strFftBand = "LF";
        variant.Controls().FillList(kFftBand, {"HF"});
        variant.Controls().Select(kFftBand, 0);
        EXPECT_TRUE(variant.OnKillActive());
        EXPECT_EQ(host.edited.m_strFftBand, "LF") << model;
    }
    Open("QS4160_00$1");
    EXPECT_TRUE(c().IsShown(kFftGroup));
    EXPECT_FALSE(c().IsEnabled(kFftGroup));
    EXPECT_FALSE(c().IsEnabled(kFftBand));
    EXPECT_TRUE(c().Entries(kFftBand).empty());
}

TEST_F(SpectrumPageTest, AverageKeepsOneStepAndALinearMean) {
    Open("QS4160_H0$1");
    EXPECT_EQ(Shown(kType), "AVERAGE");
    EXPECT_EQ(c().Entries(kStep), (Entries{"0.5s"}));
    EXPECT_EQ(c().Entries(kMean), (Entries{"LIN"}));
    EXPECT_FALSE(c().IsEnabled(kStep));
    EXPECT_FALSE(c().IsEnabled(kMeanWeight));

    // Another type offers every step and mean, their first entries picked.
    c().SelectPrefix(kType, "MULTISP");
    page.OnSelChangeMeanType();
    EXPECT_EQ(c().Entries(kStep), kEverySteps);
    EXPECT_EQ(Shown(kStep), "0.5s");
    EXPECT_EQ(Shown(kMean), "LIN");

    // An exponential mean is weighted, "FAST" first; back to linear it has no weighting.
    c().SelectPrefix(kMean, "EXP");
    page.OnSelChangeMean();
    EXPECT_TRUE(c().IsEnabled(kMeanWeight));
    EXPECT_EQ(Shown(kMeanWeight), "FAST");
    c().SelectPrefix(kMeanWeight, "SLOW");
    c().SelectPrefix(kMean, "LIN");
    page.OnSelChangeMean();
    EXPECT_FALSE(c().IsEnabled(kMeanWeight));
    EXPECT_EQ(Shown(kMeanWeight), std::nullopt);
    c().SelectPrefix(kStep, "2m");
    ASSERT_TRUE(page.OnKillActive());
    EXPECT_EQ(edited().m_strSpectType, "MULTISP");
    EXPECT_EQ(edited().m_strSpectMean, "LIN");
    EXPECT_EQ(edited().m_strProfileSpectrumTime, "2m");
    EXPECT_EQ(edited().m_strSpectMeanWeighting, "FAST");  // the weighting had no selection

    // Back to "AVERAGE": one step and the linear mean again.
    c().SelectPrefix(kType, "AVERAGE");
    page.OnSelChangeMeanType();
    ASSERT_TRUE(page.OnKillActive());
    EXPECT_EQ(edited().m_strProfileSpectrumTime, "0.5s");
    EXPECT_EQ(edited().m_strSpectType, "AVERAGE");
}

TEST_F(SpectrumPageTest, AutomaticStoringOffersOnlyAverage) {
    Open("QS4160_L0$1", [](CInstrStatus& s) {
        s.m_strAutoStore = "ON";
        s.m_strSpectType = "MAXIMUM";
        s.m_strProfileSpectrumTime = "1m";
    });
    EXPECT_EQ(c().Entries(kType), (Entries{"AVERAGE"}));
    EXPECT_EQ(Shown(kType), "AVERAGE");
    // The step and mean follow the type the list shows, not the one stored.
    EXPECT_EQ(Shown(kStep), "0.5s");
    EXPECT_EQ(Shown(kMean), "LIN");
    EXPECT_FALSE(c().IsEnabled(kStep));
    EXPECT_FALSE(c().IsEnabled(kMeanWeight));
    ASSERT_TRUE(page.OnKillActive());
    EXPECT_EQ(edited().m_strSpectType, "AVERAGE");
    EXPECT_EQ(edited().m_strProfileSpectrumTime, "0.5s");
}

TEST_F(SpectrumPageTest, UnreadValuesAreLeftAsTheyAre) {
    host.ReadAs("QS4160_L0$1");  // "-1" everywhere
    host.edited.m_strAutoStore = "-1";
    page.OnInitDialog();
    page.OnSetActive();
    EXPECT_TRUE(c().Entries(kType).empty());
    const CInstrStatus before = host.edited;
    ASSERT_TRUE(page.OnKillActive());
    EXPECT_EQ(setuptest::Differences(before, host.edited), "");
}

TEST_F(SpectrumPageTest, AStepLoadedAfterAnAverageFindsItsEntry) {
    Open("QS4160_L0$1");
    ASSERT_TRUE(page.OnKillActive());
    // A custom setting loaded meanwhile: its step and mean are no entries of the short lists.
    edited().m_strSpectType = "MAXIMUM";
    edited().m_strProfileSpectrumTime = "20s";
    edited().m_strSpectMean = "EXP";
    edited().m_strSpectMeanWeighting = "SLOW";
    page.OnSetActive();
    EXPECT_EQ(Shown(kStep), "20s");
    EXPECT_EQ(Shown(kMean), "EXP");
    EXPECT_EQ(Shown(kMeanWeight), "SLOW");
    const CInstrStatus before = host.edited;
    ASSERT_TRUE(page.OnKillActive());
    EXPECT_EQ(setuptest::Differences(before, host.edited), "");
}
