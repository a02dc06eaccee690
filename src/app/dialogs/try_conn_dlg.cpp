#include "app/dialogs/try_conn_dlg.h"

#include <QLabel>
#include <QVBoxLayout>

CTryConnDlg::CTryConnDlg() : ModelessDialog(IDD, "Connecting to...") {}

void CTryConnDlg::SetText(const std::string& text) {
    m_strText = text;
    SetDlgItemText(IDC_TEXT, text);
}

void CTryConnDlg::OnShowWindow(BOOL show, unsigned) {
    if (!show)
        return;
    SetWindowText("QS4060KRTN_AD");
    SetDlgItemText(IDC_TEXT, m_strText);
}

void CTryConnDlg::BuildControls(QDialog& dialog) {
    auto* layout = new QVBoxLayout(&dialog);
    auto* text = new QLabel(&dialog);
    text->setObjectName(QString::number(IDC_TEXT));
    text->setAlignment(Qt::AlignCenter);
    text->setWordWrap(true);
    text->setMinimumSize(320, 60);
    layout->addWidget(text);
}
