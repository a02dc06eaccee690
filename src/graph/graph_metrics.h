#pragma once
// The screen's resolution and the measure of ruler texts, which decide the rulers' thickness,
// their tick count and which labels fit. The screen and its fonts answer by default; tests
// give fixed numbers so that layouts do not depend on the machine.

#include <QFont>
#include <string_view>

namespace graph {

class GraphMetrics {
public:
    virtual ~GraphMetrics() = default;
    // Pixels per logical inch, across and down.
    virtual int PixelsPerInchX() const = 0;
    virtual int PixelsPerInchY() const = 0;
    // Width and line height of a text in the ruler font of that height (pixels).
    virtual int TextWidth(std::string_view text, int fontHeight) const = 0;
    virtual int TextHeight(int fontHeight) const = 0;
};

// The ruler font: a proportional serif face of the given pixel height.
QFont RulerFont(int fontHeight);

// The primary screen's resolution and the ruler font's measures.
const GraphMetrics& ScreenMetrics();

}  // namespace graph
