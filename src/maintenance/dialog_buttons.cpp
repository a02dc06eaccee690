#include "maintenance/dialog_buttons.h"

#include <QBoxLayout>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

#include "platform/win_types.h"
#include "ui/hooked_dialog.h"

namespace maintenance {

void AddStepButtons(QDialog& dialog, QBoxLayout& layout, const std::string& stepText) {
    auto* buttons = new QDialogButtonBox(&dialog);
    buttons->addButton(ui::ToQt(stepText), QDialogButtonBox::AcceptRole)
        ->setObjectName(QString::number(IDOK));
    buttons->addButton(ui::ToQt("Annulla"), QDialogButtonBox::RejectRole)
        ->setObjectName(QString::number(IDCANCEL));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout.addWidget(buttons);
}

}  // namespace maintenance
