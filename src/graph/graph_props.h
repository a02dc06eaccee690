#pragma once
// One series of a graph: its points and how it is shown (colour, name, visibility). The colour
// is a Windows colour value; the painter turns it into a Qt pen.

#include <string>

#include "graph/points_collection.h"
#include "platform/win_types.h"

namespace graph {

class CGraphProps : public CPointsCollection {
public:
    CGraphProps(COLORREF colour, const std::string& name, bool visible, bool cached, int index,
                bool ordered, bool duplicates);
    // A copy without points (ordered, no duplicates), as the "Graphs" page keeps them.
    CGraphProps(const CGraphProps& other);
    CGraphProps& operator=(const CGraphProps&) = delete;
    ~CGraphProps() override = default;

    // Takes the presentation of another series: cache flag, colour, name, visibility, index.
    void CopyFrom(const CGraphProps& other);

    void SetColour(COLORREF colour) { m_colour = colour; }
    COLORREF GetColour() const { return m_colour; }
    void SetName(const std::string& name) { m_name = name; }
    const std::string& GetName() const { return m_name; }
    void SetVisible(bool visible) { m_visible = visible; }
    bool IsVisible() const { return m_visible; }
    // -1 in a graph's own series; in a copy, the index of the series it stands for.
    int GetIndex() const { return m_index; }
    void SetIndex(int index) { m_index = index; }
    // Whether the series keeps its drawing objects between paints.
    bool IsCached() const { return m_cached; }

private:
    bool m_cached;
    COLORREF m_colour;
    std::string m_name;
    bool m_visible;
    int m_index;
};

}  // namespace graph
