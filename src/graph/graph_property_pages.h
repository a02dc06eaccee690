#pragma once
// The pages of a graph's "Properties" sheet: "General" (the panel's range and display options),
// "Axis" (titles, units and precision of both axes) and "Graphs" (each series' visibility,
// name and colour, edited on copies that the graph takes back on OK). Fields are members;
// UpdateData moves them to and from the controls, named by their dialog ids.

#include <string>
#include <vector>

#include "graph/graph_base.h"
#include "graph/graph_dialogs.h"
#include "graph/graph_props.h"
#include "graph/view_range.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace graph {

class CGraphPropsComboBox;
class CGraphWnd;

// A limit as the "General" page shows it: printed with six decimals and cut to `decimals`
// (0 or 1) without rounding, so -3.75 shows as -3 or -3.7.
double CutLimit(double value, int decimals);

class CGraphPropertyPage : public CPropertyPage {
public:
    CGraphPropertyPage();

    // The panel's limits (x cut to whole numbers, y to one decimal) and option bits 2, 4, 8.
    void Fill(const VisibleRange& range, unsigned options);
    // `options` with bits 2, 4 and 8 taken from the three checks.
    unsigned ApplyTo(unsigned options) const;
    bool UpdateData(bool save) override;

    double m_x1 = 0;
    double m_x2 = 0;
    double m_y1 = 0;
    double m_y2 = 0;
    int m_nPointMarks = 0;
    int m_nMouseCoords = 0;
    int m_nAxis = 0;

private:
    QLineEdit* m_edits[4];
    QCheckBox* m_checks[3];
};

class CAxisPropertyPage : public CPropertyPage {
public:
    static constexpr int kMostDecimals = 10;

    CAxisPropertyPage();
    bool UpdateData(bool save) override;

    int m_nXPrecision = 0;
    std::string m_strXTitle;
    std::string m_strXUnit;
    int m_nYPrecision = 0;
    std::string m_strYTitle;
    std::string m_strYUnit;

private:
    QLineEdit* m_xPrecision;
    QLineEdit* m_xTitle;
    QLineEdit* m_xUnit;
    QLineEdit* m_yPrecision;
    QLineEdit* m_yTitle;
    QLineEdit* m_yUnit;
};

class CGraphicsPropertyPage : public CPropertyPage, public CGraphBaseClass {
public:
    // A copy, without points, of every series of the graph in slot order, each knowing its
    // slot.
    explicit CGraphicsPropertyPage(const CGraphWnd& graph);

    const std::vector<CGraphProps>& Copies() const { return m_copies; }
    CGraphPropsComboBox& Combo() const { return *m_combo; }
    // The name of the selected copy, as edit 1002 shows it.
    const std::string& NameText() const { return m_strName; }
    bool UpdateData(bool save) override;

    // The controls' handlers; each does nothing while no copy is selected.
    void OnSelChange();
    void OnHide();
    void OnShowAll();
    void OnColor();
    void OnTitle();

private:
    CGraphProps* Selected();
    void Relabel();

    std::vector<CGraphProps> m_copies;
    std::string m_strName;
    CGraphPropsComboBox* m_combo;
    QPushButton* m_hide;
    QLineEdit* m_name;
};

}  // namespace graph
