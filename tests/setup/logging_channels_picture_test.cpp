// The "DataLogging" and "Channels" pages on screen for two model variants: pictures to look at,
// every shown control within the window, and the operator's picks reaching the page's rules.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QTabWidget>

#include "fake_setup_host.h"
#include "platform/event_loop.h"
#include "setup/channels_page.h"
#include "setup/data_logging_page.h"
#include "setup/setup_prop_sheet.h"
#include "support/test_env.h"

using setup::CSetupPropSheet;
using setup::SetupPageKind;
using setuptest::FakeSetupHost;

namespace {

template <typename Widget>
Widget* Control(QWidget& page, int id) {
    return page.findChild<Widget*>(QString::number(id));
}

class LoggingChannelsPictureTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        host.ReadAs(GetParam());
        host.current.m_strHalfBandShift = "OFF";
        CInstrStatus& e = host.edited;
        e.m_strSlm1Param = "LOeq:1k";
        e.m_strSlm2Param = "Leq:A";
        e.m_strProfileParam = "LTOeq:1.6k";
        e.m_strStatParam = "Leq:A";
        e.m_strExchangeRate = "3";
        e.m_strReportTime = "1m";
        e.m_strReport1Param = "LE:A";
        e.m_strStoreRepParams = "ON";
        e.m_strEventTrigger = "LEV";
        e.m_strTriggerOnLevel = "80";
        e.m_strStoreEvnParams = "ON";
        e.m_strEvent1Param = "Lpk:C";
    }

    // The sheet on screen showing page `kind`, and a picture of it beside the test program.
    QWidget& ShowPage(SetupPageKind kind, const char* name) {
        sheet = std::make_unique<CSetupPropSheet>(host);
        QDialog& window = *sheet->CreateWindow();
        window.show();
        const auto kinds = sheet->Kinds();
        const int index =
            static_cast<int>(std::find(kinds.begin(), kinds.end(), kind) - kinds.begin());
        EXPECT_TRUE(sheet->SetActivePage(index));
        platform::EventLoop::ProcessPending();
        window.grab().toImage().save(QString::fromStdString(testenv::BinaryDir() + "/tests/setup/" +
                                                            name + "_" + GetParam() + ".png"));
        QWidget& page = *window.findChild<QTabWidget*>()->currentWidget();
        for (QWidget* control : page.findChildren<QWidget*>()) {
            if (!control->isVisibleTo(&window) || control->objectName().isEmpty())
                continue;
            const QRect area(control->mapTo(&window, QPoint(0, 0)), control->size());
            EXPECT_TRUE(window.rect().contains(area)) << control->objectName().toStdString();
        }
        return page;
    }

    void Pick(QComboBox* list, const QString& text) {
        ASSERT_NE(list, nullptr);
        const int index = list->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        list->setCurrentIndex(index);
        emit list->activated(index);
    }

    testenv::TestOperator op;
    FakeSetupHost host;
    std::unique_ptr<CSetupPropSheet> sheet;
};

}  // namespace

TEST_P(LoggingChannelsPictureTest, TheChannelsPageShowsTheStoredBandsAndRefillsThemOnAPick) {
    using namespace setup::channels_ids;
    QWidget& page = ShowPage(SetupPageKind::Channels, "channels_page");
    const bool qs4160 = std::string(GetParam()).starts_with("QS4160");
    EXPECT_EQ(Control<QWidget>(page, kSlmParams[4])->isVisible(), qs4160);
    EXPECT_EQ(Control<QWidget>(page, kQS4160Picture)->isVisible(), qs4160);
    EXPECT_EQ(Control<QWidget>(page, kQS4060Picture)->isVisible(), !qs4160);
    EXPECT_EQ(Control<QComboBox>(page, kExchangeRate)->currentText(), "3dB");
    auto* bands = Control<QComboBox>(page, kSlmBands[0]);
    EXPECT_EQ(bands->currentText(), qs4160 ? "1k" : "");

    Pick(Control<QComboBox>(page, kSlmParams[0]), "L2");
    EXPECT_EQ(bands->count(), 0);
    EXPECT_FALSE(bands->isEnabled());
    Pick(Control<QComboBox>(page, kSlmParams[0]), "Lpk");
    EXPECT_EQ(bands->currentText(), "Z");
    ASSERT_TRUE(sheet->ApplyAll());
    EXPECT_EQ(host.edited.m_strSlm1Param, "Lpk:Z");
}

TEST_P(LoggingChannelsPictureTest, TheDataLoggingPageShowsItsSectionsAndTheRadiosReachItsRules) {
    using namespace setup::data_logging_ids;
    QWidget& page = ShowPage(SetupPageKind::DataLogging, "data_logging_page");
    const bool qs4160 = std::string(GetParam()).starts_with("QS4160");
    EXPECT_EQ(Control<QAbstractButton>(page, kSlm)->text(), qs4160 ? "SLM" : "SLM +");
    EXPECT_EQ(Control<QComboBox>(page, kReportInterval)->currentText(), "1m");
    EXPECT_EQ(Control<QComboBox>(page, kReport.params[0])->currentText(), "LE");
    EXPECT_EQ(Control<QComboBox>(page, kOnLevel)->currentText(), "80dB");
    EXPECT_TRUE(Control<QAbstractButton>(page, kModeNormal)->isChecked());

    Pick(Control<QComboBox>(page, kTrigger), "MAN");
    EXPECT_FALSE(Control<QComboBox>(page, kOnLevel)->isEnabled());
    // Storing automatically waits until neither reports nor events run.
    auto* autoStore = Control<QAbstractButton>(page, kModeAutoStore);
    EXPECT_FALSE(autoStore->isEnabled());
    Pick(Control<QComboBox>(page, kTrigger), "OFF");
    Pick(Control<QComboBox>(page, kReportInterval), "OFF");
    ASSERT_TRUE(autoStore->isEnabled());
    autoStore->click();
    EXPECT_EQ(host.edited.m_strAutoStore, "ON");
    EXPECT_FALSE(Control<QAbstractButton>(page, kModeNormal)->isChecked());
    EXPECT_FALSE(Control<QAbstractButton>(page, kSlm)->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(TwoVariants, LoggingChannelsPictureTest,
                         ::testing::Values("QS4160_L0$1", "QS4060_n0$1"),
                         [](const auto& info) { return std::string(info.param).substr(0, 8); });
