#pragma once
// Combo boxes whose entries are series of a graph: each entry shows a sample of the series'
// colour beside its name. CGraphComboBox finds the series in its graph by the index each item
// carries; CGraphPropsComboBox shows the copies that the "Graphs" page edits.

#include <QComboBox>
#include <vector>

#include "graph/graph_base.h"

namespace graph {

class CGraphProps;

class CGraphComboBox : public QComboBox, public CGraphBaseClass {
public:
    static constexpr int kItemHeight = 20;

    explicit CGraphComboBox(QWidget* parent = nullptr);

    // An item for the series of that index; the new item's position.
    int AddSeries(int seriesIndex);
    // The item of that series, or -1.
    int FindSeries(int seriesIndex) const;
    // The series index an item carries, or -1.
    int SeriesIndexAt(int item) const;
    // The series an item shows; nullptr when there is none.
    virtual const CGraphProps* SeriesAt(int item) const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

class CGraphPropsComboBox : public CGraphComboBox {
public:
    // `copies` must outlive the combo box.
    explicit CGraphPropsComboBox(const std::vector<CGraphProps>& copies, QWidget* parent = nullptr);

    // The copy at the item's position.
    const CGraphProps* SeriesAt(int item) const override;

private:
    const std::vector<CGraphProps>& m_copies;
};

// One series entry over `rect`: the background, a colour sample at the left and the name.
void DrawSeriesEntry(QPainter& painter, const QRect& rect, const CGraphProps* series, bool selected,
                     const QPalette& palette);

}  // namespace graph
