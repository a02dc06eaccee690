#include "web/form_widgets.h"

#include <QBoxLayout>
#include <QDialog>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

#include "platform/win_types.h"

namespace web::forms {

QString IdName(int id) {
    return QString::number(id);
}

QLineEdit* AddEdit(QFormLayout* layout, const char* label, int id, const std::string& text,
                   int maxLength, bool password) {
    auto* edit = new QLineEdit(ToQt(text));
    edit->setObjectName(IdName(id));
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    if (password)
        edit->setEchoMode(QLineEdit::Password);
    layout->addRow(ToQt(label), edit);
    return edit;
}

QPushButton* AddButton(QBoxLayout* layout, const char* text, int id) {
    auto* button = new QPushButton(ToQt(text));
    button->setObjectName(IdName(id));
    button->setAutoDefault(false);
    layout->addWidget(button);
    return button;
}

QPushButton* AddOkCancel(QBoxLayout* layout, QDialog& dialog, bool withCancel) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    QPushButton* ok = AddButton(row, "OK", IDOK);
    ok->setDefault(true);
    if (withCancel)
        QObject::connect(AddButton(row, "Annulla", IDCANCEL), &QPushButton::clicked, &dialog,
                         &QDialog::reject);
    layout->addLayout(row);
    return ok;
}

}  // namespace web::forms
