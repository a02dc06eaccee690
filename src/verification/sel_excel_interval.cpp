#include "verification/sel_excel_interval.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "platform/dialog_parent.h"
#include "ui/hooked_dialog.h"

const std::string& CSelExcelInterval::InstructionsText() {
    static const std::string text =
        "Impostazioni scheda audio\n\n"
        "I toni di prova della verifica periodica sono riprodotti dalla scheda audio del PC.\n\n"
        "1) Collegare l'uscita audio del PC all'ingresso della strumentazione di verifica.\n"
        "2) Impostare il volume di riproduzione al massimo.\n"
        "3) Disattivare effetti, equalizzatori e miglioramenti audio della scheda.\n"
        "4) Chiudere le altre applicazioni che riproducono suoni.\n"
        "5) Disattivare i suoni di sistema durante la verifica.";
    return text;
}

int CSelExcelInterval::RunOnScreen() {
    QDialog dialog(platform::DialogParent());
    dialog.setWindowTitle(ui::ToQt("Impostazioni scheda audio"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* text = new QLabel(ui::ToQt(InstructionsText()), &dialog);
    text->setObjectName(ui::IdName(IDC_TEXT));
    text->setWordWrap(true);
    layout->addWidget(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    layout->addWidget(buttons);
    return dialog.exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}
