#include "ui/list_ctrl_widget.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

#include "platform/colors.h"
#include "platform/qt_text.h"
#include "ui/system_colors.h"

namespace ui {

namespace {
constexpr int kCheckBoxWidth = 20;

Qt::Alignment AlignmentOf(int format) {
    switch (format & LVCFMT_JUSTIFYMASK) {
        case LVCFMT_RIGHT:
            return Qt::AlignRight | Qt::AlignVCenter;
        case LVCFMT_CENTER:
            return Qt::AlignHCenter | Qt::AlignVCenter;
        default:
            return Qt::AlignLeft | Qt::AlignVCenter;
    }
}
}  // namespace

// --- ListTableModel

ListTableModel::ListTableModel(ListContent* content, QObject* parent)
    : QAbstractTableModel(parent), m_content(content) {}

void ListTableModel::SetContent(ListContent* content) {
    beginResetModel();
    m_content = content;
    endResetModel();
}

int ListTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !m_content ? 0 : m_content->RowCount();
}

int ListTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() || !m_content ? 0 : m_content->ColumnCount();
}

QVariant ListTableModel::CellColor(const QModelIndex& index, bool background) const {
    const int row = index.row();
    const int column = index.column();
    if (m_content->IsRowSelected(row)) {
        if (m_selectionActive)
            return platform::ToQColor(
                GetSysColor(background ? COLOR_HIGHLIGHT : COLOR_HIGHLIGHTTEXT));
        if ((m_content->GetStyle() & LVS_SHOWSELALWAYS) && background)
            return platform::ToQColor(GetSysColor(COLOR_3DFACE));
    }
    COLORREF color =
        background ? m_content->CellBkColor(row, column) : m_content->CellTextColor(row, column);
    if (color == CLR_DEFAULT)
        color = GetSysColor(background ? COLOR_WINDOW : COLOR_WINDOWTEXT);
    return platform::ToQColor(color);
}

QVariant ListTableModel::data(const QModelIndex& index, int role) const {
    if (!m_content || !index.isValid() || index.row() >= m_content->RowCount() ||
        index.column() >= m_content->ColumnCount())
        return QVariant();
    switch (role) {
        case Qt::DisplayRole:
            return platform::ToQt(m_content->CellText(index.row(), index.column()));
        case Qt::ForegroundRole:
            return CellColor(index, false);
        case Qt::BackgroundRole:
            return CellColor(index, true);
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(AlignmentOf(m_content->Column(index.column()).format));
        case Qt::DecorationRole: {
            const int image = m_content->CellImage(index.row(), index.column());
            if (image >= 0 && image < static_cast<int>(m_images.size()))
                return m_images[image];
            return QVariant();
        }
        case Qt::CheckStateRole: {
            const int state = index.column() == 0 ? m_content->CheckState(index.row()) : -1;
            if (state < 0)
                return QVariant();
            return state ? Qt::Checked : Qt::Unchecked;
        }
        default:
            return QVariant();
    }
}

QVariant ListTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (!m_content || orientation != Qt::Horizontal || section >= m_content->ColumnCount())
        return QVariant();
    if (role == Qt::DisplayRole)
        return platform::ToQt(m_content->Column(section).heading);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(AlignmentOf(m_content->Column(section).format));
    return QVariant();
}

Qt::ItemFlags ListTableModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled : Qt::NoItemFlags;
}

void ListTableModel::RowsChanged(int first, int last) {
    const int rows = rowCount();
    const int columns = columnCount();
    if (rows == 0 || columns == 0)
        return;
    if (first < 0 || first >= rows)
        first = 0;
    if (last < first || last >= rows)
        last = rows - 1;
    emit dataChanged(index(first, 0), index(last, columns - 1));
}

// --- ListCtrlWidget

ListCtrlWidget::ListCtrlWidget(ListContent& content, QWidget* parent)
    : QTableView(parent), m_content(&content), m_model(&content) {
    setModel(&m_model);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 3);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    content.SetObserver(this);
    ApplyLook();
}

ListCtrlWidget::~ListCtrlWidget() {
    if (m_content)
        m_content->SetObserver(nullptr);
}

void ListCtrlWidget::SetImages(std::vector<QImage> images) {
    m_model.SetImages(std::move(images));
    viewport()->update();
}

void ListCtrlWidget::ApplyLook() {
    if (!m_content)
        return;
    setShowGrid((m_content->GetExtendedStyle() & LVS_EX_GRIDLINES) != 0);
    horizontalHeader()->setVisible((m_content->GetStyle() & LVS_NOCOLUMNHEADER) == 0);
    for (int column = 0; column < m_content->ColumnCount(); ++column)
        horizontalHeader()->resizeSection(column, m_content->Column(column).width);
}

void ListCtrlWidget::EndReset() {
    m_model.EndReset();
    ApplyLook();
}

void ListCtrlWidget::RowsChanged(int first, int last) {
    setShowGrid(m_content && (m_content->GetExtendedStyle() & LVS_EX_GRIDLINES) != 0);
    m_model.RowsChanged(first, last);
}

void ListCtrlWidget::EnsureVisible(int row) {
    scrollTo(m_model.index(row, 0));
}

void ListCtrlWidget::ListDestroyed() {
    m_content = nullptr;
    m_model.SetContent(nullptr);
}

ListClick ListCtrlWidget::ClickAt(const QMouseEvent& event, bool doubleClick) const {
    ListClick click;
    click.doubleClick = doubleClick;
    click.button = event.button() == Qt::RightButton    ? MouseButton::Right
                   : event.button() == Qt::MiddleButton ? MouseButton::Middle
                                                        : MouseButton::Left;
    const QPoint at = event.position().toPoint();
    const QModelIndex index = indexAt(at);
    if (index.isValid()) {
        click.row = index.row();
        click.column = index.column();
        const QRect cell = visualRect(index);
        click.onCheckBox = index.column() == 0 && m_content &&
                           m_content->CheckState(click.row) >= 0 &&
                           at.x() < cell.left() + kCheckBoxWidth;
    } else {
        click.column = columnAt(at.x());
    }
    return click;
}

ListKey ListCtrlWidget::KeyOf(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Tab:
            return ListKey::Tab;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return ListKey::Enter;
        case Qt::Key_Escape:
            return ListKey::Escape;
        case Qt::Key_Up:
            return ListKey::Up;
        case Qt::Key_Down:
            return ListKey::Down;
        case Qt::Key_Space:
            return ListKey::Space;
        default:
            return ListKey::Other;
    }
}

void ListCtrlWidget::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    if (!m_content)
        return;
    const ListClick click = ClickAt(*event, false);
    m_content->OnMouse(click);
    if (click.button == MouseButton::Left)
        emit listClicked(click.row, click.column);
    else if (click.button == MouseButton::Right)
        emit listRightClicked(click.row, click.column);
    event->accept();
}

void ListCtrlWidget::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
}

void ListCtrlWidget::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
}

void ListCtrlWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (!m_content)
        return;
    const ListClick click = ClickAt(*event, true);
    m_content->OnMouse(click);
    if (click.button == MouseButton::Left)
        emit listDoubleClicked(click.row, click.column);
    event->accept();
}

void ListCtrlWidget::keyPressEvent(QKeyEvent* event) {
    if (!m_content) {
        QTableView::keyPressEvent(event);
        return;
    }
    const ListKey key = KeyOf(*event);
    if (m_content->PreTranslateKey(key)) {
        event->accept();
        return;
    }
    if (key == ListKey::Up || key == ListKey::Down) {
        m_content->DefaultKey(key);
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void ListCtrlWidget::ShowSelection(bool active) {
    m_model.SetSelectionActive(active);
    viewport()->update();
}

void ListCtrlWidget::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    ShowSelection(true);
}

void ListCtrlWidget::focusOutEvent(QFocusEvent* event) {
    QTableView::focusOutEvent(event);
    ShowSelection(false);
}

}  // namespace ui
