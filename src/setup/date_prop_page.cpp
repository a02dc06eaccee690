#include "setup/date_prop_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStyle>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "setup/general_page.h"

namespace setup {

using namespace general_ids;

namespace {

// An invalid value shows as a blank: the picker at its minimum with a blank for it.
void ShowDate(QDateEdit& picker, const std::optional<PickerDate>& date) {
    const QSignalBlocker quiet(&picker);
    const QDate value = date ? QDate(date->year, date->month, date->day) : QDate();
    picker.setSpecialValueText(value.isValid() ? QString() : QString(" "));
    picker.setDate(value.isValid() ? value : picker.minimumDate());
}

void ShowTime(QTimeEdit& picker, const std::optional<PickerTime>& time) {
    const QSignalBlocker quiet(&picker);
    const QTime value = time ? QTime(time->hour, time->minute, time->second) : QTime();
    picker.setSpecialValueText(value.isValid() ? QString() : QString(" "));
    picker.setTime(value.isValid() ? value : picker.minimumTime());
}

bool ShowsBlank(const QDateTimeEdit& picker) {
    return !picker.specialValueText().isEmpty() && picker.dateTime() == picker.minimumDateTime();
}

std::optional<PickerDate> TakenDate(const QDateEdit& picker) {
    if (ShowsBlank(picker))
        return std::nullopt;
    const QDate date = picker.date();
    return PickerDate{date.year(), date.month(), date.day()};
}

std::optional<PickerTime> TakenTime(const QTimeEdit& picker) {
    if (ShowsBlank(picker))
        return std::nullopt;
    const QTime time = picker.time();
    return PickerTime{time.hour(), time.minute(), time.second()};
}

}  // namespace

CDatePropPage::CDatePropPage(GeneralPage& model, QWidget* parent)
    : CSetupPropPage(model, parent), m_general(model) {
    auto* columns = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);

    // A group of captioned controls, one a row.
    auto rows = [this](const char* title,
                       std::initializer_list<std::pair<QWidget*, QWidget*>> lines) {
        QGroupBox* group = NewGroup(title);
        auto* grid = new QGridLayout(group);
        int row = 0;
        for (const auto& [caption, control] : lines) {
            grid->addWidget(caption, row, 0);
            grid->addWidget(control, row, 1);
            ++row;
        }
        return group;
    };
    auto caption = [](const char* text) { return new QLabel(text); };
    auto namedCaption = [this](int id, const char* text) {
        QLabel* label = NewText(id);
        label->setText(text);
        return label;
    };

    m_meterDate = NewDatePicker(kMeterDate);
    m_meterTime = NewTimePicker(kMeterTime);
    m_pcDate = NewDatePicker(kPcDate);
    m_pcTime = NewTimePicker(kPcTime);
    m_pcTime->installEventFilter(this);
    QGroupBox* clock = rows("Date - Time", {{caption("Instrument Date"), m_meterDate},
                                            {caption("Instrument Time"), m_meterTime},
                                            {caption("PC Date"), m_pcDate},
                                            {caption("PC Time"), m_pcTime}});
    auto* clockLines = static_cast<QGridLayout*>(clock->layout());
    auto* update = new QCheckBox("Update Instrument  Date-Time to PC Date-Time");
    update->setObjectName(QString::number(kUpdateClock));
    clockLines->addWidget(update, 4, 0, 1, 2);
    QLabel* icon = NewText(kClockWarningIcon);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(24, 24));
    QLabel* warning = NewText(kClockWarning);
    warning->setText(
        "WARNING : When push Apply button,  Instrument date-time will be set to PC date-time");
    warning->setWordWrap(true);
    clockLines->addWidget(icon, 5, 0, Qt::AlignRight | Qt::AlignTop);
    clockLines->addWidget(warning, 5, 1);
    left->addWidget(clock);

    left->addWidget(
        rows("Display - Power", {{caption("Display Contrast"), NewList(kDisplayContrast)},
                                 {caption("Auto Power Off"), NewList(kAutoPowerOff)}}));
    left->addStretch(1);

    QComboBox* channel = NewList(kInputChannel);
    right->addWidget(rows("Input - Output", {{caption("Input Channel"), channel},
                                             {caption("Input Gain"), NewList(kInputGain)},
                                             {caption("DA Output"), NewList(kDaOutput)},
                                             {caption("BaudRate"), NewList(kBaudRate)}}));
    QComboBox* integrationTime = NewList(kIntegrationTime);
    right->addWidget(rows("Measurement", {{caption("Integration Mode"), NewList(kIntegrationMode)},
                                          {caption("Integration Time"), integrationTime},
                                          {caption("BackErase Time"), NewList(kEraseTime)},
                                          {caption("Overload Level"), NewList(kOverloadLevel)}}));
    auto* calLevel = new QLineEdit;
    calLevel->setObjectName(QString::number(kCalLevel));
    calLevel->setMaxLength(GeneralPage::kCalLevelMaxLength);
    right->addWidget(rows(
        "Calibration", {{caption("Cal Level"), calLevel},
                        {namedCaption(kMicResponseLabel, "Mic. Response"), NewList(kMicResponse)},
                        {namedCaption(kWindShieldLabel, "Wind shield"), NewList(kWindShield)},
                        {namedCaption(kAmbientCorrectionLabel, "Mic. Ambiental Corr."),
                         NewList(kAmbientCorrection)}}));
    right->addStretch(1);

    OnChoice(channel, [this] { m_general.OnInputChannelChange(); });
    OnChoice(integrationTime, [this] { m_general.OnIntegrationTimeChange(); });
    OnChoice(update, [this] { m_general.OnUpdateDateTimeCheck(); });
}

QDateEdit* CDatePropPage::NewDatePicker(int id) {
    auto* picker = new QDateEdit;
    picker->setObjectName(QString::number(id));
    picker->setDisplayFormat("dd/MM/yyyy");
    return picker;
}

QTimeEdit* CDatePropPage::NewTimePicker(int id) {
    auto* picker = new QTimeEdit;
    picker->setObjectName(QString::number(id));
    picker->setDisplayFormat("HH:mm:ss");
    return picker;
}

void CDatePropPage::ShowControls() {
    CSetupPropPage::ShowControls();
    ShowDate(*m_meterDate, m_general.MeterDate());
    ShowTime(*m_meterTime, m_general.MeterTime());
    ShowDate(*m_pcDate, m_general.PcDate());
    ShowTime(*m_pcTime, m_general.PcTime());
    FollowClock();
}

void CDatePropPage::TakeControls() {
    CSetupPropPage::TakeControls();
    m_general.SetPcDate(TakenDate(*m_pcDate));
    m_general.SetPcTime(TakenTime(*m_pcTime));
}

void CDatePropPage::FollowClock() {
    if (m_general.IsClockRunning())
        m_timers.Set(GeneralPage::kClockTimerId, GeneralPage::kClockTickMs);
    else
        m_timers.Kill(GeneralPage::kClockTimerId);
}

void CDatePropPage::OnTimer(int id) {
    if (id != GeneralPage::kClockTimerId)
        return;
    // Only the PC time is refreshed: what the operator is choosing elsewhere stays.
    if (m_general.OnTimer())
        ShowTime(*m_pcTime, m_general.PcTime());
    FollowClock();
}

bool CDatePropPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pcTime && event->type() == QEvent::FocusIn) {
        m_general.OnSetFocusPcTime();
        FollowClock();
    }
    return CSetupPropPage::eventFilter(watched, event);
}

}  // namespace setup
