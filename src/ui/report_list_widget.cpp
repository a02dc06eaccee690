#include "ui/report_list_widget.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "platform/qt_text.h"

namespace ui {

namespace {
constexpr int kImageIndent = 16;

Qt::Alignment EditAlignment(int align) {
    switch (align) {
        case ES_CENTER:
            return Qt::AlignHCenter | Qt::AlignVCenter;
        case ES_RIGHT:
            return Qt::AlignRight | Qt::AlignVCenter;
        default:
            return Qt::AlignLeft | Qt::AlignVCenter;
    }
}
}  // namespace

ReportListWidget::ReportListWidget(CReportCtrl& list, QWidget* parent)
    : ListCtrlWidget(list, parent), m_list(&list) {}

void ReportListWidget::EditorOpened() {
    if (!m_list)
        return;
    if (!m_editor) {
        m_editor = new QLineEdit(viewport());
        m_editor->setObjectName("edit");
        m_editor->installEventFilter(this);
        connect(m_editor, &QLineEdit::textEdited, this, [this](const QString& text) {
            if (m_list)
                m_list->SetEditText(platform::FromQt(text));
        });
    }
    const int row = m_list->GetEditRow();
    const int column = m_list->GetEditColumn();
    const QModelIndex index = m_model.index(row, column);
    scrollTo(index);
    QRect cell = visualRect(index);
    if (column != 0 && m_list->GetSmallImageCount() > 0 && m_list->GetCellImage(row, column) >= 0)
        cell.setLeft(cell.left() + kImageIndent);
    m_editor->setAlignment(EditAlignment(m_list->GetEditAlign()));
    m_editor->setGeometry(cell);
    m_editor->setText(platform::ToQt(m_list->GetEditText()));
    m_editor->show();
    m_editor->selectAll();
    m_editor->setFocus(Qt::OtherFocusReason);
}

void ReportListWidget::EditorClosed() {
    if (!m_editor)
        return;
    const bool hadFocus = m_editor->hasFocus();
    m_editor->hide();
    if (hadFocus)
        setFocus(Qt::OtherFocusReason);
}

void ReportListWidget::ListDestroyed() {
    m_list = nullptr;
    if (m_editor)
        m_editor->hide();
    ListCtrlWidget::ListDestroyed();
}

bool ReportListWidget::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_editor && m_list && event->type() == QEvent::KeyPress) {
        const ListKey key = KeyOf(*static_cast<QKeyEvent*>(event));
        if (key != ListKey::Other && key != ListKey::Space && m_list->PreTranslateKey(key))
            return true;
    }
    return ListCtrlWidget::eventFilter(watched, event);
}

}  // namespace ui
