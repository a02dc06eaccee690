#include "setup/data_logging_prp_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/text.h"
#include "setup/data_logging_page.h"

namespace setup {

using namespace data_logging_ids;

namespace {

template <typename Button>
Button* NewButton(int id, const char* text) {
    auto* button = new Button(ToQt(text));
    button->setObjectName(QString::number(id));
    return button;
}

}  // namespace

CDataLoggingPrpPage::CDataLoggingPrpPage(DataLoggingPage& model, QWidget* parent)
    : CSetupPropPage(model, parent) {
    auto label = [this](int id, const char* text) {
        QLabel* l = NewText(id);
        l->setText(ToQt(text));
        return l;
    };
    auto choice = [this](QWidget* control, std::function<void()> rule) {
        OnChoice(control, std::move(rule));
        return control;
    };

    // MEASURE: the mode, the logged channels, short Leq and FFT.
    QGroupBox* measure = NewGroup("MEASURE");
    auto* measureLines = new QVBoxLayout(measure);
    QGroupBox* mode = NewGroup("DataLogging Mode");
    auto* modeLines = new QVBoxLayout(mode);
    modeLines->addWidget(
        choice(NewButton<QRadioButton>(kModeNormal, "Normal"), [&model] { model.OnModeNormal(); }));
    modeLines->addWidget(choice(NewButton<QRadioButton>(kModeAutoStore, "Auto Store"),
                                [&model] { model.OnModeAutoStore(); }));
    measureLines->addWidget(mode);
    // On report models the check reads "SLM +" and "PROFILE" follows it as one caption.
    auto* slm = new QHBoxLayout;
    slm->setSpacing(fontMetrics().horizontalAdvance(QLatin1Char(' ')));
    slm->addWidget(NewButton<QCheckBox>(kSlm, "SLM"));
    slm->addWidget(label(kProfileLabel, "PROFILE"));
    slm->addStretch(1);
    measureLines->addLayout(slm);
    measureLines->addWidget(NewButton<QCheckBox>(kProfile, "PROFILE"));
    measureLines->addWidget(NewButton<QCheckBox>(kOctaves, "OCT."));
    measureLines->addWidget(NewButton<QCheckBox>(kThirdOctaves, "T. OCT."));
    measureLines->addWidget(label(kLoggerLabel, "ENABLED"));
    auto* shortLeq = new QHBoxLayout;
    shortLeq->addWidget(choice(NewButton<QCheckBox>(kShortLeq, "SHORT_LEQ"),
                               [&model] { model.OnShortLeqCheck(); }));
    shortLeq->addWidget(NewList(kShortLeqWeighting));
    measureLines->addLayout(shortLeq);
    measureLines->addWidget(NewButton<QCheckBox>(kFft, "FFT"));
    measureLines->addStretch(1);

    // The five parameters with their weightings, and what the section stores.
    auto section = [&](const SectionIds& s, void (DataLoggingPage::*onParam)(int),
                       void (DataLoggingPage::*onParams)()) {
        QGroupBox* params = NewGroup("Parametrers", s.paramsGroup);
        auto* grid = new QGridLayout(params);
        for (int n = 0; n < 5; ++n) {
            grid->addWidget(label(s.paramLabels[static_cast<size_t>(n)],
                                  platform::Format("Par%d", n + 1).c_str()),
                            n, 0);
            grid->addWidget(choice(NewList(s.params[static_cast<size_t>(n)]),
                                   [&model, onParam, n] { (model.*onParam)(n); }),
                            n, 1);
            grid->addWidget(NewList(s.weightings[static_cast<size_t>(n)]), n, 2);
        }
        QGroupBox* store = NewGroup("Store", s.storeGroup);
        auto* storeLines = new QVBoxLayout(store);
        storeLines->addWidget(choice(NewButton<QCheckBox>(s.storeParams, "Param. 1- 5"),
                                     [&model, onParams] { (model.*onParams)(); }));
        storeLines->addWidget(NewButton<QCheckBox>(s.storeOctaves, "Oct. Spectrum"));
        storeLines->addWidget(NewButton<QCheckBox>(s.storeThirdOctaves, "TOct. Spectrum"));
        storeLines->addWidget(NewButton<QCheckBox>(s.storeStatistics, "Statistics"));
        auto* row = new QHBoxLayout;
        row->addWidget(params);
        row->addWidget(store, 0, Qt::AlignTop);
        return row;
    };

    QGroupBox* report = NewGroup("REPORT", kReport.group);
    auto* reportLines = new QVBoxLayout(report);
    auto* interval = new QHBoxLayout;
    interval->addWidget(label(kReportIntervalLabel, "Report Interval"));
    interval->addWidget(
        choice(NewList(kReportInterval), [&model] { model.OnReportIntervalChange(); }));
    interval->addStretch(1);
    reportLines->addLayout(interval);
    reportLines->addLayout(section(kReport, &DataLoggingPage::OnReportParamChange,
                                   &DataLoggingPage::OnReportParamsCheck));
    reportLines->addStretch(1);

    QGroupBox* event = NewGroup("EVENT", kEvent.group);
    auto* eventLines = new QVBoxLayout(event);
    QGroupBox* trigger = NewGroup("Trigger", kTriggerGroup);
    auto* triggerGrid = new QGridLayout(trigger);
    const std::array<int, 7> lists = {kTrigger, kPolarity, kOnLevel, kOffLevel,
                                      kOnTime,  kOffTime,  kNotify};
    const std::array<const char*, 7> captions = {"Type",         "Polarity",     "On Level",
                                                 "Off Level",    "Min. On Time", "Min. Off Time",
                                                 "Serial Notify"};
    for (size_t i = 0; i < lists.size(); ++i) {
        const int row = static_cast<int>(i % 4);
        const int column = static_cast<int>(i / 4) * 2;
        triggerGrid->addWidget(label(kTriggerLabels[i], captions[i]), row, column);
        QComboBox* list = NewList(lists[i]);
        if (lists[i] == kTrigger)
            choice(list, [&model] { model.OnTriggerTypeChange(); });
        triggerGrid->addWidget(list, row, column + 1);
    }
    // The trigger beside the parameters: the page stays low enough for a laptop's screen.
    QHBoxLayout* eventRow =
        section(kEvent, &DataLoggingPage::OnEventParamChange, &DataLoggingPage::OnEventParamsCheck);
    eventRow->insertWidget(0, trigger, 0, Qt::AlignTop);
    eventLines->addLayout(eventRow);
    eventLines->addStretch(1);

    auto* page = new QGridLayout(this);
    page->addWidget(measure, 0, 0);
    page->addWidget(report, 0, 1);
    page->addWidget(event, 1, 0, 1, 2);
    page->setColumnStretch(1, 1);
}

}  // namespace setup
