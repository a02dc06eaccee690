// The "General" and "Spectrum" windows over their models: pictures of two model variants, and
// the operator's clicks reaching the page rules.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTimeEdit>
#include <algorithm>

#include "fake_setup_host.h"
#include "platform/date_time.h"
#include "platform/event_loop.h"
#include "setup/general_page.h"
#include "setup/setup_prop_sheet.h"
#include "setup/spectrum_page.h"
#include "support/test_env.h"

using setup::CSetupPropSheet;
using setup::SetupPageKind;
using setuptest::FakeSetupHost;

namespace {

// A control of the page the sheet shows: pages may share ids.
template <typename Widget>
Widget* Control(QWidget& window, int id) {
    return window.findChild<QTabWidget*>()->currentWidget()->findChild<Widget*>(
        QString::number(id));
}

int TabOf(const CSetupPropSheet& sheet, SetupPageKind kind) {
    const std::vector<SetupPageKind> kinds = sheet.Kinds();
    return static_cast<int>(std::find(kinds.begin(), kinds.end(), kind) - kinds.begin());
}

class SetupPagesPictureTest : public ::testing::Test {
protected:
    SetupPagesPictureTest() { platform::Clock::SetFixedNow(kNow.Seconds()); }
    ~SetupPagesPictureTest() override { platform::Clock::SetFixedNow(std::nullopt); }

    // The sheet of `model` on screen, showing the page of `kind`.
    QDialog& ShowPage(const std::string& model, SetupPageKind kind) {
        host.ReadAs(model);
        setuptest::FillAsMeter(host.current);
        host.edited = host.current;
        sheet = std::make_unique<CSetupPropSheet>(host);
        QDialog& window = *sheet->CreateWindow();
        window.show();
        EXPECT_TRUE(sheet->SetActivePage(TabOf(*sheet, kind)));
        platform::EventLoop::ProcessPending();
        return window;
    }
    // Kept beside the test program, to be looked at.
    void Save(QDialog& window, const std::string& name) {
        const QImage picture = window.grab().toImage();
        EXPECT_FALSE(picture.isNull());
        picture.save(QString::fromStdString(testenv::BinaryDir() + "/tests/setup/" + name));
    }
    // The shown widgets of the active page lie within the window.
    void ExpectAllWithin(QDialog& window) {
        auto* page = window.findChild<QTabWidget*>()->currentWidget();
        for (QWidget* widget : page->findChildren<QWidget*>()) {
            if (!widget->isVisibleTo(&window) || widget->objectName().isEmpty())
                continue;
            const QRect area(widget->mapTo(&window, QPoint(0, 0)), widget->size());
            EXPECT_TRUE(window.rect().contains(area)) << widget->objectName().toStdString();
        }
    }

    const platform::DateTime kNow = platform::DateTime::FromParts(2026, 3, 4, 7, 8, 9);
    testenv::TestOperator op;
    FakeSetupHost host;
    std::unique_ptr<CSetupPropSheet> sheet;
};

}  // namespace

TEST_F(SetupPagesPictureTest, GeneralPageOfAFixedMicrophoneQS4060AndOfAQS4160) {
    using namespace setup::general_ids;
    {
        QDialog& window = ShowPage("QS4060_c0$1", SetupPageKind::General);
        Save(window, "general_QS4060_c0.png");
        ExpectAllWithin(window);
        EXPECT_FALSE(Control<QComboBox>(window, kMicResponse)->isVisibleTo(&window));
        EXPECT_FALSE(Control<QLabel>(window, kWindShieldLabel)->isVisibleTo(&window));
        EXPECT_FALSE(Control<QComboBox>(window, kAmbientCorrection)->isVisibleTo(&window));
        EXPECT_FALSE(Control<QLineEdit>(window, kCalLevel)->isEnabled());
        EXPECT_EQ(Control<QLineEdit>(window, kCalLevel)->text(), "94.0");
        EXPECT_EQ(Control<QDateEdit>(window, kMeterDate)->date(), QDate(2024, 1, 15));
        EXPECT_FALSE(Control<QDateEdit>(window, kMeterDate)->isEnabled());
    }
    QDialog& window = ShowPage("QS4160_L0$1", SetupPageKind::General);
    Save(window, "general_QS4160_L0.png");
    ExpectAllWithin(window);
    EXPECT_TRUE(Control<QComboBox>(window, kAmbientCorrection)->isVisibleTo(&window));
    EXPECT_TRUE(Control<QComboBox>(window, kInputChannel)->isEnabled());
    EXPECT_EQ(Control<QLineEdit>(window, kCalLevel)->maxLength(), 5);

    // Ticking the box lets the PC clock be edited; a channel choice reaches the rule.
    auto* pcTime = Control<QTimeEdit>(window, kPcTime);
    EXPECT_FALSE(pcTime->isEnabled());
    Control<QCheckBox>(window, kUpdateClock)->click();
    EXPECT_TRUE(pcTime->isEnabled());
    EXPECT_EQ(pcTime->time(), QTime(7, 8, 9));
    auto* channel = Control<QComboBox>(window, kInputChannel);
    channel->setCurrentIndex(1);
    emit channel->activated(1);
    EXPECT_EQ(Control<QComboBox>(window, kDaOutput)->currentText(), "OFF");

    EXPECT_TRUE(sheet->ApplyAll());
    EXPECT_EQ(host.edited.m_strInputChannel, "LINE");
    EXPECT_EQ(host.edited.m_strDate, "2026:03:04");
}

TEST_F(SetupPagesPictureTest, SpectrumPageOfAQS4060AndOfAQS4160) {
    using namespace setup::spectrum_ids;
    {
        QDialog& window = ShowPage("QS4060_00$1", SetupPageKind::Spectrum);
        Save(window, "spectrum_QS4060_00.png");
        ExpectAllWithin(window);
        EXPECT_FALSE(Control<QComboBox>(window, kType)->isEnabled());
        EXPECT_FALSE(Control<QComboBox>(window, kMeanWeight)->isVisibleTo(&window));
        EXPECT_FALSE(Control<QLabel>(window, kBandShift)->isVisibleTo(&window));
        EXPECT_FALSE(Control<QWidget>(window, kFftGroup)->isVisibleTo(&window));
        EXPECT_EQ(Control<QComboBox>(window, kAuxWeighting)->currentText(), "A");
    }
    QDialog& window = ShowPage("QS4160_L0$1", SetupPageKind::Spectrum);
    Save(window, "spectrum_QS4160_L0.png");
    ExpectAllWithin(window);
    EXPECT_EQ(Control<QLabel>(window, kBandShift)->text(), "Band Shift: OFF");
    EXPECT_EQ(Control<QComboBox>(window, kFftBand)->currentText(), "LF");
    EXPECT_FALSE(Control<QComboBox>(window, kStep)->isEnabled());

    // Another type frees the step and the mean.
    auto* type = Control<QComboBox>(window, kType);
    type->setCurrentIndex(2);
    emit type->activated(2);
    auto* step = Control<QComboBox>(window, kStep);
    EXPECT_TRUE(step->isEnabled());
    EXPECT_EQ(step->count(), 14);
    auto* mean = Control<QComboBox>(window, kMean);
    mean->setCurrentIndex(1);
    emit mean->activated(1);
    EXPECT_EQ(Control<QComboBox>(window, kMeanWeight)->currentText(), "FAST");
    EXPECT_TRUE(sheet->ApplyAll());
    EXPECT_EQ(host.edited.m_strSpectType, "MAXIMUM");
    EXPECT_EQ(host.edited.m_strSpectMean, "EXP");
}
