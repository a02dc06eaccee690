#pragma once
// The report list's window: a list window with the in-place cell editor, an edit box laid over
// the edited cell that takes the list's keys (Tab, Enter, Esc, Up, Down).

#include <QLineEdit>
#include <QPointer>

#include "ui/list_ctrl_widget.h"
#include "ui/report_ctrl.h"

namespace ui {

class ReportListWidget : public ListCtrlWidget {
    Q_OBJECT
public:
    explicit ReportListWidget(CReportCtrl& list, QWidget* parent = nullptr);

    // The edit box, while the list edits a cell; nullptr before the first edit.
    QLineEdit* Editor() const { return m_editor; }

protected:
    void EditorOpened() override;
    void EditorClosed() override;
    void ListDestroyed() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CReportCtrl* m_list;
    QPointer<QLineEdit> m_editor;
};

}  // namespace ui
