// The "Channels" page: its lists by model variant and band shift, the band list that follows
// each parameter, and what a visit stores back.
#include "setup/channels_page.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "fake_setup_host.h"

using namespace setup::channels_ids;
using setup::ChannelsPage;
using setuptest::FakeSetupHost;
using Entries = std::vector<std::string>;

namespace {

const std::vector<const char*> kVariants = {
    "QS4060_00$1", "QS4060_r1$1", "QS4060_n0$1", "QS4060_J0$2", "QS4060_p0$1", "QS4060_q0$1",
    "QS4060_c0$1", "QS4160_00$1", "QS4160_L0$1", "QS4160_H0$1", "QS4160_I0$1", "QS4160_M0$1"};

const Entries kOctaves = {"16", "32", "63", "125", "250", "500", "1k", "2k", "4k", "8k", "16k"};

class ChannelsPageTest : public ::testing::Test {
protected:
    // The page as a read of `model` with `shift` shows it, the edited setup in its vocabulary.
    ChannelsPage& Open(const std::string& model, const std::string& shift = "OFF") {
        host.ReadAs(model);
        host.current.m_strHalfBandShift = shift;
        CInstrStatus& e = host.edited;
        e.m_strSlm1Param = "Leq:A";
        e.m_strSlm2Param = "LOeq:1k";
        e.m_strSlm3Param = "L1:";
        e.m_strSlm4Param = "LTOeq:1.25k";
        e.m_strSlm5Param = "EA:";
        e.m_strProfileParam = "LTOeq:1.6k";
        e.m_strProfileTime = "0.5s";
        e.m_strStatParam = "Leq:A";
        e.m_strPerc1Level = "1";
        e.m_strPerc2Level = "10";
        e.m_strPerc3Level = "50";
        e.m_strPerc4Level = "99";
        e.m_strExchangeRate = "4";
        e.m_strDoseThreshold = "80";
        e.m_strCriterionLevel = "85";
        page = std::make_unique<ChannelsPage>(host);
        page->OnInitDialog();
        page->OnSetActive();
        return *page;
    }
    setup::PageControls& C() { return page->Controls(); }
    std::string Chosen(int id) { return C().SelectedText(id).value_or("(none)"); }
    void Choose(int id, const std::string& text) {
        const Entries& entries = C().Entries(id);
        const auto it = std::find(entries.begin(), entries.end(), text);
        ASSERT_NE(it, entries.end()) << text;
        C().Select(id, static_cast<int>(it - entries.begin()));
    }

    FakeSetupHost host;
    std::unique_ptr<ChannelsPage> page;
};

}  // namespace

TEST_F(ChannelsPageTest, AVisitStoresBackWhatItShowedForEveryVariant) {
    for (const char* model : kVariants) {
        SCOPED_TRACE(model);
        Open(model);
        CInstrStatus expected = host.edited;
        const std::string text = model;
        if (text.starts_with("QS4060")) {
            // One fixed profile level; no octave or third-octave parameters to show.
            expected.m_strProfileParam = "LFmx:A";
            expected.m_strProfileTime = "0.125s";
            EXPECT_EQ(Chosen(kSlmParams[1]), "(none)");
            EXPECT_FALSE(C().IsShown(kSlmParams[3]));
            EXPECT_FALSE(C().IsEnabled(kProfileParam));
        } else {
            EXPECT_EQ(Chosen(kSlmBands[1]), "1k");
            EXPECT_EQ(Chosen(kSlmBands[3]), "1.25k");
            EXPECT_EQ(Chosen(kSlmParams[4]), "E");
            EXPECT_EQ(Chosen(kProfileBand), "1,6k");
        }
        if (text.starts_with("QS4160_M"))
            expected.m_strStatParam = "LFp:A";  // the fixed statistics it shows
        EXPECT_EQ(Chosen(kSlmParams[2]), "L1");
        EXPECT_FALSE(C().IsEnabled(kSlmBands[2]));
        EXPECT_EQ(C().IsShown(kProfileGroup), text.find('p') == std::string::npos);
        EXPECT_EQ(Chosen(kExchangeRate), "4dB");
        EXPECT_EQ(Chosen(kPercentiles[3]), "99");
        page->OnKillActive();
        for (const SetupValueRow& row : SetupValueRows()) {
            if (row.text) {
                EXPECT_EQ(host.edited.*row.text, expected.*row.text) << row.name;
            }
        }
    }
}

TEST_F(ChannelsPageTest, BandListsFollowTheParameterNotItsPlaceInAShorterList) {
    // A QS4060's list lacks the band groups: "L1" and "LE" sit where a full list has octaves.
    Open("QS4060_00$1");
    EXPECT_EQ(C().Entries(kSlmParams[0]).size(), 22u);
    Choose(kSlmParams[0], "L1");
    page->OnSelChangeSlm(1);
    EXPECT_TRUE(C().Entries(kSlmBands[0]).empty());
    EXPECT_FALSE(C().IsEnabled(kSlmBands[0]));
    Choose(kSlmParams[0], "LE");
    page->OnSelChangeSlm(1);
    EXPECT_EQ(C().Entries(kSlmBands[0]), Entries{"A"});
    EXPECT_TRUE(C().IsEnabled(kSlmBands[0]));

    // With the half-band shift the octave group goes and the third octaves move half a band.
    Open("QS4160_L0$1", "ON");
    const Entries& slm4 = C().Entries(kSlmParams[3]);
    EXPECT_EQ(std::count(slm4.begin(), slm4.end(), "LOeq"), 0);
    EXPECT_EQ(Chosen(kSlmParams[3]), "LTOeq");
    EXPECT_EQ(C().Entries(kSlmBands[3]).front(), "14");
    EXPECT_EQ(C().Entries(kSlmBands[3]).back(), "18k");
    EXPECT_EQ(Chosen(kSlmBands[3]), "(none)");  // "1.25k" is no band of the shifted series
    Choose(kSlmParams[3], "Dose,d");
    page->OnSelChangeSlm(4);
    EXPECT_EQ(C().Entries(kSlmBands[3]), Entries{"A"});

    // The same octave list whether shown or chosen: the stored band of "LOeq" survives.
    Open("QS4160_H0$1");
    EXPECT_EQ(C().Entries(kSlmBands[1]), kOctaves);
    Choose(kSlmParams[1], "LOeq");
    page->OnSelChangeSlm(2);
    EXPECT_EQ(C().Entries(kSlmBands[1]), kOctaves);
    EXPECT_EQ(Chosen(kSlmBands[1]), "16");
    Choose(kSlmParams[1], "Lpkmx");
    page->OnSelChangeSlm(2);
    EXPECT_EQ(C().Entries(kSlmBands[1]), (Entries{"Z", "C"}));
}

TEST_F(ChannelsPageTest, TheProfileTakesItsBandsAndTimeStepsFromItsParameter) {
    Open("QS4160_L0$1");
    EXPECT_EQ(Chosen(kProfileParam), "LTOeq");
    EXPECT_EQ(C().Entries(kProfileTime).front(), "0.5s");
    EXPECT_EQ(Chosen(kProfileTime), "0.5s");

    Choose(kProfileParam, "LSmn");
    page->OnSelChangeProfileParam();
    EXPECT_EQ(C().Entries(kProfileTime).size(), 16u);
    EXPECT_EQ(Chosen(kProfileTime), "0.125s");
    EXPECT_EQ(Chosen(kProfileBand), "Z");
    Choose(kProfileParam, "LOFmx");
    page->OnSelChangeProfileParam();
    EXPECT_EQ(C().Entries(kProfileBand), kOctaves);
    EXPECT_EQ(C().Entries(kProfileTime).size(), 14u);
    page->OnKillActive();
    EXPECT_EQ(host.edited.m_strProfileParam, "LOFmx:16");
    EXPECT_EQ(host.edited.m_strProfileTime, "0.5s");

    // With the half-band shift the profile has nothing to offer, and keeps what it had.
    Open("QS4160_L0$1", "ON");
    EXPECT_TRUE(C().Entries(kProfileParam).empty());
    EXPECT_TRUE(C().Entries(kProfileTime).empty());
    EXPECT_FALSE(C().IsEnabled(kProfileBand));
    page->OnKillActive();
    EXPECT_EQ(host.edited.m_strProfileParam, "LTOeq:1.6k");
    EXPECT_EQ(host.edited.m_strProfileTime, "0.5s");
}

TEST_F(ChannelsPageTest, TheProfileShowsTheMetersThirdOctavesAndANewChoiceOffersThemAll) {
    Open("QS4160_L0$1");
    EXPECT_EQ(C().Entries(kProfileBand),
              (Entries{"16", "25", "40", "63", "100", "160", "250", "400", "630", "1k", "1,6k",
                       "2,5k", "4k", "6,3k", "10k", "16k", "20k"}));
    // Stored with a point, found with a comma; shown and left, it stays as it was stored.
    EXPECT_EQ(Chosen(kProfileBand), "1,6k");
    page->OnKillActive();
    EXPECT_EQ(host.edited.m_strProfileParam, "LTOeq:1.6k");
    // The meter's own writing is found, and a choice goes as its entry reads.
    host.edited.m_strProfileParam = "LTOeq:2,5k";
    page->OnSetActive();
    EXPECT_EQ(Chosen(kProfileBand), "2,5k");
    Choose(kProfileBand, "6,3k");
    page->OnKillActive();
    EXPECT_EQ(host.edited.m_strProfileParam, "LTOeq:6,3k");

    // A new parameter offers every third octave of the series.
    Choose(kProfileParam, "LTOFmx");
    page->OnSelChangeProfileParam();
    EXPECT_EQ(C().Entries(kProfileBand).size(), 32u);
    EXPECT_EQ(Chosen(kProfileBand), "16");
    Choose(kProfileBand, "1.6k");
    page->OnKillActive();
    EXPECT_EQ(host.edited.m_strProfileParam, "LTOFmx:1.6k");

    // A channel's band in the comma form is found among its labels too, and kept.
    host.edited.m_strSlm4Param = "LTOeq:1,25k";
    page->OnSetActive();
    EXPECT_EQ(Chosen(kSlmBands[3]), "1.25k");
    page->OnKillActive();
    EXPECT_EQ(host.edited.m_strSlm4Param, "LTOeq:1,25k");
}

TEST_F(ChannelsPageTest, TheEnergyIsStoredWithItsWeightingAndShownAgainByItsName) {
    Open("QS4160_00$1");
    Choose(kSlmParams[0], "E");
    page->OnSelChangeSlm(1);
    EXPECT_EQ(C().Entries(kSlmBands[0]), Entries{"A"});
    page->OnKillActive();
    EXPECT_EQ(host.edited.m_strSlm1Param, "EA:");
    page->OnSetActive();
    EXPECT_EQ(Chosen(kSlmParams[0]), "E");
    // "LE" is found past "Leq" and "LeqS", which it begins.
    host.edited.m_strSlm1Param = "LE:A";
    page->OnSetActive();
    EXPECT_EQ(Chosen(kSlmParams[0]), "LE");
    EXPECT_EQ(Chosen(kSlmBands[0]), "A");
}

TEST_F(ChannelsPageTest, NumbersNotInTheirListChooseNothingAndStayAsTheyWere) {
    Open("QS4060_00$1");
    host.edited.m_strPerc1Level = "-1";
    host.edited.m_strDoseThreshold = "8x";
    host.edited.m_strCriterionLevel = "";
    host.edited.m_strSlm1Param = "LAeq";
    page->OnSetActive();
    for (int id : {kPercentiles[0], kDoseThreshold, kDoseCriterion, kSlmParams[0]})
        EXPECT_EQ(Chosen(id), "(none)") << id;
    page->OnKillActive();
    EXPECT_EQ(host.edited.m_strPerc1Level, "-1");
    EXPECT_EQ(host.edited.m_strDoseThreshold, "8x");
    EXPECT_EQ(host.edited.m_strCriterionLevel, "");
    EXPECT_EQ(host.edited.m_strSlm1Param, "LAeq");

    Choose(kDoseCriterion, "140dB");
    Choose(kExchangeRate, "5dB");
    page->OnKillActive();
    EXPECT_EQ(host.edited.m_strCriterionLevel, "140");
    EXPECT_EQ(host.edited.m_strExchangeRate, "5");
}

TEST_F(ChannelsPageTest, StatisticsOfferTheirChoiceOnlyToTheVariantsThatHaveOne) {
    for (const char* model : {"QS4160_L0$1", "QS4060_n0$1", "QS4060_00$1", "QS4160_M0$1"}) {
        SCOPED_TRACE(model);
        Open(model);
        host.edited.m_strStatParam = "Lpk:C";
        page->OnSetActive();
        page->OnSetActive();  // no entry twice
        const bool choice =
            std::string(model) != "QS4060_00$1" && std::string(model) != "QS4160_M0$1";
        if (!choice) {
            EXPECT_EQ(C().Entries(kStatParam), Entries{"LFp"});
            EXPECT_EQ(Chosen(kStatBand), "A");
            continue;
        }
        EXPECT_EQ(C().Entries(kStatParam), (Entries{"Lpk", "Leq", "LFp"}));
        EXPECT_EQ(C().Entries(kStatBand), (Entries{"Z", "C"}));
        EXPECT_EQ(Chosen(kStatBand), "C");
        Choose(kStatParam, "LFp");
        page->OnSelChangeStatParam();
        EXPECT_EQ(C().Entries(kStatBand), (Entries{"Z", "C", "A"}));
        page->OnKillActive();
        EXPECT_EQ(host.edited.m_strStatParam, "LFp:Z");
    }
}
