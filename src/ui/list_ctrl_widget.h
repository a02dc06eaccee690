#pragma once
// Shows a list (ListContent) in a table window: its columns, the cells' texts, colours and
// small images, its selection and check boxes. The list itself decides what a click or a key
// does; the window only finds the cell under the pointer and passes it on.

#include <QAbstractTableModel>
#include <QImage>
#include <QTableView>
#include <vector>

#include "ui/list_common.h"

namespace ui {

// The Qt model over a list; the window keeps it in step with the list's changes.
class ListTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ListTableModel(ListContent* content, QObject* parent = nullptr);

    void SetContent(ListContent* content);
    void SetImages(std::vector<QImage> images) { m_images = std::move(images); }
    // Selected rows are drawn as selected (the window has the focus).
    void SetSelectionActive(bool active) { m_selectionActive = active; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void BeginInsert(int first, int last) { beginInsertRows(QModelIndex(), first, last); }
    void EndInsert() { endInsertRows(); }
    void BeginRemove(int first, int last) { beginRemoveRows(QModelIndex(), first, last); }
    void EndRemove() { endRemoveRows(); }
    void BeginReset() { beginResetModel(); }
    void EndReset() { endResetModel(); }
    void RowsChanged(int first, int last);

private:
    QVariant CellColor(const QModelIndex& index, bool background) const;

    ListContent* m_content;
    std::vector<QImage> m_images;
    bool m_selectionActive = false;
};

class ListCtrlWidget : public QTableView, protected ListObserver {
    Q_OBJECT
public:
    // `content` must outlive the window, or tell it that it goes (ListDestroyed).
    explicit ListCtrlWidget(ListContent& content, QWidget* parent = nullptr);
    ~ListCtrlWidget() override;

    void SetImages(std::vector<QImage> images);
    ListContent* Content() const { return m_content; }

signals:
    void listClicked(int row, int column);
    void listRightClicked(int row, int column);
    void listDoubleClicked(int row, int column);

protected:
    // --- ListObserver
    void BeginInsertRows(int first, int last) override { m_model.BeginInsert(first, last); }
    void EndInsertRows() override { m_model.EndInsert(); }
    void BeginRemoveRows(int first, int last) override { m_model.BeginRemove(first, last); }
    void EndRemoveRows() override { m_model.EndRemove(); }
    void BeginReset() override { m_model.BeginReset(); }
    void EndReset() override;
    void RowsChanged(int first, int last) override;
    void EnsureVisible(int row) override;
    void ListDestroyed() override;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

    ListClick ClickAt(const QMouseEvent& event, bool doubleClick) const;
    static ListKey KeyOf(const QKeyEvent& event);

    ListContent* m_content;
    ListTableModel m_model;

private:
    void ApplyLook();
    void ShowSelection(bool active);
};

}  // namespace ui
