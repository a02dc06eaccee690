// The window of the verification bench: the two meter boxes with their value fields, and the
// event log or the latest step.

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "verification/sound_dlg.h"

using ui::IdName;
using ui::ToQt;

namespace {

QGroupBox* MeterBox(const char* title, const std::array<int, 3>& ids) {
    auto* box = new QGroupBox(ToQt(title));
    auto* grid = new QGridLayout(box);
    for (int channel = 0; channel < 3; ++channel) {
        grid->addWidget(new QLabel(QStringLiteral("CH%1").arg(channel + 1)), 0, channel);
        auto* value = new QLineEdit;
        value->setObjectName(IdName(ids[static_cast<size_t>(channel)]));
        value->setReadOnly(true);
        value->setAlignment(Qt::AlignRight);
        grid->addWidget(value, 1, channel);
    }
    return box;
}

}  // namespace

void CSoundDlg::LayOutControls(QDialog& dialog) {
    dialog.setWindowTitle(ToQt("Verifica periodica"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* boxes = new QHBoxLayout;
    boxes->addWidget(MeterBox("MISURA STRUMENTO DI RIFERIMENTO", IDC_REF_VALUES));
    boxes->addWidget(MeterBox("MISURA STRUMENTO DA VERIFICARE", IDC_TARGET_VALUES));
    layout->addLayout(boxes);

    auto* status = new QLabel(&dialog);
    status->setObjectName(kRunStatusName);
    layout->addWidget(status);
    auto* log = new QPlainTextEdit(&dialog);
    log->setObjectName(kEventLogName);
    log->setReadOnly(true);
    log->setMaximumBlockCount(static_cast<int>(kShownLogLines));
    for (const std::string& line : m_eventLog)
        log->appendPlainText(ToQt(line));
    if (!m_eventLog.empty())
        status->setText(ToQt(m_eventLog.back()));
    layout->addWidget(log);
    dialog.resize(640, 420);
}

void CSoundDlg::SyncWindow() {
    QDialog* window = Window();
    if (!window)
        return;
    for (size_t meter = 0; meter < 2; ++meter) {
        const auto& ids = meter == 0 ? IDC_REF_VALUES : IDC_TARGET_VALUES;
        for (size_t channel = 0; channel < 3; ++channel) {
            if (auto* value = window->findChild<QLineEdit*>(IdName(ids[channel])))
                value->setText(ToQt(m_values[meter][channel]));
        }
    }
    if (auto* log = window->findChild<QWidget*>(kEventLogName))
        log->setVisible(m_debugControls);
    if (auto* status = window->findChild<QWidget*>(kRunStatusName))
        status->setVisible(!m_debugControls);
}

void CSoundDlg::AppendToLogControl(const std::string& text) {
    QDialog* window = Window();
    if (!window)
        return;
    if (auto* log = window->findChild<QPlainTextEdit*>(kEventLogName))
        log->appendPlainText(ToQt(text));
    if (auto* status = window->findChild<QLabel*>(kRunStatusName))
        status->setText(ToQt(text));
}
