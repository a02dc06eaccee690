#include "app/dialogs/wait_get_status_dlg.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/posted_click.h"

CWaitGetStatusDlg::CWaitGetStatusDlg()
    : ModelessDialog(IDD, "KX9Monitor Setup"), m_timers([this](int id) { OnTimer(id); }) {}

CWaitGetStatusDlg::~CWaitGetStatusDlg() {
    m_timers.KillAll();
}

void CWaitGetStatusDlg::OnShowWindow(BOOL show, unsigned) {
    if (!show)
        return;
    m_nStep = 0;
    m_timers.Set(kTimerId, kTickMs);
    SetProgressRange(IDC_PROGRESS, 0, 100);
    SetProgressPos(IDC_PROGRESS, 0);
}

void CWaitGetStatusDlg::OnTimer(int id) {
    if (id == kTimerId)
        Step();
}

void CWaitGetStatusDlg::StepProgress() {
    Step();
}

void CWaitGetStatusDlg::Step() {
    ++m_nStep;
    if (ModelessDialog::StepProgress(IDC_PROGRESS) == 100)
        SetProgressPos(IDC_PROGRESS, 0);
    if (m_nStep > kMaxSteps) {
        m_timers.Kill(kTimerId);
        SetDlgItemText(IDC_TEXT, kTimeoutText);
    }
}

void CWaitGetStatusDlg::OnCancel() {
    m_timers.Kill(kTimerId);
    if (m_onCancel)
        m_onCancel();
    EndDialog(IDCANCEL);
}

void CWaitGetStatusDlg::BuildControls(QDialog& dialog) {
    auto* layout = new QVBoxLayout(&dialog);
    auto* text = new QLabel(&dialog);
    text->setObjectName(QString::number(IDC_TEXT));
    text->setAlignment(Qt::AlignCenter);
    text->setMinimumSize(320, 40);
    layout->addWidget(text);
    auto* bar = new QProgressBar(&dialog);
    bar->setObjectName(QString::number(IDC_PROGRESS));
    bar->setTextVisible(false);
    layout->addWidget(bar);
    auto* cancel = new QPushButton("Cancel", &dialog);
    cancel->setObjectName(QString::number(IDCANCEL));
    cancel->setAutoDefault(false);
    ui::OnClickedLater(cancel, &dialog, [&dialog] { dialog.reject(); });
    layout->addWidget(cancel, 0, Qt::AlignHCenter);
}
