#include "graph/graph_combo_box.h"

#include <QFontDatabase>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QStyledItemDelegate>

#include "graph/graph_dialogs.h"
#include "graph/graph_props.h"
#include "graph/graph_wnd.h"
#include "platform/colors.h"

namespace graph {

namespace {

constexpr int kSampleInset = 2;
constexpr int kSampleWidth = 20;
constexpr int kNameLeft = 25;
constexpr int kNameTop = 3;

class SeriesItemDelegate : public QStyledItemDelegate {
public:
    explicit SeriesItemDelegate(CGraphComboBox& combo)
        : QStyledItemDelegate(&combo), m_combo(combo) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        DrawSeriesEntry(*painter, option.rect, m_combo.SeriesAt(index.row()),
                        (option.state & QStyle::State_Selected) != 0, option.palette);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        return {option.rect.width(), CGraphComboBox::kItemHeight};
    }

private:
    CGraphComboBox& m_combo;
};

}  // namespace

void DrawSeriesEntry(QPainter& painter, const QRect& rect, const CGraphProps* series, bool selected,
                     const QPalette& palette) {
    painter.save();
    const QColor background =
        selected ? palette.color(QPalette::Highlight) : palette.color(QPalette::Base);
    const QColor text =
        selected ? palette.color(QPalette::HighlightedText) : palette.color(QPalette::Text);
    const QRect filled = selected ? rect.adjusted(1, 1, -1, -1) : rect;
    painter.fillRect(filled, background);
    if (selected) {
        painter.setPen(QPen(text, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
    }
    if (series) {
        const QColor colour = platform::ToQColor(series->GetColour());
        // The sample runs from (left + 2, top + 2) to just before (left + 22, bottom - 2).
        const int bottom = rect.top() + rect.height();
        painter.setPen(QPen(colour, 1));
        painter.setBrush(colour);
        painter.drawRect(rect.left() + kSampleInset, rect.top() + kSampleInset, kSampleWidth - 1,
                         bottom - 2 * kSampleInset - rect.top() - 1);
        painter.setPen(text);
        painter.drawText(QRect(rect.left() + kNameLeft, rect.top() + kNameTop,
                               rect.width() - kNameLeft, rect.height() - kNameTop),
                         Qt::AlignLeft | Qt::AlignVCenter, ToQt(series->GetName()));
    }
    painter.restore();
}

CGraphComboBox::CGraphComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    setItemDelegate(new SeriesItemDelegate(*this));
    setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    setMinimumHeight(kItemHeight + 2 * kSampleInset);
}

int CGraphComboBox::AddSeries(int seriesIndex) {
    addItem(QString(), seriesIndex);
    return count() - 1;
}

int CGraphComboBox::FindSeries(int seriesIndex) const {
    return findData(seriesIndex);
}

int CGraphComboBox::SeriesIndexAt(int item) const {
    const QVariant data = itemData(item);
    return data.isValid() ? data.toInt() : -1;
}

const CGraphProps* CGraphComboBox::SeriesAt(int item) const {
    const CGraphWnd* graph = FindGraphParent(this);
    const int index = SeriesIndexAt(item);
    return graph && index >= 0 ? graph->GetGraph(index) : nullptr;
}

void CGraphComboBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    DrawSeriesEntry(painter, field, SeriesAt(currentIndex()), false, palette());
}

CGraphPropsComboBox::CGraphPropsComboBox(const std::vector<CGraphProps>& copies, QWidget* parent)
    : CGraphComboBox(parent), m_copies(copies) {}

const CGraphProps* CGraphPropsComboBox::SeriesAt(int item) const {
    return item >= 0 && item < static_cast<int>(m_copies.size()) ? &m_copies[item] : nullptr;
}

}  // namespace graph
