#include "ui/hand_book_dlg.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "platform/dialog_parent.h"
#include "platform/files.h"
#include "platform/qt_text.h"

namespace ui {

std::string CHandBookDlg::HandbookPath() const {
    return platform::JoinPath(m_strFolder, kHandbookFile);
}

int CHandBookDlg::Show() {
    const QFileInfo file(platform::SystemNameToQt(HandbookPath()));
    if (!file.isFile() || !file.isReadable()) {
        platform::AfxMessageBox("Manuale non disponibile:\nil file " +
                                    platform::SystemNameToText(HandbookPath()) +
                                    " non e' stato trovato.",
                                MB_OK | MB_ICONEXCLAMATION);
        return IDCANCEL;
    }
    return DoModal();
}

std::unique_ptr<QDialog> CHandBookDlg::BuildWindow() const {
    auto dialog = std::make_unique<QDialog>(platform::DialogParent());
    dialog->setWindowTitle("Handbook");
    auto* layout = new QVBoxLayout(dialog.get());
    auto* browser = new QTextBrowser(dialog.get());
    browser->setObjectName(QString::number(IDC_BROWSER));
    browser->setOpenExternalLinks(true);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    browser->setSource(QUrl::fromLocalFile(platform::SystemNameToQt(HandbookPath())));
    QApplication::restoreOverrideCursor();
    layout->addWidget(browser, 1);
    auto* ok = new QPushButton("OK", dialog.get());
    ok->setObjectName(QString::number(IDOK));
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, dialog.get(), &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignRight);
    dialog->resize(760, 560);
    return dialog;
}

int CHandBookDlg::RunOnScreen() {
    const std::unique_ptr<QDialog> dialog = BuildWindow();
    return dialog->exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

}  // namespace ui
