#include "graph/graph_props.h"

namespace graph {

CGraphProps::CGraphProps(COLORREF colour, const std::string& name, bool visible, bool cached,
                         int index, bool ordered, bool duplicates)
    : CPointsCollection(ordered, duplicates),
      m_cached(cached),
      m_colour(colour),
      m_name(name),
      m_visible(visible),
      m_index(index) {}

CGraphProps::CGraphProps(const CGraphProps& other)
    : CPointsCollection(true, false),
      m_cached(other.m_cached),
      m_colour(other.m_colour),
      m_name(other.m_name),
      m_visible(other.m_visible),
      m_index(other.m_index) {}

void CGraphProps::CopyFrom(const CGraphProps& other) {
    m_cached = other.m_cached;
    SetColour(other.m_colour);
    m_name = other.m_name;
    m_visible = other.m_visible;
    m_index = other.m_index;
}

}  // namespace graph
