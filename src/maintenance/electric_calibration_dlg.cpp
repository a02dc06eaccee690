#include "maintenance/electric_calibration_dlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

#include "platform/clock.h"
#include "platform/operator.h"

using ui::ToQt;

CElectricCalibrationDlg::CElectricCalibrationDlg(maintenance::ElectricCalibHost& host,
                                                 SendCommandFn send, MeterMode& mode)
    : m_routine(host, std::move(send), mode) {}

CElectricCalibrationDlg::~CElectricCalibrationDlg() {
    DestroyWindow();
}

ui::HookedDialog::Hooks CElectricCalibrationDlg::WindowHooks() {
    return {.ok = [this] { OnOK(); }, .cancel = [this] { OnCancel(); }};
}

void CElectricCalibrationDlg::Open(int routine) {
    Create();
    m_routine.Begin(routine);
    ShowState();
    ShowWindow(true);
}

void CElectricCalibrationDlg::TakeScreen(const std::string& reply) {
    if (!m_routine.TakesReplies())
        return;
    platform::Clock::Sleep(kReplyPauseMs);
    if (!HasWindow())
        return;
    m_routine.SetDisplayText(reply);
    Step();
}

void CElectricCalibrationDlg::TakePrintedValue(const std::string& reply) {
    if (!m_routine.TakesReplies())
        return;
    platform::Clock::Sleep(kReplyPauseMs);
    if (HasWindow())
        m_routine.SetPrintedValue(reply);
}

void CElectricCalibrationDlg::Step() {
    m_routine.Step();
    ShowState();
}

void CElectricCalibrationDlg::OnOK() {
    if (m_routine.IsSchedulerMode()) {
        platform::AfxMessageBox(kSchedulerActive, MB_ICONEXCLAMATION);
        return;
    }
    OnCancel();
}

void CElectricCalibrationDlg::OnCancel() {
    m_routine.Abort();
    DestroyWindow();
}

void CElectricCalibrationDlg::BuildWindow(QDialog& dialog) {
    auto* layout = new QVBoxLayout(&dialog);
    auto* steps = new QListWidget(&dialog);
    steps->setObjectName(kStepListName);
    steps->setSelectionMode(QAbstractItemView::NoSelection);
    layout->addWidget(steps);
    auto* screen = new QLabel(&dialog);
    screen->setObjectName(kScreenLabelName);
    layout->addWidget(screen);
    auto* outcome = new QLabel(&dialog);
    outcome->setObjectName(kOutcomeLabelName);
    layout->addWidget(outcome);
    auto* buttons = new QDialogButtonBox(&dialog);
    buttons->addButton(QDialogButtonBox::Ok)->setObjectName(QString::number(IDOK));
    buttons->addButton(QDialogButtonBox::Cancel)->setObjectName(QString::number(IDCANCEL));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog.resize(420, 300);
}

void CElectricCalibrationDlg::ShowState() {
    QDialog* window = Window();
    if (!window)
        return;
    const int routine = m_routine.GetRoutine();
    window->setWindowTitle(ToQt(maintenance::ElectricCalibration::Title(routine)));
    if (auto* steps = window->findChild<QListWidget*>(kStepListName)) {
        steps->clear();
        const int current = static_cast<int>(m_routine.GetPhase());
        int index = 0;
        for (const std::string& text : maintenance::ElectricCalibration::StepTexts(routine)) {
            auto* item = new QListWidgetItem(ToQt(text), steps);
            QFont font = item->font();
            font.setBold(index == current);
            item->setFont(font);
            ++index;
        }
    }
    if (auto* screen = window->findChild<QLabel*>(kScreenLabelName))
        screen->setText(ToQt(m_routine.DisplayText()));
    if (auto* outcome = window->findChild<QLabel*>(kOutcomeLabelName))
        outcome->setText(ToQt(m_routine.Outcome()));
}
