// The spectrum navigator's buttons, slider and playing, and that it never steps outside the
// spectra it was told of.
#include <gtest/gtest.h>

#include <QDialog>
#include <QSlider>

#include "acquisition/navigator_dlg.h"

using namespace acquisition;
using Nav = CNavigatorDlg;

namespace {

class FakeNavigatorHost : public NavigatorHost {
public:
    void ShowRecord(int record) override {
        recording.SelectRecord(record);
        shown.push_back(record);
    }
    QRect ReportListScreenRect() const override { return {}; }

    // The recording whose selected record the navigator steps from.
    acquisition::Recording recording;
    std::vector<int> shown;
};

class NavigatorTest : public ::testing::Test {
protected:
    // The buttons enabled, in the order Next, Previous, Last, First, Play, FastPlay, Stop.
    std::string States() const {
        std::string states;
        for (int button = 0; button < Nav::kButtons; ++button)
            states += navigator.IsEnabled(static_cast<Nav::Button>(button)) ? 'E' : '-';
        return states;
    }
    void Open(int count, int selected) {
        host.recording.SelectRecord(selected);
        navigator.SetSpectrumCount(count);
        navigator.OnShowWindow();
    }

    FakeNavigatorHost host;
    Nav navigator{host, host.recording};
};

}  // namespace

TEST_F(NavigatorTest, StepsMoveTheSelectionAndSetTheButtonsByTheirRules) {
    Open(5, 0);
    EXPECT_EQ(States(), "E-E-EE-");
    navigator.OnNext();
    EXPECT_EQ(host.shown, std::vector<int>{1});
    EXPECT_EQ(navigator.SliderPosition(), 1);
    EXPECT_EQ(States(), "EEEEEE-");
    navigator.OnLast();
    EXPECT_EQ(host.recording.SelectedRecord(), 4);
    EXPECT_EQ(States(), "-E-E---");
    navigator.OnPrevious();
    EXPECT_EQ(host.recording.SelectedRecord(), 3);
    EXPECT_EQ(States(), "EEEEEEE");
    navigator.OnFirst();
    EXPECT_EQ(States(), "E-E-EEE");
    // Previous at the first spectrum only disables previous and first.
    host.shown.clear();
    navigator.OnPrevious();
    EXPECT_TRUE(host.shown.empty());

    navigator.OnSliderReleased(4);
    EXPECT_EQ(host.recording.SelectedRecord(), 4);
    EXPECT_EQ(States(), "-E-E---");
    navigator.OnSliderReleased(2);
    EXPECT_EQ(States(), "EEEEEEE");

    // Shown at the last spectrum: automatic play cannot start there.
    Open(5, 4);
    EXPECT_EQ(States(), "-E-E---");

    // With one spectrum the first next reaches it and disables the rest.
    Open(1, 0);
    navigator.OnNext();
    EXPECT_EQ(host.recording.SelectedRecord(), 0);
    EXPECT_EQ(States(), "-E-E---");
}

TEST_F(NavigatorTest, PlayingStepsOnEachTickAndStopsItselfAtTheLastSpectrum) {
    Open(4, 0);
    navigator.OnPlay();
    EXPECT_TRUE(navigator.IsPlaying());
    EXPECT_EQ(States(), "E-E--EE");
    navigator.OnFastPlay();
    EXPECT_EQ(States(), "E-E-E-E");
    navigator.OnTimer(Nav::kPlayTimer);
    EXPECT_EQ(host.recording.SelectedRecord(), 1);
    EXPECT_FALSE(navigator.IsEnabled(Nav::Previous));
    while (navigator.IsPlaying() && host.shown.size() < 10)
        navigator.OnTimer(Nav::kPlayTimer);
    EXPECT_EQ(host.shown, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(States(), "-------");

    Open(4, 1);
    navigator.OnPlay();
    navigator.OnStop();
    EXPECT_FALSE(navigator.IsPlaying());
    EXPECT_EQ(States(), "EEEEEE-");
    navigator.OnPlay();
    navigator.OnClose();
    EXPECT_FALSE(navigator.IsPlaying() || navigator.IsOpen());
}

TEST_F(NavigatorTest, NoSpectraOrACountThatShrinksNeverLeadOutsideTheData) {
    Open(0, 0);
    EXPECT_EQ(States(), "-------");
    for (auto action : {&Nav::OnNext, &Nav::OnPrevious, &Nav::OnLast, &Nav::OnFirst, &Nav::OnPlay,
                        &Nav::OnFastPlay})
        (navigator.*action)();
    navigator.OnSliderReleased(3);
    navigator.OnTimer(Nav::kPlayTimer);
    EXPECT_TRUE(host.shown.empty());
    EXPECT_FALSE(navigator.IsPlaying());
    EXPECT_EQ(navigator.SliderMaximum(), 0);

    // Ten spectra at the ninth, then the page holds five: every move stays below five.
    Open(10, 9);
    navigator.OnPlay();
    navigator.SetSpectrumCount(5);
    navigator.OnTimer(Nav::kPlayTimer);
    navigator.OnNext();
    navigator.OnSliderReleased(9);
    navigator.OnLast();
    for (const int shown : host.shown)
        EXPECT_LT(shown, 5);
    EXPECT_FALSE(navigator.IsPlaying());
    host.recording.SelectRecord(-1);  // nothing selected: the steps start at the first spectrum
    navigator.OnNext();
    EXPECT_EQ(host.recording.SelectedRecord(), 1);
}

TEST_F(NavigatorTest, TheWindowShowsTheStatesAndFollowsTheCount) {
    host.recording.SelectRecord(2);
    navigator.SetSpectrumCount(3);
    navigator.Open();
    ASSERT_TRUE(navigator.IsWindowVisible());
    EXPECT_TRUE(navigator.IsOpen());
    QDialog* window = navigator.Window();
    auto* slider = window->findChild<QSlider*>("1503");
    ASSERT_TRUE(slider);
    EXPECT_EQ(slider->maximum(), 2);
    EXPECT_EQ(slider->value(), 2);
    EXPECT_FALSE(window->findChild<QWidget*>("1505")->isEnabled());  // next, at the last one
    EXPECT_TRUE(window->findChild<QWidget*>("1507")->isEnabled());
    navigator.SetSpectrumCount(7);
    EXPECT_EQ(slider->maximum(), 6);
    EXPECT_TRUE(window->findChild<QWidget*>("1505")->isEnabled());
    window->close();
    EXPECT_FALSE(navigator.IsWindowVisible() || navigator.IsOpen());
}
