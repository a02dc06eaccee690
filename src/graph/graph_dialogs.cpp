#include "graph/graph_dialogs.h"

#include <QAction>
#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "graph/graph_wnd.h"
#include "platform/colors.h"
#include "platform/dialog_parent.h"
#include "platform/text.h"

namespace graph {

namespace {

int Run(QDialog& dialog) {
    return dialog.exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

QDialogButtonBox* AddOkCancel(QBoxLayout* layout, QDialog& dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(IdName(IDOK));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(IdName(IDCANCEL));
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    return buttons;
}

QLineEdit* AddEdit(QFormLayout* form, const char* label, const QString& name,
                   const std::string& text) {
    auto* edit = new QLineEdit(ToQt(text));
    edit->setObjectName(name);
    form->addRow(label, edit);
    return edit;
}

}  // namespace

QString IdName(int id) {
    return QString::number(id);
}

QAction* AddMenuCommand(QMenu& menu, const std::string& text, int id, int check, bool enabled) {
    QAction* action = menu.addAction(ToQt(text));
    action->setData(id);
    action->setObjectName(IdName(id));
    if (check >= 0) {
        action->setCheckable(true);
        action->setChecked(check != 0);
    }
    action->setEnabled(enabled);
    return action;
}

// --- the property sheet

void CGraphPropertySheet::AddPage(QWidget* page, const std::string& title) {
    if (page)
        m_pages.push_back({page, title});
}

int CGraphPropertySheet::RunOnScreen() {
    QDialog dialog(platform::DialogParent());
    dialog.setWindowTitle(ToQt(m_caption));
    auto* layout = new QVBoxLayout(&dialog);
    auto* tabs = new QTabWidget;
    layout->addWidget(tabs);
    for (const Page& page : m_pages) {
        if (auto* withFields = dynamic_cast<CPropertyPage*>(page.widget.data()))
            withFields->UpdateData(false);
        if (page.widget)
            tabs->addTab(page.widget, ToQt(page.title));
    }
    QDialogButtonBox* buttons = AddOkCancel(layout, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        for (const Page& page : m_pages) {
            auto* withFields = dynamic_cast<CPropertyPage*>(page.widget.data());
            if (withFields && !withFields->UpdateData(true)) {
                tabs->setCurrentWidget(withFields);
                return;
            }
        }
        dialog.accept();
    });
    const int result = Run(dialog);
    // The pages go back to their owners before the dialog takes its children with it.
    for (const Page& page : m_pages) {
        if (!page.widget)
            continue;
        page.widget->hide();
        page.widget->setParent(nullptr);
    }
    return result;
}

void RunPropertySheet(QWidget* start, QWidget* first) {
    const QPointer<QWidget> alive(start);
    const QPointer<QWidget> firstAlive(first);
    auto* firstPart = dynamic_cast<CGraphBaseClass*>(first);
    CGraphPropertySheet sheet;
    if (firstPart)
        firstPart->AddPropertyPages(sheet);
    AddPropertyPagesUpwards(start, sheet);
    const int result = sheet.DoModal();
    // A part gives its pages back whatever the result, so each one that is still there is told.
    if (firstPart && firstAlive)
        firstPart->ApplyProperties(result);
    if (!alive)
        return;
    ApplyPropertiesUpwards(start, result);
    if (result == IDOK)
        if (CGraphWnd* graph = FindGraphParent(start))
            graph->RedrawParts(~0u);
}

// --- the context menu

GraphContextMenu::GraphContextMenu(QWidget* clicked, QPoint globalPosition)
    : m_menu(std::make_unique<QMenu>()), m_position(globalPosition) {
    AddContextMenuItemsUpwards(clicked, *m_menu);
}

GraphContextMenu::~GraphContextMenu() = default;

int GraphContextMenu::RunOnScreen() {
    // The menu opens centred on the click.
    m_menu->adjustSize();
    const QPoint at = m_position - QPoint(m_menu->sizeHint().width() / 2, 0);
    const QAction* chosen = m_menu->exec(at);
    return chosen ? chosen->data().toInt() : 0;
}

void ShowGraphContextMenu(QWidget* clicked, QPoint globalPosition) {
    const QPointer<QWidget> alive(clicked);
    GraphContextMenu menu(clicked, globalPosition);
    const int id = menu.DoModal();
    if (alive && id >= kFirstGraphCommand && id <= kLastGraphCommand)
        OnMenuCommandUpwards(clicked, id);
}

// --- small dialogs

int CGraphTitlePrompt::RunOnScreen() {
    QDialog dialog(platform::DialogParent());
    dialog.setWindowTitle("Title");
    auto* layout = new QVBoxLayout(&dialog);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    QLineEdit* title = AddEdit(form, "", IdName(1006), m_strTitle);
    QDialogButtonBox* buttons = AddOkCancel(layout, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        m_strTitle = FromQt(title->text());
        dialog.accept();
    });
    return Run(dialog);
}

int CColorDialog::RunOnScreen() {
    const QColor chosen =
        QColorDialog::getColor(platform::ToQColor(m_color), platform::DialogParent());
    if (!chosen.isValid())
        return IDCANCEL;
    m_color = platform::FromQColor(chosen);
    return IDOK;
}

int CGraphLabelDlg::RunOnScreen() {
    QDialog dialog(platform::DialogParent());
    dialog.setWindowTitle("Label");
    auto* layout = new QVBoxLayout(&dialog);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    QLineEdit* label = AddEdit(form, "Label", "label", m_strLabel);
    QLineEdit* audio = AddEdit(form, "Audio label", "audio", m_strAudioLabel);
    QDialogButtonBox* buttons = AddOkCancel(layout, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        m_strLabel = FromQt(label->text());
        m_strAudioLabel = FromQt(audio->text());
        dialog.accept();
    });
    return Run(dialog);
}

}  // namespace graph
