// The sheet on screen, measured: its size on a 1366x768 laptop screen and the captions in line
// with the controls of their rows.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QStyle>
#include <QTabWidget>

#include "fake_setup_host.h"
#include "platform/event_loop.h"
#include "setup/channels_page.h"
#include "setup/data_logging_page.h"
#include "setup/general_page.h"
#include "setup/setup_prop_sheet.h"
#include "setup/spectrum_page.h"
#include "support/test_env.h"

using setup::CSetupPropSheet;
using setup::SetupPageKind;
using setuptest::FakeSetupHost;

namespace {

constexpr QSize kScreen(1366, 768);
// What a desktop adds above a dialog.
constexpr int kTitleBar = 32;

class SheetGeometryTest : public ::testing::Test {
protected:
    // The sheet of a meter of `model` with report and event settings to show, on screen.
    QDialog& Show(const std::string& model) {
        host.ReadAs(model);
        setuptest::FillAsMeter(host.current);
        host.edited = host.current;
        host.edited.m_strReportTime = "1m";
        host.edited.m_strEventTrigger = "LEV";
        sheet = std::make_unique<CSetupPropSheet>(host);
        QDialog& window = *sheet->CreateWindow();
        window.show();
        platform::EventLoop::ProcessPending();
        return window;
    }
    // The page of `kind` shown; nullptr when the model has none.
    QWidget* Page(SetupPageKind kind) {
        const auto kinds = sheet->Kinds();
        const auto at = std::find(kinds.begin(), kinds.end(), kind);
        if (at == kinds.end() || !sheet->SetActivePage(static_cast<int>(at - kinds.begin())))
            return nullptr;
        platform::EventLoop::ProcessPending();
        return sheet->Window()->findChild<QTabWidget*>()->currentWidget();
    }
    template <typename Widget>
    static Widget* Control(QWidget& page, int id) {
        auto* widget = page.findChild<Widget*>(QString::number(id));
        EXPECT_NE(widget, nullptr) << id;
        return widget;
    }
    // Where a label's text stands, in the page's coordinates.
    static QRect TextArea(QWidget& page, QLabel& label) {
        const QRect text = label.style()->itemTextRect(label.fontMetrics(), label.contentsRect(),
                                                       static_cast<int>(label.alignment()),
                                                       label.isEnabled(), label.text());
        return text.translated(label.mapTo(&page, QPoint(0, 0)));
    }
    static QRect Area(QWidget& page, QWidget& widget) {
        return QRect(widget.mapTo(&page, QPoint(0, 0)), widget.size());
    }
    // The caption `label` stands on the line of `control`: their middles at most a pixel apart.
    static void ExpectInLine(QWidget& page, int label, int control) {
        auto* caption = Control<QLabel>(page, label);
        auto* beside = Control<QWidget>(page, control);
        ASSERT_TRUE(caption && beside);
        ASSERT_TRUE(caption->isVisible() && beside->isVisible()) << label;
        EXPECT_LE(
            std::abs(TextArea(page, *caption).center().y() - Area(page, *beside).center().y()), 1)
            << caption->text().toStdString();
    }

    testenv::TestOperator op;
    FakeSetupHost host;
    std::unique_ptr<CSetupPropSheet> sheet;
};

}  // namespace

TEST_F(SheetGeometryTest, EveryPageFitsALaptopScreenWithTheSheetsTitleBar) {
    for (const char* model : {"QS4160_L0$1", "QS4060_n0$1", "QS4060_00$1"}) {
        SCOPED_TRACE(model);
        QDialog& window = Show(model);
        for (SetupPageKind kind : sheet->Kinds()) {
            QWidget* page = Page(kind);
            ASSERT_NE(page, nullptr);
            EXPECT_LE(window.frameGeometry().height() + kTitleBar, kScreen.height());
            EXPECT_LE(window.frameGeometry().width(), kScreen.width());
            // Nothing squeezed: the page has the room it asks for.
            EXPECT_GE(page->width(), page->minimumSizeHint().width());
            EXPECT_GE(page->height(), page->minimumSizeHint().height());
        }
    }
}

TEST_F(SheetGeometryTest, CaptionsStandOnTheLineOfTheirControls) {
    Show("QS4160_L0$1");
    {
        using namespace setup::general_ids;
        QWidget& page = *Page(SetupPageKind::General);
        ExpectInLine(page, kMicResponseLabel, kMicResponse);
        ExpectInLine(page, kWindShieldLabel, kWindShield);
        ExpectInLine(page, kAmbientCorrectionLabel, kAmbientCorrection);
    }
    {
        using namespace setup::channels_ids;
        QWidget& page = *Page(SetupPageKind::Channels);
        ExpectInLine(page, kSlm4Label, kSlmParams[3]);
        ExpectInLine(page, kSlm5Label, kSlmParams[4]);
        ExpectInLine(page, kProfileParamLabel, kProfileParam);
        ExpectInLine(page, kProfileTimeLabel, kProfileTime);
    }
    {
        using namespace setup::spectrum_ids;
        QWidget& page = *Page(SetupPageKind::Spectrum);
        ExpectInLine(page, kMeanWeightLabel, kMeanWeight);
        ExpectInLine(page, kFftBandLabel, kFftBand);
    }
    using namespace setup::data_logging_ids;
    QWidget& page = *Page(SetupPageKind::DataLogging);
    ExpectInLine(page, kReportIntervalLabel, kReportInterval);
    for (size_t i = 0; i < 5; ++i) {
        ExpectInLine(page, kReport.paramLabels[i], kReport.params[i]);
        ExpectInLine(page, kEvent.paramLabels[i], kEvent.params[i]);
    }
    ExpectInLine(page, kTriggerLabels[0], kTrigger);
    ExpectInLine(page, kTriggerLabels[6], kNotify);
}

TEST_F(SheetGeometryTest, OnAReportQS4060SlmPlusAndProfileReadAsOneCaption) {
    using namespace setup::data_logging_ids;
    Show("QS4060_n0$1");
    QWidget& page = *Page(SetupPageKind::DataLogging);
    auto* check = Control<QCheckBox>(page, kSlm);
    auto* profile = Control<QLabel>(page, kProfileLabel);
    ASSERT_TRUE(check && profile);
    ASSERT_TRUE(check->isVisible() && profile->isVisible());
    EXPECT_EQ(check->text(), "SLM +");
    EXPECT_EQ(profile->text(), "PROFILE");
    const QRect box = Area(page, *check);
    const QRect word = TextArea(page, *profile);
    EXPECT_LE(std::abs(word.center().y() - box.center().y()), 1);
    // "PROFILE" follows the check's caption at about a word's gap.
    const int captionEnd = box.left() + check->sizeHint().width();
    EXPECT_GE(word.left(), captionEnd);
    EXPECT_LE(word.left() - captionEnd, check->fontMetrics().horizontalAdvance("  "));
}
