#include "maintenance/electric_calibration_dlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/operator.h"
#include "ui/hooked_dialog.h"

using ui::ToQt;

CElectricCalibrationDlg::CElectricCalibrationDlg(maintenance::ElectricCalibHost& host)
    : m_host(host), m_routine(host) {}

CElectricCalibrationDlg::~CElectricCalibrationDlg() {
    DestroyWindow();
}

QWidget* CElectricCalibrationDlg::Window() const {
    return m_window.get();
}

bool CElectricCalibrationDlg::IsWindowVisible() const {
    return m_window && m_window->isVisible();
}

void CElectricCalibrationDlg::DestroyWindow() {
    if (m_window)
        ui::DisposeWindow(std::move(m_window));
}

void CElectricCalibrationDlg::Open(int routine) {
    if (!m_window) {
        m_window = std::make_unique<ui::HookedDialog>(
            ui::HookedDialog::Hooks{.ok = [this] { OnOK(); }, .cancel = [this] { OnCancel(); }});
        BuildWindow();
    }
    m_routine.Begin(routine);
    ShowState();
    m_window->show();
}

void CElectricCalibrationDlg::Step() {
    m_routine.Step();
    ShowState();
}

void CElectricCalibrationDlg::OnOK() {
    if (m_host.IsSchedulerMode()) {
        platform::AfxMessageBox(kSchedulerActive, MB_ICONEXCLAMATION);
        return;
    }
    OnCancel();
}

void CElectricCalibrationDlg::OnCancel() {
    m_routine.Abort();
    DestroyWindow();
}

void CElectricCalibrationDlg::BuildWindow() {
    QDialog& dialog = *m_window;
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
    if (!m_window)
        return;
    const int routine = m_routine.GetRoutine();
    m_window->setWindowTitle(ToQt(maintenance::ElectricCalibration::Title(routine)));
    if (auto* steps = m_window->findChild<QListWidget*>(kStepListName)) {
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
    if (auto* screen = m_window->findChild<QLabel*>(kScreenLabelName))
        screen->setText(ToQt(m_routine.DisplayText()));
    if (auto* outcome = m_window->findChild<QLabel*>(kOutcomeLabelName))
        outcome->setText(ToQt(m_routine.Outcome()));
}
