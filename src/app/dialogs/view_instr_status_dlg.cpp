#include "app/dialogs/view_instr_status_dlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "link/command_codes.h"
#include "ui/posted_click.h"

CViewInstrStatusDlg::CViewInstrStatusDlg(Hooks hooks)
    : ModelessDialog(IDD, "Instrument Status"), m_hooks(std::move(hooks)) {}

std::string CViewInstrStatusDlg::Model() const {
    return m_hooks.modelText ? m_hooks.modelText() : std::string();
}

bool CViewInstrStatusDlg::Downloading() const {
    return m_hooks.isDownloading && m_hooks.isDownloading();
}

void CViewInstrStatusDlg::ShowStatus() {
    ParseInstrStatus(m_strStatusText, Model(), m_fields);
    UpdateControls();
}

void CViewInstrStatusDlg::OnRefresh() {
    EnableItem(IDC_REFRESH, !Downloading());
    // The old replies go too, or the new ones would be read after them.
    m_strStatusText.clear();
    m_fields.display.clear();
    m_fields.autoPowerOff.clear();
    m_fields.acquisition.clear();
    m_fields.integration.clear();
    m_fields.battery.clear();
    m_fields.memory.clear();
    m_fields.information.clear();
    m_fields.slm = m_fields.profile = m_fields.octave = m_fields.thirdOctave = false;
    m_fields.batteryBar = m_fields.memoryBar = 0;
    UpdateControls();
    if (m_hooks.sendCommand)
        for (int code : command_code::kStatusQueries)
            m_hooks.sendCommand(code);
}

void CViewInstrStatusDlg::OnShowWindow(BOOL show, unsigned) {
    if (!show)
        return;
    m_fields.batteryBar = m_fields.memoryBar = 0;
    SetProgressRange(IDC_BATTERY_BAR, 0, 100);
    SetProgressRange(IDC_MEMORY_BAR, 0, 100);
    const RecorderLayout layout = LayoutRecorderArea(Model());
    for (const auto& [name, control] : layout.controls) {
        ShowItem(name, control.visible);
        EnableItem(name, control.enabled);
    }
    SetDlgItemText(IDC_SLM, layout.slmCaption);
    SetDlgItemText(IDC_STATUS_LABEL, layout.statusLabel);
    EnableItem(IDC_REFRESH, !Downloading());
    UpdateControls();
}

void CViewInstrStatusDlg::OnOK() {
    if (m_hooks.onClosed)
        m_hooks.onClosed();
    EndDialog(IDOK);
}

void CViewInstrStatusDlg::UpdateControls() {
    SetDlgItemText(IDC_DISPLAY, m_fields.display);
    SetDlgItemText(IDC_AUTO_POWER_OFF, m_fields.autoPowerOff);
    SetDlgItemText(IDC_ACQUISITION, m_fields.acquisition);
    SetDlgItemText(IDC_INTEGRATION, m_fields.integration);
    SetDlgItemText(IDC_BATTERY, m_fields.battery);
    SetDlgItemText(IDC_MEMORY, m_fields.memory);
    SetDlgItemText(IDC_INFORMATION, m_fields.information);
    SetDlgItemText(IDC_RECORDER, m_fields.recorderCaption);
    SetProgressPos(IDC_BATTERY_BAR, m_fields.batteryBar);
    SetProgressPos(IDC_MEMORY_BAR, m_fields.memoryBar);
    CheckItem(IDC_SLM, m_fields.slm);
    CheckItem(IDC_PROFILE, m_fields.profile);
    CheckItem(IDC_OCTAVE, m_fields.octave);
    CheckItem(IDC_THIRD_OCTAVE, m_fields.thirdOctave);
    CheckItem(IDC_FFT, m_fields.fft);
    CheckItem(IDC_SHORT_LEQ, m_fields.shortLeq);
}

void CViewInstrStatusDlg::BuildControls(QDialog& dialog) {
    auto named = [](QWidget* widget, const QString& name) {
        widget->setObjectName(name);
        return widget;
    };
    auto* layout = new QVBoxLayout(&dialog);
    auto* grid = new QGridLayout;
    int row = 0;
    auto field = [&](const char* label, int id) {
        auto* edit = new QLineEdit(&dialog);
        edit->setReadOnly(true);
        edit->setMinimumWidth(220);
        grid->addWidget(new QLabel(label, &dialog), row, 0);
        grid->addWidget(named(edit, QString::number(id)), row++, 1);
    };
    auto bar = [&](int id) {
        auto* progress = new QProgressBar(&dialog);
        progress->setTextVisible(false);
        progress->setMaximumHeight(12);
        grid->addWidget(named(progress, QString::number(id)), row++, 1);
    };
    field("Display", IDC_DISPLAY);
    field("Auto power-off", IDC_AUTO_POWER_OFF);
    field("Acquisition", IDC_ACQUISITION);
    field("Integration", IDC_INTEGRATION);
    field("Battery", IDC_BATTERY);
    bar(IDC_BATTERY_BAR);
    field("Memory", IDC_MEMORY);
    bar(IDC_MEMORY_BAR);
    layout->addLayout(grid);

    auto* information = new QPlainTextEdit(&dialog);
    information->setReadOnly(true);
    information->setMaximumHeight(64);
    layout->addWidget(named(information, QString::number(IDC_INFORMATION)));

    auto* recorder = new QGroupBox("Recorder", &dialog);
    recorder->setObjectName(QString::number(IDC_RECORDER));
    auto* boxes = new QGridLayout(recorder);
    const struct {
        int box;
        const char* labelName;
        const char* label;
    } columns[] = {
        {IDC_SLM, recorder::kSlmLabel, "SLM"},
        {IDC_PROFILE, recorder::kProfileLabel, "PROF."},
        {IDC_OCTAVE, recorder::kOctaveLabel, "OCT."},
        {IDC_THIRD_OCTAVE, recorder::kThirdOctaveLabel, "TOCT."},
        {IDC_FFT, recorder::kFftLabel, "FFT"},
        {IDC_SHORT_LEQ, recorder::kShortLeqLabel, "SHT LEQ"},
    };
    int column = 0;
    for (const auto& c : columns) {
        auto* label = new QLabel(c.label, recorder);
        label->setAlignment(Qt::AlignCenter);
        boxes->addWidget(named(label, c.labelName), 0, column);
        auto* box = new QCheckBox(recorder);
        // The boxes show what the meter records; the operator does not set them here.
        box->setAttribute(Qt::WA_TransparentForMouseEvents);
        box->setFocusPolicy(Qt::NoFocus);
        boxes->addWidget(named(box, QString::number(c.box)), 1, column++, Qt::AlignCenter);
    }
    auto* status = new QLabel(recorder);
    status->setAlignment(Qt::AlignCenter);
    boxes->addWidget(named(status, QString::number(IDC_STATUS_LABEL)), 2, 0, 1, column);
    layout->addWidget(recorder);

    auto* buttons = new QHBoxLayout;
    auto* refresh = new QPushButton("Refresh", &dialog);
    refresh->setAutoDefault(false);
    ui::OnClickedLater(refresh, &dialog, [this] { OnRefresh(); });
    auto* ok = new QPushButton("OK", &dialog);
    ok->setDefault(true);
    ui::OnClickedLater(ok, &dialog, [&dialog] { dialog.accept(); });
    buttons->addStretch();
    buttons->addWidget(named(refresh, QString::number(IDC_REFRESH)));
    buttons->addWidget(named(ok, QString::number(IDOK)));
    layout->addLayout(buttons);
}
