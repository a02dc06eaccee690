// The custom-settings dialogs on screen: the widgets show the dialog objects' states and hand
// the operator's typing, choices and buttons to their handlers.
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/dialog_parent.h"
#include "setup/custom_settings_dialogs.h"
#include "setup/custom_settings_folder.h"
#include "setup/setup_prop_page.h"

namespace setup {

namespace {

QListWidget* NameList(const std::vector<std::string>& names, int id) {
    auto* list = new QListWidget;
    list->setObjectName(QString::number(id));
    for (const std::string& name : names)
        list->addItem(ToQt(name));
    return list;
}

}  // namespace

int CSaveCustomSettingsDlg::RunOnScreen() {
    QDialog dialog(platform::DialogParent());
    dialog.setWindowTitle("Save custom Setup");
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel("Setup name"));
    auto* name = new QLineEdit(ToQt(m_strName));
    name->setObjectName(QString::number(IDC_SETUP_NAME));
    name->setMaxLength(static_cast<int>(kMaxNameChars));
    layout->addWidget(name);
    layout->addWidget(new QLabel("Setup List"));
    QListWidget* saved = NameList(m_names, IDC_SETUP_LIST);
    saved->setEnabled(false);
    layout->addWidget(saved);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        m_strName = FromQt(name->text());
        if (OnOK())
            dialog.accept();
    });
    return dialog.exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

int CSelCustomSettingDlg::RunOnScreen() {
    QDialog dialog(platform::DialogParent());
    dialog.setWindowTitle("Select Custom Setup");
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel("Custom Setup List"));
    QListWidget* list = NameList(m_names, IDC_SETUP_LIST);
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox;
    QPushButton* load = buttons->addButton("Load Setup", QDialogButtonBox::AcceptRole);
    QPushButton* remove = buttons->addButton("Delete Setup", QDialogButtonBox::ActionRole);
    buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    load->setObjectName(QString::number(IDOK));
    remove->setObjectName(QString::number(IDC_DELETE_SETUP));
    layout->addWidget(buttons);
    const auto showButtons = [&] {
        load->setEnabled(LoadEnabled());
        remove->setEnabled(DeleteEnabled());
    };
    showButtons();
    QObject::connect(list, &QListWidget::currentRowChanged, &dialog, [&](int row) {
        OnSelChangeSetupList(row);
        showButtons();
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(load, &QPushButton::clicked, &dialog, [&] {
        if (OnOK())
            dialog.accept();
    });
    QObject::connect(remove, &QPushButton::clicked, &dialog, [&] {
        if (OnDeleteSetup())
            dialog.accept();
    });
    return dialog.exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

}  // namespace setup
