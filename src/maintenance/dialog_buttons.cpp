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
    QPushButton* step = buttons->addButton(ui::ToQt(stepText), QDialogButtonBox::AcceptRole);
    step->setObjectName(QString::number(IDOK));
    step->setDefault(true);
    // Enter takes the step, also while "Annulla" has the focus (a disabled step button leaves
    // it there): it never cancels the work.
    QPushButton* cancel = buttons->addButton(ui::ToQt("Annulla"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QString::number(IDCANCEL));
    cancel->setAutoDefault(false);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout.addWidget(buttons);
}

}  // namespace maintenance
