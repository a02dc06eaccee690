#include "acquisition/loose_data_dlg.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/win_types.h"
#include "ui/hooked_dialog.h"

namespace acquisition {

CLooseDataDlg::CLooseDataDlg() = default;

CLooseDataDlg::~CLooseDataDlg() {
    ui::DisposeWindow(std::move(m_window));
}

bool CLooseDataDlg::Create(QWidget* parent) {
    if (m_window)
        return true;
    ui::HookedDialog::Hooks hooks;
    hooks.ok = [this] { ShowWindow(false); };
    hooks.cancel = [this] { ShowWindow(false); };
    m_window = std::make_unique<ui::HookedDialog>(std::move(hooks), parent);
    m_window->setWindowTitle("KX9 Monitor");
    m_window->setObjectName(ui::IdName(IDD));
    auto* layout = new QVBoxLayout(m_window.get());
    for (const char* text : {"WARNING:", "Loss data detected."}) {
        auto* label = new QLabel(text, m_window.get());
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
    }
    auto* ok = new QPushButton("OK", m_window.get());
    ok->setObjectName(ui::IdName(IDOK));
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, m_window.get(), &QDialog::accept,
                     Qt::QueuedConnection);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    return true;
}

void CLooseDataDlg::ShowWindow(bool show) {
    if (m_window)
        m_window->setVisible(show);
}

bool CLooseDataDlg::IsWindowVisible() const {
    return m_window && m_window->isVisible();
}

QDialog* CLooseDataDlg::Window() const {
    return m_window.get();
}

void CLooseDataDlg::ShowLoss() {
    Create();
    ShowWindow(true);
}

}  // namespace acquisition
