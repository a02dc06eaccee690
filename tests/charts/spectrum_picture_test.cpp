// Pictures of the "Spectrum" window off screen: a waterfall of octave spectra with one row
// highlighted (the front one, and one in the middle that must hide nothing in front of it),
// and one of many thousand third-octave spectra, whose front row stays whole.
#include <gtest/gtest.h>

#include <QImage>
#include <QLineF>
#include <algorithm>
#include <cstdlib>

#include "charts/demo_dlg.h"
#include "charts/graph_3d_projection.h"
#include "charts/graph_3d_window.h"
#include "fake_spectrum_host.h"
#include "platform/colors.h"
#include "support/record_kinds.h"
#include "support/test_env.h"
#include "ui/hooked_dialog.h"

using charts::CDemoDlg;
using platform::ToQColor;

namespace {

// Pixels of `colour` within `radius` of the point.
int Near(const QImage& picture, QPointF at, int radius, COLORREF colour) {
    int count = 0;
    for (int y = static_cast<int>(at.y()) - radius; y <= at.y() + radius; ++y)
        for (int x = static_cast<int>(at.x()) - radius; x <= at.x() + radius; ++x)
            if (picture.rect().contains(x, y) && picture.pixelColor(x, y) == ToQColor(colour))
                ++count;
    return count;
}

// Pixels within `radius` of the point that show `colour` at half its strength or more over
// the black ground: a thin line that falls between two pixel rows leaves no pixel pure.
int NearShade(const QImage& picture, QPointF at, int radius, COLORREF colour) {
    const QColor pure = ToQColor(colour);
    int count = 0;
    for (int y = static_cast<int>(at.y()) - radius; y <= at.y() + radius; ++y)
        for (int x = static_cast<int>(at.x()) - radius; x <= at.x() + radius; ++x) {
            if (!picture.rect().contains(x, y))
                continue;
            const QColor c = picture.pixelColor(x, y);
            count += c.hsvHue() == pure.hsvHue() && c.hsvSaturation() > 200 &&
                             c.value() >= pure.value() / 2
                         ? 1
                         : 0;
        }
    return count;
}

int CountColour(const QImage& picture, COLORREF colour) {
    int count = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            count += picture.pixelColor(x, y) == ToQColor(colour) ? 1 : 0;
    return count;
}

// The distance from `at` to the polyline through `line`.
double DistanceTo(const std::vector<QPointF>& line, QPointF at) {
    double best = 1e9;
    for (std::size_t i = 1; i < line.size(); ++i) {
        const QPointF a = line[i - 1];
        const QPointF ab = line[i] - a;
        const double length2 = QPointF::dotProduct(ab, ab);
        const double t =
            length2 > 0 ? std::clamp(QPointF::dotProduct(at - a, ab) / length2, 0.0, 1.0) : 0.0;
        best = std::min(best, QLineF(a + t * ab, at).length());
    }
    return best;
}

// A spectrum whose levels climb the whole scale: every colour of the legend appears.
std::vector<std::uint16_t> Ramp(int bands, int row) {
    std::vector<std::uint16_t> words;
    for (int b = 0; b < bands; ++b)
        words.push_back(static_cast<std::uint16_t>(((b * 130 / (bands - 1) + row) % 131) * 10));
    return words;
}

class SpectrumPictureTest : public ::testing::Test {
protected:
    QImage GrabGraph(const char* name) {
        auto* graph = window.Window()->findChild<charts::Graph3DWindow*>(ui::IdName(1000));
        EXPECT_NE(graph, nullptr);
        // The dialog's layout places the graph first; the picture's size is set after it.
        graph->grab();
        graph->resize(640, 420);
        const QImage picture = graph->grab().toImage();
        picture.save(QString::fromStdString(folder.File(name)));
        return picture;
    }

    testenv::ScratchFolder folder;
    testenv::TestOperator op;
    chartstest::FakeSpectrumHost host;
    CDemoDlg window{host, host.mode, host.recording};
};

}  // namespace

TEST_F(SpectrumPictureTest, AnOctaveWaterfallShowsTheLevelColoursAndTheHighlightedRow) {
    host.mode.ChooseChannel(testkinds::kOctave);
    ASSERT_TRUE(window.Create());
    for (int row = 0; row < 40; ++row)
        window.AddOctaveSpectrum(Ramp(CDemoDlg::kOctaveBands, row * 3));
    window.HighlightRow(0);
    const QImage picture = GrabGraph("octave_waterfall.png");

    EXPECT_GT(CountColour(picture, 0), picture.width() * picture.height() / 3);  // black ground
    int colours = 0;
    for (COLORREF colour : charts::kLevelColours)
        colours += CountColour(picture, colour) > 10 ? 1 : 0;
    EXPECT_GE(colours, 11);
    // Row 0 lies at the front, drawn wide in the highlight colour along its whole length.
    const charts::Graph3DProjection projection(picture.rect(), window.Graph().EffectiveRange());
    for (const auto& point : window.Graph().ElementPoints(0)) {
        const QPointF at = projection.Map(point.x, point.y, point.z);
        EXPECT_GT(Near(picture, at, 3, CDemoDlg::kHighlightColour), 0) << point.x;
    }
    // The whole window, legend and range boxes included, for the eye.
    window.Window()->grab().save(QString::fromStdString(folder.File("spectrum_window.png")));
}

TEST_F(SpectrumPictureTest, AHighlightedMiddleRowChangesThePictureOnlyAlongItsOwnCurve) {
    host.mode.ChooseChannel(testkinds::kOctave);
    ASSERT_TRUE(window.Create());
    constexpr int kRows = 60;
    constexpr int kHighlighted = 30;
    for (int row = 0; row < kRows; ++row)
        window.AddOctaveSpectrum(Ramp(CDemoDlg::kOctaveBands, row * 3));
    const QImage plain = GrabGraph("octave_waterfall_plain.png");
    window.HighlightRow(kHighlighted);
    const QImage highlighted = GrabGraph("octave_waterfall_row30.png");
    ASSERT_EQ(plain.size(), highlighted.size());

    const charts::Graph3DProjection projection(plain.rect(), window.Graph().EffectiveRange());
    std::vector<QPointF> curve;
    for (const auto& point : window.Graph().ElementPoints(kHighlighted))
        curve.push_back(projection.Map(point.x, point.y, point.z));
    // The rows in front of it stay as they were: every changed pixel lies within the wide
    // pen's reach of the highlighted row's own curve.
    int changed = 0;
    double farthest = 0;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x)
            if (plain.pixel(x, y) != highlighted.pixel(x, y)) {
                ++changed;
                farthest = std::max(farthest, DistanceTo(curve, QPointF(x, y)));
            }
    EXPECT_GT(changed, 50);
    EXPECT_LE(farthest, 4.0);
    EXPECT_GT(CountColour(highlighted, CDemoDlg::kHighlightColour), 50);
    // The row in front of all is whole.
    for (const auto& point : window.Graph().ElementPoints(0)) {
        const QPointF at = projection.Map(point.x, point.y, point.z);
        EXPECT_EQ(Near(highlighted, at, 1, point.line), Near(plain, at, 1, point.line)) << point.x;
    }
}

TEST_F(SpectrumPictureTest, ManyThousandRowsDrawOnlyWhatTheDepthShowsAndKeepTheFrontRowWhole) {
    host.mode.ChooseChannel(testkinds::kThirdOctave);
    ASSERT_TRUE(window.Create());
    constexpr int kRows = 6000;
    // The front row, flat at 125 dB: the top colour all the way across.
    const std::vector<std::uint16_t> flat(CDemoDlg::kThirdOctaveBands, 1250);
    for (int row = 0; row < kRows; ++row)
        window.AddThirdOctaveSpectrum(row == 0 ? flat : Ramp(CDemoDlg::kThirdOctaveBands, row));
    const QImage picture = GrabGraph("third_octave_waterfall.png");

    const charts::Graph3DProjection projection(picture.rect(), window.Graph().EffectiveRange());
    int shown = 0;
    for (int band = 1; band <= CDemoDlg::kThirdOctaveBands; ++band)
        shown += NearShade(picture, projection.Map(band, 125, 0), 2, 0x0000FF) > 0 ? 1 : 0;
    EXPECT_GE(shown, CDemoDlg::kThirdOctaveBands - 1);
    EXPECT_GT(CountColour(picture, 0xFF0000), 10);
}
