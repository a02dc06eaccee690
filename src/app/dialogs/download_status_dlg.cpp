#include "app/dialogs/download_status_dlg.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/operator.h"
#include "ui/button_st.h"
#include "ui/posted_click.h"
#include "ui/program_images.h"

CDownloadStatusDlg::CDownloadStatusDlg() : ModelessDialog(IDD, "Download Status") {}

void CDownloadStatusDlg::OnCancelDownload() {
    if (platform::AfxMessageBox("Confirm stop downloading ?", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    if (m_onCancelDownload)
        m_onCancelDownload();
    EndDialog(IDCANCEL);
    DestroyWindow();
}

void CDownloadStatusDlg::BuildControls(QDialog& dialog) {
    auto* layout = new QVBoxLayout(&dialog);
    auto* fields = new QFormLayout;
    auto field = [&](int id, const char* label) {
        auto* edit = new QLineEdit(&dialog);
        edit->setObjectName(QString::number(id));
        edit->setReadOnly(true);
        edit->setFocusPolicy(Qt::NoFocus);
        fields->addRow(label, edit);
    };
    field(IDC_RECORD_NUMBER, "Record Number");
    field(IDC_RECORD_BLOCKS, "Record Blocks");
    auto* bar = new QProgressBar(&dialog);
    bar->setObjectName(QString::number(IDC_PROGRESS));
    bar->setTextVisible(false);
    fields->addRow("Progress", bar);
    layout->addLayout(fields);
    auto* cancel = new ui::CButtonST("Cancel Download", &dialog);
    cancel->setObjectName(QString::number(IDC_CANCEL_DOWNLOAD));
    cancel->SetIcon(ui::IDI_CANCEL_DOWNLOAD);
    cancel->setMinimumSize(160, 40);
    ui::OnClickedLater(cancel, &dialog, [this] { OnCancelDownload(); });
    layout->addWidget(cancel, 0, Qt::AlignHCenter);
    dialog.setMinimumWidth(300);
}
