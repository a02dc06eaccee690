#include "setup/cur_setting_prop_page.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <initializer_list>

#include "setup/current_settings.h"

namespace setup {

using namespace current_ids;

CCurSettingPropPage::CCurSettingPropPage(CurrentSettings& model, QWidget* parent)
    : CSetupPropPage(model, parent) {
    auto* grid = new QGridLayout(this);
    auto group = [this](const char* title, int groupId, std::initializer_list<int> texts) {
        QGroupBox* box = NewGroup(title, groupId);
        auto* row = new QHBoxLayout(box);
        for (int id : texts)
            row->addWidget(NewText(id), 0, Qt::AlignTop);
        return box;
    };
    auto column = [grid](int at, std::initializer_list<QGroupBox*> boxes) {
        auto* stack = new QVBoxLayout;
        for (QGroupBox* box : boxes)
            stack->addWidget(box);
        stack->addStretch(1);
        grid->addLayout(stack, 0, at);
    };

    // Four columns, so that the page stays low enough for a laptop's screen.
    column(0, {group("Instrument", 0, {kInstrument}), group("Microphone", 0, {kMicrophone}),
               group("General", 0, {kGeneral}), group("In/Out", 0, {kInOut})});
    column(1, {group("Calibration", 0, {kCalibration}), group("Measurement", 0, {kMeasurement}),
               group("SLM", 0, {kSlm}), group("Profile", kProfileGroup, {kProfile})});
    column(2, {group("Spectrum", kSpectrumGroup, {kSpectrum}),
               group("Statistics", 0, {kStatistics}), group("Dose Integration", 0, {kDose})});

    // The logging summary: its headline over two columns, the report and the event side by
    // side below it.
    QGroupBox* logging = NewGroup("Meas. DLogger", kLoggingGroup);
    auto* loggingLines = new QVBoxLayout(logging);
    loggingLines->addWidget(NewText(kLogging));
    auto* loggingColumns = new QHBoxLayout;
    loggingColumns->addWidget(NewText(kLoggingLeft), 0, Qt::AlignTop);
    loggingColumns->addWidget(NewText(kLoggingRight), 0, Qt::AlignTop);
    loggingLines->addLayout(loggingColumns);
    auto* sections = new QHBoxLayout;
    sections->addWidget(group("Report DLogger", kReportGroup, {kReport}), 0, Qt::AlignTop);
    sections->addWidget(group("Event DLogger", kEventGroup, {kEvent}), 0, Qt::AlignTop);
    auto* stack = new QVBoxLayout;
    stack->addWidget(logging);
    stack->addLayout(sections);
    stack->addStretch(1);
    grid->addLayout(stack, 0, 3);
}

}  // namespace setup
