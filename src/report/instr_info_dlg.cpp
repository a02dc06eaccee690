#include "report/instr_info_dlg.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "platform/dialog_parent.h"
#include "platform/qt_text.h"
#include "report/verification_file.h"

CInstrInfoDlg::CInstrInfoDlg() {
    for (const report::LayoutEntry& entry : report::HeaderEntries())
        m_values.emplace_back(entry.key, "");
}

void CInstrInfoDlg::SetValue(const std::string& key, const std::string& value) {
    for (auto& [k, v] : m_values)
        if (k == key)
            v = value;
}

std::string CInstrInfoDlg::Value(const std::string& key) const {
    for (const auto& [k, v] : m_values)
        if (k == key)
            return v;
    return {};
}

int CInstrInfoDlg::RunOnScreen() {
    QDialog dialog(platform::DialogParent());
    dialog.setWindowTitle(platform::ToQt("Scheda dati verifica"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* form = new QFormLayout;
    std::vector<QLineEdit*> edits;
    const std::vector<report::LayoutEntry> entries = report::HeaderEntries();
    for (size_t i = 0; i < entries.size(); ++i) {
        auto* edit = new QLineEdit(platform::ToQt(m_values[i].second));
        edit->setObjectName(entries[i].key);
        form->addRow(platform::ToQt(entries[i].label), edit);
        edits.push_back(edit);
    }
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return IDCANCEL;
    for (size_t i = 0; i < edits.size(); ++i)
        m_values[i].second = platform::FromQt(edits[i]->text());
    return IDOK;
}
