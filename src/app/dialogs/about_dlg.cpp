#include "app/dialogs/about_dlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/program_images.h"

std::unique_ptr<QDialog> CAboutDlg::BuildWindow() {
    auto dialog = std::make_unique<QDialog>();
    dialog->setWindowTitle("KX9Monitor Info");
    auto* layout = new QVBoxLayout(dialog.get());
    auto* row = new QHBoxLayout;
    auto* icon = new QLabel(dialog.get());
    icon->setPixmap(ui::ProgramIcon(ui::IDR_MAINFRAME).pixmap(32, 32));
    row->addWidget(icon, 0, Qt::AlignTop);
    auto* text = new QLabel("KX9Monitor\nQS4060KRTN_VP", dialog.get());
    text->setObjectName("text");
    text->setMinimumWidth(220);
    row->addWidget(text, 1);
    layout->addLayout(row);
    auto* ok = new QPushButton("OK", dialog.get());
    ok->setObjectName(QString::number(IDOK));
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, dialog.get(), &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignRight);
    return dialog;
}

int CAboutDlg::RunOnScreen() {
    const std::unique_ptr<QDialog> dialog = BuildWindow();
    return dialog->exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}
