#include "setup/setup_prop_page.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

#include "platform/text.h"
#include "setup/setup_page.h"

namespace setup {

namespace {

QString IdName(int id) {
    return QString::number(id);
}

bool IsId(const QString& name, int* id) {
    bool number = false;
    *id = name.toInt(&number);
    return number;
}

void ShowList(QComboBox& combo, const ControlState& state) {
    const QSignalBlocker quiet(&combo);
    QStringList entries;
    for (const std::string& entry : state.entries)
        entries << ToQt(entry);
    QStringList shown;
    for (int i = 0; i < combo.count(); ++i)
        shown << combo.itemText(i);
    if (shown != entries) {
        combo.clear();
        combo.addItems(entries);
    }
    combo.setCurrentIndex(state.selected);
}

}  // namespace

CSetupPropPage::CSetupPropPage(SetupPage& model, QWidget* parent)
    : QWidget(parent), m_model(model) {
    setObjectName(ToQt(model.Info().title));
}

void CSetupPropPage::ShowControls() {
    for (const auto& [id, state] : m_model.Controls().Items()) {
        QWidget* widget = findChild<QWidget*>(IdName(id));
        if (!widget)
            continue;
        widget->setVisible(state.shown);
        widget->setEnabled(state.enabled);
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            ShowList(*combo, state);
            continue;
        }
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            const QSignalBlocker quiet(button);
            if (button->isCheckable())
                button->setChecked(state.checked);
        }
        if (!state.text)
            continue;
        const QString text = ToQt(*state.text);
        if (auto* label = qobject_cast<QLabel*>(widget))
            label->setText(text);
        else if (auto* group = qobject_cast<QGroupBox*>(widget))
            group->setTitle(text);
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            button->setText(text);
        else if (auto* edit = qobject_cast<QLineEdit*>(widget))
            edit->setText(text);
    }
}

void CSetupPropPage::TakeControls() {
    PageControls& controls = m_model.Controls();
    for (QWidget* widget : findChildren<QWidget*>()) {
        int id = 0;
        if (!IsId(widget->objectName(), &id))
            continue;
        if (auto* combo = qobject_cast<QComboBox*>(widget))
            controls.Select(id, combo->currentIndex());
        else if (auto* button = qobject_cast<QAbstractButton*>(widget);
                 button && button->isCheckable())
            controls.Check(id, button->isChecked());
        else if (auto* edit = qobject_cast<QLineEdit*>(widget))
            controls.SetText(id, FromQt(edit->text()));
    }
}

void CSetupPropPage::OnChoice(QWidget* control, std::function<void()> rule) {
    auto apply = [this, rule = std::move(rule)] {
        TakeControls();
        rule();
        ShowControls();
    };
    if (auto* combo = qobject_cast<QComboBox*>(control))
        connect(combo, &QComboBox::activated, this, apply);
    else if (auto* button = qobject_cast<QAbstractButton*>(control))
        connect(button, &QAbstractButton::clicked, this, apply);
}

QLabel* CSetupPropPage::NewText(int id) {
    auto* label = new QLabel;
    label->setObjectName(IdName(id));
    // On the line of the control beside it; a text of several lines is placed by its layout.
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

QGroupBox* CSetupPropPage::NewGroup(const std::string& title, int id) {
    auto* group = new QGroupBox(ToQt(title));
    if (id > 0)
        group->setObjectName(IdName(id));
    return group;
}

QComboBox* CSetupPropPage::NewList(int id) {
    auto* combo = new QComboBox;
    combo->setObjectName(IdName(id));
    return combo;
}

}  // namespace setup
