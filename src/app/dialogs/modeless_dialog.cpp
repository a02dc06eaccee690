#include "app/dialogs/modeless_dialog.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>

#include "platform/qt_text.h"

namespace dialogs {

namespace {
std::string NameOf(int id) {
    return std::to_string(id);
}
}  // namespace

QString ToDisplayText(const std::string& text) {
    QString shown = platform::ToQt(text);
    shown.replace(u'\r', u'\n');
    return shown;
}

// ---- ModelessDialog

ModelessDialog::ModelessDialog(int templateId, std::string caption)
    : m_templateId(templateId), m_caption(std::move(caption)) {}

ui::HookedDialog::Hooks ModelessDialog::WindowHooks() {
    return {.shown = [this] { OnShowWindow(TRUE, 0); },
            .closing = [this] { return OnClose(); },
            .ok = [this] { OnOK(); },
            .cancel = [this] { OnCancel(); },
            .hidden = [this] { OnShowWindow(FALSE, 0); }};
}

void ModelessDialog::BuildWindow(QDialog& window) {
    window.setWindowTitle(platform::ToQt(m_caption));
    BuildControls(window);
    SyncControls();
    OnInitDialog();
}

void ModelessDialog::UpdateWindow() {
    if (QDialog* window = Window())
        window->repaint();
}

void ModelessDialog::EndDialog(int result) {
    if (QDialog* window = Window()) {
        window->setResult(result);
        window->hide();
    }
}

void ModelessDialog::SetWindowText(const std::string& text) {
    m_caption = text;
    if (QDialog* window = Window())
        window->setWindowTitle(platform::ToQt(text));
}

const ModelessDialog::Item* ModelessDialog::Find(const std::string& name) const {
    auto it = m_items.find(name);
    return it == m_items.end() ? nullptr : &it->second;
}

void ModelessDialog::SetDlgItemText(int id, const std::string& text) {
    Item& item = At(NameOf(id));
    item.text = text;
    SyncItem(NameOf(id), item);
}

std::string ModelessDialog::GetDlgItemText(int id) const {
    const Item* item = Find(NameOf(id));
    return item && item->text ? *item->text : std::string();
}

void ModelessDialog::ShowItem(int id, bool show) {
    ShowItem(NameOf(id), show);
}

bool ModelessDialog::IsItemVisible(int id) const {
    return IsItemVisible(NameOf(id));
}

void ModelessDialog::EnableItem(int id, bool enable) {
    EnableItem(NameOf(id), enable);
}

bool ModelessDialog::IsItemEnabled(int id) const {
    return IsItemEnabled(NameOf(id));
}

void ModelessDialog::ShowItem(const std::string& name, bool show) {
    Item& item = At(name);
    item.visible = show;
    SyncItem(name, item);
}

bool ModelessDialog::IsItemVisible(const std::string& name) const {
    const Item* item = Find(name);
    return !item || item->visible.value_or(true);
}

void ModelessDialog::EnableItem(const std::string& name, bool enable) {
    Item& item = At(name);
    item.enabled = enable;
    SyncItem(name, item);
}

bool ModelessDialog::IsItemEnabled(const std::string& name) const {
    const Item* item = Find(name);
    return !item || item->enabled;
}

void ModelessDialog::CheckItem(int id, bool check) {
    Item& item = At(NameOf(id));
    item.checked = check;
    SyncItem(NameOf(id), item);
}

bool ModelessDialog::IsItemChecked(int id) const {
    const Item* item = Find(NameOf(id));
    return item && item->checked;
}

void ModelessDialog::SetProgressRange(int id, int lower, int upper) {
    Item& item = At(NameOf(id));
    if (!item.progress)
        item.progress.emplace();
    item.progress->SetRange(lower, upper);
    SyncItem(NameOf(id), item);
}

void ModelessDialog::SetProgressPos(int id, int pos) {
    Item& item = At(NameOf(id));
    if (!item.progress)
        item.progress.emplace();
    item.progress->SetPos(pos);
    SyncItem(NameOf(id), item);
}

void ModelessDialog::SetProgressStep(int id, int step) {
    Item& item = At(NameOf(id));
    if (!item.progress)
        item.progress.emplace();
    item.progress->SetStep(step);
}

int ModelessDialog::StepProgress(int id) {
    Item& item = At(NameOf(id));
    if (!item.progress)
        item.progress.emplace();
    const int previous = item.progress->StepIt();
    SyncItem(NameOf(id), item);
    return previous;
}

int ModelessDialog::GetProgressPos(int id) const {
    const Item* item = Find(NameOf(id));
    return item && item->progress ? item->progress->Pos() : 0;
}

void ModelessDialog::OnShowWindow(BOOL, unsigned) {}

void ModelessDialog::SyncControls() {
    for (const auto& [name, item] : m_items)
        SyncItem(name, item);
}

void ModelessDialog::SyncItem(const std::string& name, const Item& item) {
    QDialog* window = Window();
    if (!window)
        return;
    QWidget* control = window->findChild<QWidget*>(platform::ToQt(name));
    if (!control)
        return;
    if (item.text) {
        const QString text = ToDisplayText(*item.text);
        if (auto* label = qobject_cast<QLabel*>(control))
            label->setText(text);
        else if (auto* edit = qobject_cast<QLineEdit*>(control))
            edit->setText(text);
        else if (auto* multi = qobject_cast<QPlainTextEdit*>(control))
            multi->setPlainText(text);
        else if (auto* group = qobject_cast<QGroupBox*>(control))
            group->setTitle(text);
        else if (auto* button = qobject_cast<QAbstractButton*>(control))
            button->setText(text);
    }
    if (item.visible)
        control->setVisible(*item.visible);
    control->setEnabled(item.enabled);
    if (auto* button = qobject_cast<QAbstractButton*>(control); button && button->isCheckable())
        button->setChecked(item.checked);
    if (auto* bar = qobject_cast<QProgressBar*>(control); bar && item.progress) {
        bar->setRange(item.progress->Lower(), item.progress->Upper());
        bar->setValue(item.progress->Pos());
    }
}

}  // namespace dialogs
