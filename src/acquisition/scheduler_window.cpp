// The scheduler's window: widgets named by dialog id that show the form and hand the
// operator's clicks back to the object. No rule lives here.

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "acquisition/scheduler_dlg.h"
#include "ui/button_st.h"
#include "ui/hooked_dialog.h"
#include "ui/report_list_widget.h"

namespace acquisition {

namespace {

using namespace scheduler_ids;
using ui::IdName;
using ui::ToQt;

constexpr int kLogListHeight = 120;

struct CheckControl {
    int id;
    const char* caption;
    bool ScheduleSettings::*field;
};

constexpr CheckControl kChecks[] = {
    {kContinuous, "Continuous\nAcquisition", &ScheduleSettings::continuous},
    {kDataLogging, "Monitor && DataLogging", &ScheduleSettings::dataLogging},
    {kStopAtPause, "Stop acq. at monitor pause", &ScheduleSettings::stopAtPause},
    {kPowerOffAtPause, "Instr. Power Off at monitor pause", &ScheduleSettings::powerOffAtPause},
    {kDownload, "Download logged data", &ScheduleSettings::download},
    {kAudioRecording, "Activate Audio Recording", &ScheduleSettings::audioRecording},
    {kCalDisabled, "Cal. disabled", &ScheduleSettings::calDisabled},
    {kCalBefore, "Cal. before every acquisition", &ScheduleSettings::calBefore},
    {kCalAfter, "Cal. after every acquisition", &ScheduleSettings::calAfter},
    {kCalAtDate, "Cal. at date", &ScheduleSettings::calAtDate},
};

QImage ButtonImage(void (*paint)(QPainter&)) {
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    paint(p);
    return image;
}

void PaintStart(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 150, 0));
    p.drawPolygon(QPolygon({QPoint(3, 2), QPoint(14, 8), QPoint(3, 14)}));
}

void PaintStop(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(190, 0, 0));
    p.drawRect(3, 3, 10, 10);
}

void PaintSetup(QPainter& p) {
    p.setPen(QPen(QColor(60, 60, 120), 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(8, 8), 4.5, 4.5);
    p.drawLine(QPointF(8, 1), QPointF(8, 3));
    p.drawLine(QPointF(8, 13), QPointF(8, 15));
    p.drawLine(QPointF(1, 8), QPointF(3, 8));
    p.drawLine(QPointF(13, 8), QPointF(15, 8));
}

// The time of day of a picker read as a length, and back; 2000-01-01 00:00:00 when invalid.
QTime PickerTime(const PickerSpan& span) {
    return span ? QTime(0, 0).addSecs(static_cast<int>(*span % 86400)) : QTime(0, 0);
}

long long PickerSeconds(const QTimeEdit* edit) {
    return edit ? QTime(0, 0).secsTo(edit->time()) : 0;
}

QDateTime ToQt(const platform::DateTime& time) {
    if (!time.IsValid())
        return QDateTime(QDate(2000, 1, 1), QTime(0, 0));
    return QDateTime(QDate(time.Year(), time.Month(), time.Day()),
                     QTime(time.Hour(), time.Minute(), time.Second()));
}

platform::DateTime FromPickers(const QDateEdit* date, const QTimeEdit* time,
                               const platform::DateTime& kept) {
    if (!date || !time)
        return kept;
    const QDate d = date->date();
    const QTime t = time->time();
    return platform::DateTime::FromParts(d.year(), d.month(), d.day(), t.hour(), t.minute(),
                                         t.second());
}

QTimeEdit* NewTimePicker(int id, QWidget* parent) {
    auto* edit = new QTimeEdit(parent);
    edit->setObjectName(IdName(id));
    edit->setDisplayFormat("HH:mm:ss");
    return edit;
}

QDateEdit* NewDatePicker(int id, QWidget* parent) {
    auto* edit = new QDateEdit(parent);
    edit->setObjectName(IdName(id));
    edit->setDisplayFormat("dd/MM/yyyy");
    return edit;
}

}  // namespace

ui::HookedDialog::Hooks CSchedulerDlg::WindowHooks() {
    return {.closing =
                [this] {
                    OnClose();
                    return false;
                },
            .ok = [this] { Handle(&CSchedulerDlg::OnOK); },
            .cancel = [this] { Handle(&CSchedulerDlg::OnCancel); }};
}

void CSchedulerDlg::SetCaption(const std::string& caption) {
    m_caption = caption;
    if (QDialog* window = Window())
        window->setWindowTitle(ToQt(caption));
}

void CSchedulerDlg::Handle(void (CSchedulerDlg::*handler)()) {
    TakeControls();
    (this->*handler)();
    ShowForm();
}

void CSchedulerDlg::BuildWindow(QDialog& dialog) {
    dialog.setWindowTitle(ToQt(m_caption));
    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);

    auto* channels = new QGroupBox("Channel to Monitor", &dialog);
    auto* channelRow = new QHBoxLayout(channels);
    for (const ChannelRadio& control : ChannelRadios()) {
        auto* radio = new QRadioButton(control.caption, channels);
        radio->setObjectName(IdName(control.id));
        radio->setAutoExclusive(false);
        channelRow->addWidget(radio);
    }
    left->addWidget(channels);

    const auto addCheck = [&](QLayout* layout, int id) {
        for (const CheckControl& check : kChecks)
            if (check.id == id) {
                auto* box = new QCheckBox(check.caption, &dialog);
                box->setObjectName(IdName(id));
                layout->addWidget(box);
            }
    };

    auto* times = new QGroupBox("Schedule", &dialog);
    auto* timeGrid = new QGridLayout(times);
    timeGrid->addWidget(new QLabel("Start Time", times), 0, 0);
    timeGrid->addWidget(NewDatePicker(kStartDate, times), 0, 1);
    timeGrid->addWidget(NewTimePicker(kStartTime, times), 0, 2);
    timeGrid->addWidget(new QLabel("Stop Time", times), 1, 0);
    timeGrid->addWidget(NewDatePicker(kStopDate, times), 1, 1);
    timeGrid->addWidget(NewTimePicker(kStopTime, times), 1, 2);
    timeGrid->addWidget(new QLabel("Acq.Time", times), 2, 0);
    timeGrid->addWidget(NewTimePicker(kAcquisitionTime, times), 2, 1);
    timeGrid->addWidget(new QLabel("Rep.Time", times), 3, 0);
    timeGrid->addWidget(NewTimePicker(kRepetitionTime, times), 3, 1);
    auto* continuous = new QVBoxLayout;
    addCheck(continuous, kContinuous);
    timeGrid->addLayout(continuous, 2, 2, 2, 1);
    left->addWidget(times);

    auto* options = new QGroupBox("Monitoring", &dialog);
    auto* optionList = new QVBoxLayout(options);
    for (const int id : {kDataLogging, kStopAtPause, kPowerOffAtPause, kDownload, kAudioRecording})
        addCheck(optionList, id);
    left->addWidget(options);

    auto* calibration = new QGroupBox("Calibration", &dialog);
    auto* calGrid = new QGridLayout(calibration);
    auto* calChoices = new QVBoxLayout;
    for (const int id : {kCalDisabled, kCalBefore, kCalAfter, kCalAtDate})
        addCheck(calChoices, id);
    calGrid->addLayout(calChoices, 0, 0, 1, 2);
    calGrid->addWidget(NewDatePicker(kCalDate, calibration), 1, 0);
    calGrid->addWidget(NewTimePicker(kCalTime, calibration), 1, 1);
    auto* intervalLabel = new QLabel("Calibration Interval", calibration);
    intervalLabel->setObjectName(IdName(kCalIntervalLabel));
    calGrid->addWidget(intervalLabel, 2, 0);
    calGrid->addWidget(NewTimePicker(kCalInterval, calibration), 2, 1);
    auto* confirm = new QGroupBox("Confirm Calibration", calibration);
    auto* confirmGrid = new QGridLayout(confirm);
    auto* always = new QRadioButton("Cal. always", confirm);
    always->setObjectName(IdName(kCalAlwaysRadio));
    always->setAutoExclusive(false);
    auto* ifError = new QRadioButton("Cal. if error exceeds", confirm);
    ifError->setObjectName(IdName(kCalIfErrorRadio));
    ifError->setAutoExclusive(false);
    auto* threshold = new QLineEdit(confirm);
    threshold->setObjectName(IdName(kThreshold));
    threshold->setMaximumWidth(60);
    confirmGrid->addWidget(always, 0, 0);
    confirmGrid->addWidget(ifError, 1, 0);
    confirmGrid->addWidget(threshold, 1, 1);
    confirmGrid->addWidget(new QLabel("dB", confirm), 1, 2);
    calGrid->addWidget(confirm, 3, 0, 1, 2);
    right->addWidget(calibration);

    auto* buttons = new QHBoxLayout;
    const auto addButton = [&](int id, const char* caption, const char* tip,
                               void (*paint)(QPainter&)) {
        auto* button = new ui::CButtonST(caption, &dialog);
        button->setObjectName(IdName(id));
        button->SetIcon(ButtonImage(paint), ui::CButtonST::BTNST_NO_ICON);
        button->SetTooltipText(tip);
        buttons->addWidget(button);
    };
    addButton(kStart, "START", "Start Sheduler", PaintStart);
    addButton(kStop, "STOP", "Stop Scheduler", PaintStop);
    addButton(kInstrSetup, "Instr. Setup", "Instr. Setup", PaintSetup);
    right->addLayout(buttons);
    right->addStretch(1);

    auto* log = new ui::ReportListWidget(m_LogList, &dialog);
    log->setObjectName(IdName(kLogList));
    log->SetImages(m_host.LogImages());
    log->setMinimumHeight(kLogListHeight);

    auto* whole = new QVBoxLayout(&dialog);
    whole->addLayout(columns);
    whole->addWidget(log);

    for (const ChannelRadio& control : ChannelRadios()) {
        auto* radio = dialog.findChild<QRadioButton*>(IdName(control.id));
        QObject::connect(radio, &QRadioButton::clicked, &dialog, [this, kind = control.Kind()] {
            TakeControls();
            OnChannel(kind);
            ShowForm();
        });
    }
    const std::pair<int, void (CSchedulerDlg::*)()> handlers[] = {
        {kContinuous, &CSchedulerDlg::OnContinuousAcquisition},
        {kDataLogging, &CSchedulerDlg::OnDataLogging},
        {kStopAtPause, &CSchedulerDlg::OnStopAcqAtPause},
        {kPowerOffAtPause, &CSchedulerDlg::OnPowerOffAtPause},
        {kDownload, &CSchedulerDlg::OnDownloadLoggedData},
        {kAudioRecording, &CSchedulerDlg::OnAudioRecording},
        {kCalDisabled, &CSchedulerDlg::OnCalDisabled},
        {kCalAtDate, &CSchedulerDlg::OnCalAtDate},
        {kCalAlwaysRadio, &CSchedulerDlg::OnCalAlways},
        {kCalIfErrorRadio, &CSchedulerDlg::OnCalIfErrorExceeds},
        {kStart, &CSchedulerDlg::OnOK},
        {kStop, &CSchedulerDlg::OnCancel},
        {kInstrSetup, &CSchedulerDlg::OnInstrSetup},
    };
    for (const auto& [id, handler] : handlers) {
        auto* button = dialog.findChild<QAbstractButton*>(IdName(id));
        QObject::connect(button, &QAbstractButton::clicked, &dialog,
                         [this, handler = handler] { Handle(handler); });
    }
    OnInitDialog();
}

void CSchedulerDlg::ShowForm() {
    if (!Window())
        return;
    QDialog& dialog = *Window();
    const ScheduleSettings& settings = Settings();
    for (QWidget* widget : dialog.findChildren<QWidget*>()) {
        bool number = false;
        const int id = widget->objectName().toInt(&number);
        if (number)
            widget->setEnabled(m_form.IsEnabled(id));
    }
    const auto find = [&dialog](int id) { return dialog.findChild<QWidget*>(IdName(id)); };
    const auto setChecked = [&](int id, bool checked) {
        if (auto* button = qobject_cast<QAbstractButton*>(find(id))) {
            const QSignalBlocker block(button);
            button->setChecked(checked);
        }
    };
    for (const CheckControl& check : kChecks)
        setChecked(check.id, settings.*check.field);
    for (const ChannelRadio& control : ChannelRadios())
        setChecked(control.id, settings.channel == control.Kind());
    setChecked(kCalAlwaysRadio, settings.confirmMode == ConfirmMode::kCalAlways);
    setChecked(kCalIfErrorRadio, settings.confirmMode == ConfirmMode::kCalIfErrorExceeds);

    const auto showDateTime = [&](int dateId, int timeId, const platform::DateTime& time) {
        const QDateTime shown = ToQt(time);
        if (auto* date = qobject_cast<QDateEdit*>(find(dateId))) {
            const QSignalBlocker block(date);
            date->setDate(shown.date());
        }
        if (auto* edit = qobject_cast<QTimeEdit*>(find(timeId))) {
            const QSignalBlocker block(edit);
            edit->setTime(shown.time());
        }
    };
    showDateTime(kStartDate, kStartTime, settings.start);
    showDateTime(kStopDate, kStopTime, settings.stop);
    showDateTime(kCalDate, kCalTime, settings.calibration);
    const auto showSpan = [&](int id, const PickerSpan& span) {
        if (auto* edit = qobject_cast<QTimeEdit*>(find(id))) {
            const QSignalBlocker block(edit);
            edit->setTime(PickerTime(span));
        }
    };
    showSpan(kAcquisitionTime, settings.acquisitionTime);
    showSpan(kRepetitionTime, settings.repetitionTime);
    showSpan(kCalInterval, settings.calibrationInterval);
    if (auto* threshold = qobject_cast<QLineEdit*>(find(kThreshold))) {
        const QSignalBlocker block(threshold);
        threshold->setText(ToQt(settings.threshold));
    }
    dialog.setWindowTitle(ToQt(m_caption));
}

void CSchedulerDlg::TakeControls() {
    if (!Window())
        return;
    QDialog& dialog = *Window();
    ScheduleSettings& settings = Settings();
    const auto find = [&dialog](int id) { return dialog.findChild<QWidget*>(IdName(id)); };
    for (const CheckControl& check : kChecks)
        if (auto* box = qobject_cast<QAbstractButton*>(find(check.id)))
            settings.*check.field = box->isChecked();
    const auto date = [&](int id) { return qobject_cast<QDateEdit*>(find(id)); };
    const auto time = [&](int id) { return qobject_cast<QTimeEdit*>(find(id)); };
    settings.start = FromPickers(date(kStartDate), time(kStartTime), settings.start);
    settings.stop = FromPickers(date(kStopDate), time(kStopTime), settings.stop);
    settings.calibration = FromPickers(date(kCalDate), time(kCalTime), settings.calibration);
    // Pickers marked invalid stay so until a rule gives them a value.
    if (settings.acquisitionTime)
        settings.acquisitionTime = PickerSeconds(time(kAcquisitionTime));
    if (settings.repetitionTime)
        settings.repetitionTime = PickerSeconds(time(kRepetitionTime));
    if (settings.calibrationInterval)
        settings.calibrationInterval = PickerSeconds(time(kCalInterval));
    if (auto* threshold = qobject_cast<QLineEdit*>(find(kThreshold)))
        settings.threshold = ui::FromQt(threshold->text());
}

}  // namespace acquisition
