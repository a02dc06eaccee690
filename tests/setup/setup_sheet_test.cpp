// The "Setup Instrument" sheet: its pages by model variant, how it shows and leaves them, the
// send after "Apply All", and pictures of two variants.
#include "setup/setup_prop_sheet.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "fake_setup_host.h"
#include "link/link_reply_state.h"
#include "link/meter_mode.h"
#include "platform/event_loop.h"
#include "setup/current_settings.h"
#include "setup/setup_instrument.h"
#include "setup/setup_prop_page.h"
#include "setup/sheet_pages.h"
#include "setup/value_controls.h"
#include "support/dialog_steps.h"
#include "support/test_env.h"
#include "ui/hooked_dialog.h"

using setup::CSetupPropSheet;
using setup::SetupPageKind;
using K = SetupPageKind;
using setuptest::FakeSetupHost;

namespace {

std::vector<int> Images(const std::vector<SetupPageKind>& pages) {
    std::vector<int> images;
    for (size_t i = 0; i < pages.size(); ++i)
        images.push_back(setup::TabImageAt(static_cast<int>(i)));
    return images;
}

// A page that says what the sheet does with it, and can keep the operator.
class LoggingPage : public setup::SetupPage {
public:
    LoggingPage(setup::SetupHost& host, SetupPageKind kind, std::vector<std::string>& log)
        : SetupPage(host, kind), m_log(log) {}
    void OnInitDialog() override { Note("init"); }
    void OnSetActive() override { Note("shown"); }
    bool OnKillActive() override {
        Note("left");
        return !keep;
    }
    bool keep = false;

private:
    void Note(const char* what) { m_log.push_back(std::string(Info().title) + " " + what); }
    std::vector<std::string>& m_log;
};

class SetupSheetTest : public ::testing::Test {
protected:
    // A sheet over logging pages of three kinds.
    std::unique_ptr<CSetupPropSheet> LoggingSheet() {
        logging.clear();
        std::vector<std::unique_ptr<setup::SetupPage>> pages;
        for (SetupPageKind kind : {K::Current, K::General, K::Options}) {
            auto page = std::make_unique<LoggingPage>(host, kind, log);
            logging.push_back(page.get());
            pages.push_back(std::move(page));
        }
        return std::make_unique<CSetupPropSheet>(std::move(pages));
    }

    testenv::TestOperator op;
    FakeSetupHost host;
    LinkReplyState listeners;
    MeterMode mode{listeners};
    std::vector<std::string> log;
    std::vector<LoggingPage*> logging;
};

template <typename Widget>
Widget* Control(QWidget& window, int id) {
    return window.findChild<Widget*>(QString::number(id));
}

}  // namespace

TEST(SheetPages, TheModelVariantChoosesThePagesAndTheTabsTheirImagesByPosition) {
    const std::vector<SetupPageKind> all = {K::Current,  K::General,     K::Channels,
                                            K::Spectrum, K::DataLogging, K::Options};
    EXPECT_EQ(setup::SheetPagesFor("QS4060_00$1"), all);
    EXPECT_EQ(setup::SheetPagesFor("QS4160_L0$1"), all);
    EXPECT_EQ(Images(all), (std::vector<int>{1, 3, 5, 4, 2, 0}));

    const auto p = setup::SheetPagesFor("QS4060_p0$1");
    EXPECT_EQ(p, (std::vector<SetupPageKind>{K::Current, K::General, K::Channels, K::Options}));
    EXPECT_EQ(Images(p), (std::vector<int>{1, 3, 5, 4}));
    for (const char* model : {"QS4060_q0$1", "QS4060_r1$1", "QS4060_rn0$1"}) {
        const auto q = setup::SheetPagesFor(model);
        EXPECT_EQ(q, (std::vector<SetupPageKind>{K::Current, K::General, K::Channels,
                                                 K::DataLogging, K::Options}))
            << model;
        EXPECT_EQ(Images(q), (std::vector<int>{1, 3, 5, 4, 2})) << model;
    }
    EXPECT_EQ(setup::TabImageAt(6), -1);
    EXPECT_EQ(setup::PageInfo(K::Spectrum).templateId, 357);
    EXPECT_TRUE(setup::PageInfo(K::Channels).swallowsEnter);
    EXPECT_FALSE(setup::PageInfo(K::Options).swallowsEnter);
}

TEST_F(SetupSheetTest, PagesAreShownWhenOpenedAndLeftBeforeAnotherOrApplyAll) {
    auto sheet = LoggingSheet();
    op.ExpectDialog("CSetupPropSheet", [&](platform::ModalDialog&) {
        EXPECT_EQ(sheet->ActivePage(), 0);
        EXPECT_TRUE(sheet->SetActivePage(2));
        EXPECT_TRUE(sheet->SetActivePage(0));
        // A page that keeps the operator stays; so does the sheet.
        logging[0]->keep = true;
        EXPECT_FALSE(sheet->SetActivePage(2));
        EXPECT_FALSE(sheet->ApplyAll());
        EXPECT_EQ(sheet->ActivePage(), 0);
        logging[0]->keep = false;
        return IDOK;  // "Apply All"
    });
    EXPECT_EQ(sheet->Run(), IDOK);
    // "General" was never opened: never initialised, never written back.
    EXPECT_EQ(
        log, (std::vector<std::string>{
                 "Current init", "Current shown", "Current left", "Options init", "Options shown",
                 "Options left", "Current shown", "Current left", "Current left", "Current left"}));

    // A page that keeps the operator when the script presses "Apply All": nothing applied.
    log.clear();
    sheet = LoggingSheet();
    logging[0]->keep = true;
    op.ExpectDialog("CSetupPropSheet", [](platform::ModalDialog&) { return IDOK; });
    EXPECT_EQ(sheet->Run(), IDCANCEL);
    op.ExpectDialog("CSetupPropSheet", [](platform::ModalDialog&) { return IDCANCEL; });
    EXPECT_EQ(sheet->Run(), IDCANCEL);
    EXPECT_EQ(log, (std::vector<std::string>{"Current init", "Current shown", "Current left"}));
}

TEST_F(SetupSheetTest, ApplyAllSendsOnlyOnceAnAcquisitionHasStopped) {
    host.ReadAs("QS4060_n0$1");
    auto apply = [](platform::ModalDialog& dialog) {
        auto& sheet = static_cast<CSetupPropSheet&>(dialog);
        EXPECT_EQ(sheet.Kinds(), setup::SheetPagesFor("QS4060_n0$1"));
        EXPECT_NE(sheet.FindPage<setup::CurrentSettings>(), nullptr);
        EXPECT_EQ(sheet.ActivePage(), 0);
        return IDOK;
    };
    op.ExpectDialog("CSetupPropSheet", [](platform::ModalDialog&) { return IDCANCEL; });
    EXPECT_EQ(setup::RunSetupInstrument(host, mode), setup::SetupOutcome::Cancelled);
    op.ExpectDialog("CSetupPropSheet", apply);
    EXPECT_EQ(setup::RunSetupInstrument(host, mode), setup::SetupOutcome::Sent);
    EXPECT_EQ(host.sends, 1);

    // Acquiring: No sends nothing; a stop the meter never confirms sends nothing either.
    mode.OnAcquisitionStarted();
    op.ExpectDialog("CSetupPropSheet", apply);
    op.ExpectBox(
        "WARNING: Instrument is in ACQUISITION state.\nTo modify setup parameters you "
        "must stop acquisition.\nConfirm stop acquisition ?",
        IDNO);
    EXPECT_EQ(setup::RunSetupInstrument(host, mode), setup::SetupOutcome::NotSent);
    host.stops = false;
    op.ExpectDialog("CSetupPropSheet", apply);
    op.ExpectBox("Confirm stop acquisition ?", IDYES);
    op.ExpectBox("ERROR: Instrument did not stop acquisition.\nSetup parameters not sent.");
    EXPECT_EQ(setup::RunSetupInstrument(host, mode), setup::SetupOutcome::NotSent);
    EXPECT_EQ(host.sends, 1);
    host.stops = true;
    op.ExpectDialog("CSetupPropSheet", apply);
    op.ExpectBox("Confirm stop acquisition ?", IDYES);
    EXPECT_EQ(setup::RunSetupInstrument(host, mode), setup::SetupOutcome::Sent);
    EXPECT_EQ(host.stopRequests, 2);
    EXPECT_EQ(host.sends, 2);
    EXPECT_FALSE(mode.IsAcquiring());
    // Datalogging asks the same.
    mode.OnDataLoggingStarted();
    op.ExpectDialog("CSetupPropSheet", apply);
    op.ExpectBox("Confirm stop acquisition ?", IDNO);
    EXPECT_EQ(setup::RunSetupInstrument(host, mode), setup::SetupOutcome::NotSent);
}

TEST_F(SetupSheetTest, OnScreenEnterKeepsTheSheetOnTheCurrentPageAndATurnedBackTabStays) {
    host.ReadAs("QS4160_L0$1");
    // A setup the "General" page lets the operator leave.
    setuptest::FillAsMeter(host.current);
    host.edited = host.current;
    CSetupPropSheet sheet(host);
    testenv::WhenDialogShown([&](QDialog& window) {
        QTest::keyClick(&window, Qt::Key_Return);
        EXPECT_TRUE(window.isVisible());
        auto* tabs = window.findChild<QTabWidget*>();
        tabs->setCurrentIndex(1);  // "General"
        QTest::keyClick(&window, Qt::Key_Return);
        EXPECT_TRUE(window.isVisible());
        tabs->setCurrentIndex(tabs->count() - 1);
        EXPECT_EQ(sheet.ActivePage(), tabs->count() - 1);
        QTest::keyClick(&window, Qt::Key_Return);  // the options page lets Enter through
    });
    EXPECT_EQ(sheet.RunOnScreen(), IDOK);
    EXPECT_EQ(sheet.Window(), nullptr);

    auto logged = LoggingSheet();
    logging[0]->keep = true;
    testenv::WhenDialogShown([](QDialog& window) {
        auto* tabs = window.findChild<QTabWidget*>();
        tabs->setCurrentIndex(1);
        EXPECT_EQ(tabs->currentIndex(), 0);
        Control<QPushButton>(window, IDOK)->click();
        EXPECT_TRUE(window.isVisible());
        Control<QPushButton>(window, IDCANCEL)->click();
    });
    EXPECT_EQ(logged->RunOnScreen(), IDCANCEL);
}

// A page window over a list and a check box, with one rule.
class ChoicePage : public setup::CSetupPropPage {
public:
    explicit ChoicePage(setup::SetupPage& model) : CSetupPropPage(model) {
        auto* layout = new QVBoxLayout(this);
        QComboBox* list = NewList(1552);
        layout->addWidget(list);
        auto* check = new QCheckBox("Update");
        check->setObjectName("1200");
        layout->addWidget(check);
        layout->addWidget(NewText(1201));
        OnChoice(list, [&model] {
            setup::PageControls& c = model.Controls();
            c.Show(1201, c.SelectedText(1552) == "19.2k");
        });
    }
};

TEST_F(SetupSheetTest, APageWindowShowsItsModelsControlsAndHandsTheOperatorsChoicesBack) {
    setup::SetupPage model(host, K::General);
    setup::PageControls& c = model.Controls();
    c.FillList(1552, {"9.6k", "19.2k", "38.4k"});
    c.SelectPrefix(1552, "38.4k");
    c.Check(1200, true);
    c.Enable(1200, false);
    c.SetText(1201, "WARNING");
    c.Show(1201, false);
    ChoicePage page(model);
    page.ShowControls();
    auto* list = Control<QComboBox>(page, 1552);
    auto* check = Control<QCheckBox>(page, 1200);
    EXPECT_EQ(list->count(), 3);
    EXPECT_EQ(list->currentText(), "38.4k");
    EXPECT_TRUE(check->isChecked());
    EXPECT_FALSE(check->isEnabled());
    EXPECT_EQ(Control<QLabel>(page, 1201)->text(), "WARNING");
    EXPECT_TRUE(Control<QLabel>(page, 1201)->isHidden());

    // The operator's choice reaches the model before its rule, and the rule's effect shows.
    list->setCurrentIndex(1);
    emit list->activated(1);
    EXPECT_EQ(c.SelectedText(1552), "19.2k");
    EXPECT_FALSE(Control<QLabel>(page, 1201)->isHidden());
    check->setChecked(false);
    page.TakeControls();
    EXPECT_FALSE(c.IsChecked(1200));
}

namespace {

// Whether `widget` can show a value in `form`; the second control of a pair is a list, or for a
// radio pair the other button.
bool Shows(QWidget* widget, setup::ControlForm form, bool second) {
    using F = setup::ControlForm;
    const auto* button = qobject_cast<QAbstractButton*>(widget);
    const bool checkable = button && button->isCheckable();
    switch (form) {
        case F::List:
        case F::ListPair:
            return qobject_cast<QComboBox*>(widget) != nullptr;
        case F::CheckList:
            return second ? qobject_cast<QComboBox*>(widget) != nullptr : checkable;
        case F::Check:
        case F::RadioPair:
            return checkable;
        case F::Edit:
            return qobject_cast<QLineEdit*>(widget) != nullptr;
        case F::Date:
            return qobject_cast<QDateEdit*>(widget) != nullptr;
        case F::Time:
            return qobject_cast<QTimeEdit*>(widget) != nullptr;
        case F::Text:
            return qobject_cast<QLabel*>(widget) != nullptr;
        case F::None:
            break;
    }
    return false;
}

}  // namespace

// A value whose control is missing from its page would be read from the meter and never shown.
TEST_F(SetupSheetTest, EveryValueControlIsAWidgetOfItsPageThatShowsItsForm) {
    for (const char* model : {"QS4060_00$1", "QS4160_L0$1"}) {
        SCOPED_TRACE(model);
        host.ReadAs(model);
        CSetupPropSheet sheet(host);
        const auto* tabs = sheet.CreateWindow()->findChild<QTabWidget*>();
        const std::vector<SetupPageKind> kinds = sheet.Kinds();
        for (const setup::ValueControl& binding : setup::ValueControls()) {
            const setup::PageControl& control = binding.control;
            const auto page = std::find(kinds.begin(), kinds.end(), control.page);
            ASSERT_NE(page, kinds.end()) << binding.value;
            for (const int id : {control.id, control.second}) {
                if (id == 0)
                    continue;
                QWidget* widget = tabs->widget(static_cast<int>(page - kinds.begin()))
                                      ->findChild<QWidget*>(ui::IdName(id));
                EXPECT_TRUE(widget && Shows(widget, control.form, id == control.second))
                    << binding.value << " " << id;
            }
        }
    }
}

TEST_F(SetupSheetTest, PicturesOfAFullAndAShortVariant) {
    // Kept beside the test program, to be looked at.
    const std::string folder = testenv::BinaryDir() + "/tests/setup/";
    struct Variant {
        const char* model;
        std::vector<const char*> tabs;
    };
    for (const Variant& variant :
         {Variant{"QS4160_L0$1",
                  {"Current", "General", "Channels", "Spectrum", "DataLogging", "Options"}},
          Variant{"QS4060_p0$1", {"Current", "General", "Channels", "Options"}}}) {
        SCOPED_TRACE(variant.model);
        host.ReadAs(variant.model);
        setuptest::FillAsRead(host.current);
        CSetupPropSheet sheet(host);
        QDialog& window = *sheet.CreateWindow();
        window.show();
        platform::EventLoop::ProcessPending();
        const QImage picture = window.grab().toImage();
        picture.save(QString::fromStdString(folder + "setup_sheet_" + variant.model + ".png"));

        EXPECT_EQ(window.windowTitle(), "Setup Instrument");
        auto* tabs = window.findChild<QTabWidget*>();
        ASSERT_EQ(tabs->count(), static_cast<int>(variant.tabs.size()));
        for (int i = 0; i < tabs->count(); ++i) {
            EXPECT_EQ(tabs->tabText(i), variant.tabs[static_cast<size_t>(i)]);
            const QImage icon = tabs->tabIcon(i).pixmap(13, 13).toImage();
            EXPECT_EQ(icon.convertToFormat(QImage::Format_ARGB32),
                      setup::SetupTabImage(setup::TabImageAt(i)))
                << i;
        }
        EXPECT_EQ(tabs->currentIndex(), 0);
        EXPECT_EQ(Control<QPushButton>(window, IDOK)->text(), "Apply All");
        EXPECT_EQ(Control<QPushButton>(window, IDCANCEL)->text(), "Cancel");
        EXPECT_EQ(window.findChild<QDialogButtonBox*>()->buttons().size(), 2);

        // The summary texts, within the window; a meter without logging shows fewer.
        auto* instrument = Control<QLabel>(window, setup::current_ids::kInstrument);
        ASSERT_NE(instrument, nullptr);
        EXPECT_TRUE(instrument->text().contains("Serial Num.: INSTR_N"));
        int shown = 0;
        for (QLabel* label : tabs->currentWidget()->findChildren<QLabel*>()) {
            if (!label->isVisibleTo(&window))
                continue;
            ++shown;
            const QRect area(label->mapTo(&window, QPoint(0, 0)), label->size());
            EXPECT_TRUE(window.rect().contains(area)) << label->objectName().toStdString();
        }
        const bool logs = std::string(variant.model).find('p') == std::string::npos;
        EXPECT_EQ(shown, logs ? 16 : 11);
        EXPECT_EQ(Control<QGroupBox>(*tabs->currentWidget(), setup::current_ids::kProfileGroup)
                      ->isEnabled(),
                  logs);
    }
}
